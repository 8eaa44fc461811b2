// Which folder receives report.txt: the program's own when it is writable, else the per-user
// folder in the documents folder, made on the first save with the system's reason on a failure.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

#include "reports/report_file.h"
#include "tests/reports/without_root_rights.h"

namespace tremira::reports {
namespace {

TEST(ReportFolder, ProgramFolderWhenWritableElseTheUsersDocumentsWithoutDoubledSlashes) {
    const QString documents = u"/home/anna/Документы"_qs;
    const struct {
        const char *name;
        QString folder;
        QString expected;
    } cases[] = {
        {"build folder", ReportFolder(u"/work/build/bin"_qs, true, documents), u"/work/build/bin"_qs},
        {"installed program", ReportFolder(u"/usr/bin"_qs, false, documents), documents + u"/Тремира"_qs},
        {"documents with a trailing slash", ReportFolder(u"/usr/bin"_qs, false, u"/home/anna/Documents/"_qs),
         u"/home/anna/Documents/Тремира"_qs},
        {"documents folder is the root", ReportFolder(u"/usr/bin"_qs, false, u"/"_qs), u"/Тремира"_qs},
        {"read-only and no documents folder", ReportFolder(u"/usr/bin"_qs, false, QString()), u"/usr/bin"_qs},
        {"program in the root folder", ReportFilePath(u"/"_qs), u"/report.txt"_qs},
        {"folder with a trailing slash", ReportFilePath(u"/opt/t/"_qs), u"/opt/t/report.txt"_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.folder, c.expected);
    }
}

// Qt names the documents folder from HOME: unset, it gives "//Documents".
TEST(ReportFolder, DocumentsFolderOnlyWithAHomeAndAFullPath) {
    const struct {
        const char *name;
        QString location;
        QString home;
        QString expected;
    } cases[] = {
        {"doubled and trailing slashes", u"/home/anna//Documents/"_qs, u"/home/anna"_qs, u"/home/anna/Documents"_qs},
        {"documents outside the home", u"/data/anna"_qs, u"/home/anna"_qs, u"/data/anna"_qs},
        {"HOME unset", u"//Documents"_qs, u"/"_qs, QString()},
        {"no documents location", QString(), u"/home/anna"_qs, QString()},
        {"relative HOME", u"anna/Documents"_qs, u"anna"_qs, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DocumentsFolder(c.location, c.home), c.expected);
    }
}

void makeFile(const QString &path) { ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly)); }

void makeReadOnlyFolder(const QString &path) {
    ASSERT_TRUE(QDir().mkdir(path));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0555), 0);
}

// The per-user folder is made on the first save; where it cannot be, the box gives the
// system's reason, not a missing folder.
TEST(ReportFolder, MakingTheFolderGivesTheSystemsReason) {
    const QString noRights = u"Нет прав на запись в этот файл или в его папку."_qs;
    const QString notAFolder = u"Часть пути к файлу не папка."_qs;
    const struct {
        const char *name;
        std::function<void(const QDir &root)> prepare;
        const char *folder;     // in root
        bool needsPermissions;  // root must give up its right over permissions
        QString reason;         // empty: made
    } cases[] = {
        {"first save makes the folder and its parents", [](const QDir &) {}, "Documents/Тремира", false, QString()},
        {"the folder is there", [](const QDir &root) { root.mkpath(u"Documents/Тремира"_qs); }, "Documents/Тремира",
         false, QString()},
        {"a file where the documents folder should be",
         [](const QDir &root) { makeFile(root.filePath(u"Documents"_qs)); }, "Documents/Тремира", false, notAFolder},
        {"documents a link to nowhere",
         [](const QDir &root) { QFile::link(root.filePath(u"missing"_qs), root.filePath(u"Documents"_qs)); },
         "Documents/Тремира", false, u"Имя в пути к файлу уже занято."_qs},
        {"a home the user cannot write", [](const QDir &root) { makeReadOnlyFolder(root.filePath(u"home"_qs)); },
         "home/Documents/Тремира", true, noRights},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir temporary;
        const QDir root(temporary.path());
        c.prepare(root);
        const QString folder = root.filePath(QString::fromUtf8(c.folder));
        std::optional<FileWriteError> error;
        {
            const test::WithoutRootsRightOverPermissions withoutRights;
            if (c.needsPermissions && !withoutRights.effective()) {
                std::printf("skipped (cannot give up root's right over permissions here): %s\n", c.name);
                continue;
            }
            error = MakeReportFolder(folder);
        }
        EXPECT_EQ(QFileInfo(folder).isDir(), c.reason.isEmpty());
        if (c.reason.isEmpty()) {
            EXPECT_FALSE(error) << error->reason.toStdString();
        } else {
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->path, folder + u"/report.txt"_qs);
            EXPECT_EQ(error->reason, c.reason);
        }
    }
}

}  // namespace
}  // namespace tremira::reports
