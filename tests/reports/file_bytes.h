#pragma once
// Whole-file reads and writes for the tests that check report.txt byte for byte.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace tremira::reports::test {

inline QByteArray ReadBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

}  // namespace tremira::reports::test
