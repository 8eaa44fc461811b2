#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "help/viewer/file_version.h"

namespace {

using tremira::help::FileVersionOf;

void write(const QString &fileName, const QByteArray &content) {
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(content), content.size());
}

TEST(FileVersion, ChangesWhenTheFileIsWrittenOrReplacedOnly) {
    const struct {
        const char *name;
        std::function<void(const QString &)> change;
        bool same;
    } cases[] = {
        {"read", [](const QString &file) { QFile(file).open(QIODevice::ReadOnly); }, true},
        {"written longer", [](const QString &file) { write(file, "the first text and more"); }, false},
        {"replaced by a file of the same size",
         [](const QString &file) {
             write(file + ".new", "the other text");
             ASSERT_EQ(::rename(QFile::encodeName(file + ".new").constData(), QFile::encodeName(file).constData()), 0);
         },
         false},
        {"removed", [](const QString &file) { QFile::remove(file); }, false},
    };
    for (const auto &[name, change, same] : cases) {
        SCOPED_TRACE(name);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("Тремира.chm"));
        write(file, "the first text");
        const auto before = FileVersionOf(file);
        ASSERT_TRUE(before.has_value());
        change(file);
        EXPECT_EQ(FileVersionOf(file) == before, same);
        EXPECT_EQ(FileVersionOf(file).has_value(), QFile::exists(file));
    }
}

}  // namespace
