// Which folder receives report.txt: the program's own when it is writable, else the per-user
// folder in the documents folder, made on the first save with the system's reason on a failure.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

#include "reports/report_file.h"
#include "tests/reports/without_root_rights.h"

namespace {

using tremira::reports::FileWriteError;

TEST(ReportFolder, ProgramFolderWhenWritableElseTheUsersDocuments) {
    const struct {
        const char *name;
        QString programFolder;
        bool writable;
        QString documents;
        QString expected;
    } cases[] = {
        {"build folder", QStringLiteral("/work/build/bin"), true, QStringLiteral("/home/anna/Документы"),
         QStringLiteral("/work/build/bin")},
        {"portable copy, no documents folder", QStringLiteral("/media/usb/Тремира"), true, QString(),
         QStringLiteral("/media/usb/Тремира")},
        {"installed program", QStringLiteral("/usr/bin"), false, QStringLiteral("/home/anna/Документы"),
         QStringLiteral("/home/anna/Документы/Тремира")},
        {"installed program, documents in English", QStringLiteral("/usr/bin"), false,
         QStringLiteral("/home/anna/Documents"), QStringLiteral("/home/anna/Documents/Тремира")},
        {"read-only folder and no documents folder", QStringLiteral("/usr/bin"), false, QString(),
         QStringLiteral("/usr/bin")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tremira::reports::ReportFolder(c.programFolder, c.writable, c.documents), c.expected);
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
        {"documents in the home", QStringLiteral("/home/anna/Документы"), QStringLiteral("/home/anna"),
         QStringLiteral("/home/anna/Документы")},
        {"doubled and trailing slashes", QStringLiteral("/home/anna//Documents/"), QStringLiteral("/home/anna"),
         QStringLiteral("/home/anna/Documents")},
        {"documents outside the home", QStringLiteral("/data/anna"), QStringLiteral("/home/anna"),
         QStringLiteral("/data/anna")},
        {"HOME unset", QStringLiteral("//Documents"), QStringLiteral("/"), QString()},
        {"no documents location", QString(), QStringLiteral("/home/anna"), QString()},
        {"HOME is the root folder", QStringLiteral("/Documents"), QStringLiteral("/"), QString()},
        {"relative HOME", QStringLiteral("anna/Documents"), QStringLiteral("anna"), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tremira::reports::DocumentsFolder(c.location, c.home), c.expected);
    }
}

TEST(ReportFolder, PathsHaveNoDoubledSlashes) {
    using tremira::reports::ReportFilePath;
    using tremira::reports::ReportFolder;
    const struct {
        const char *name;
        QString path;
        QString expected;
    } cases[] = {
        {"program in the root folder", ReportFilePath(QStringLiteral("/")), QStringLiteral("/report.txt")},
        {"folder with a trailing slash", ReportFilePath(QStringLiteral("/opt/t/")),
         QStringLiteral("/opt/t/report.txt")},
        {"documents folder is the root", ReportFolder(QStringLiteral("/usr/bin"), false, QStringLiteral("/")),
         QStringLiteral("/Тремира")},
        {"documents with a trailing slash",
         ReportFolder(QStringLiteral("/usr/bin"), false, QStringLiteral("/home/anna/Documents/")),
         QStringLiteral("/home/anna/Documents/Тремира")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.path, c.expected);
    }
}

void makeFile(const QString &path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

void makeReadOnlyFolder(const QString &path) {
    ASSERT_TRUE(QDir().mkdir(path));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0555), 0);
}

void makeLink(const QString &target, const QString &link) { ASSERT_TRUE(QFile::link(target, link)); }

// The per-user folder is made on the first save; where it cannot be, the box gives the
// system's reason, not a missing folder.
TEST(ReportFolder, MakingTheFolderGivesTheSystemsReason) {
    const QString noRights = QStringLiteral("Нет прав на запись в этот файл или в его папку.");
    const QString notAFolder = QStringLiteral("Часть пути к файлу не папка.");
    const struct {
        const char *name;
        std::function<void(const QDir &root)> prepare;
        const char *folder;     // in root
        bool needsPermissions;  // root must give up its right over permissions
        QString reason;         // empty: made
    } cases[] = {
        {"first save makes the folder and its parents", [](const QDir &) {}, "Documents/Тремира", false, QString()},
        {"the folder is there", [](const QDir &root) { root.mkpath(QStringLiteral("Documents/Тремира")); },
         "Documents/Тремира", false, QString()},
        {"a file where the documents folder should be",
         [](const QDir &root) { makeFile(root.filePath(QStringLiteral("Documents"))); }, "Documents/Тремира", false,
         notAFolder},
        {"a file where the folder should be",
         [](const QDir &root) {
             root.mkdir(QStringLiteral("Documents"));
             makeFile(root.filePath(QStringLiteral("Documents/Тремира")));
         },
         "Documents/Тремира", false, notAFolder},
        {"documents a link to nowhere",
         [](const QDir &root) {
             makeLink(root.filePath(QStringLiteral("missing")), root.filePath(QStringLiteral("Documents")));
         },
         "Documents/Тремира", false, QStringLiteral("Имя в пути к файлу уже занято.")},
        {"a home the user cannot write",
         [](const QDir &root) { makeReadOnlyFolder(root.filePath(QStringLiteral("home"))); }, "home/Documents/Тремира",
         true, noRights},
        {"documents a link to a system folder",
         [](const QDir &root) {
             makeReadOnlyFolder(root.filePath(QStringLiteral("etc")));
             makeLink(root.filePath(QStringLiteral("etc")), root.filePath(QStringLiteral("Documents")));
         },
         "Documents/Тремира", true, noRights},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir temporary;
        const QDir root(temporary.path());
        c.prepare(root);
        const QString folder = root.filePath(QString::fromUtf8(c.folder));
        std::optional<FileWriteError> error;
        {
            const tremira::reports::test::WithoutRootsRightOverPermissions withoutRights;
            if (c.needsPermissions && !withoutRights.effective()) {
                std::printf("skipped (cannot give up root's right over permissions here): %s\n", c.name);
                continue;
            }
            error = tremira::reports::MakeReportFolder(folder);
        }
        if (c.reason.isEmpty()) {
            EXPECT_FALSE(error) << error->reason.toStdString();
            EXPECT_TRUE(QFileInfo(folder).isDir());
            continue;
        }
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->path, folder + QStringLiteral("/report.txt"));
        EXPECT_EQ(error->reason, c.reason);
        EXPECT_FALSE(QFileInfo(folder).isDir());
    }
}

}  // namespace
