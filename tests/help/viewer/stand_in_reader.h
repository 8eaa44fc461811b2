#pragma once
// Stand-ins for the help reader: shell scripts in a folder of their own, beside the help files
// they are given, and a record of how often they were started.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tremira::testing {

class StandInReader : public ::testing::Test {
protected:
    QString script(const char *name, const QByteArray &body) {
        const QString path = m_folder.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    // A script that notes each start before it runs `body`.
    QString countedScript(const char *name, const QByteArray &body) {
        return script(name, "echo started >> '" + QFile::encodeName(startsFile()) + "'\n" + body);
    }
    int starts() const {
        QFile file(startsFile());
        return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count('\n')) : 0;
    }
    QString helpFile(const QByteArray &content, const QString &name = QStringLiteral("Тремира.chm")) {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QTemporaryDir m_folder;

private:
    QString startsFile() const { return m_folder.filePath(QStringLiteral("starts")); }
};

}  // namespace tremira::testing
