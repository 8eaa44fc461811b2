#include "reports/report_file.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "reports/windows1251.h"
#include "tests/reports/file_bytes.h"
#include "tests/reports/run_a.h"
#include "tests/reports/run_a_report.h"

namespace tremira::reports {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class ReportFile : public ::testing::Test {
protected:
    std::optional<FileWriteError> save(WriteMode mode) {
        return SaveReport(m_path, test::RunA(), test::FixedStamp(), mode);
    }

    QTemporaryDir m_folder;
    QString m_path = ReportFilePath(m_folder.path());
};

TEST_F(ReportFile, AppendCreatesAMissingFileWithOneReport) {
    ASSERT_FALSE(save(WriteMode::Append));
    EXPECT_EQ(ReadBytes(m_path), test::RunAReportBytes());
}

TEST_F(ReportFile, AppendKeepsTheOldContentAndSeparatesReportsByTwoEmptyLines) {
    ASSERT_FALSE(save(WriteMode::Append));
    ASSERT_FALSE(save(WriteMode::Append));
    EXPECT_EQ(ReadBytes(m_path), test::RunAReportBytes() + test::RunAReportBytes());
    EXPECT_TRUE(ReadBytes(m_path).contains(QByteArray(52, '*') + "\r\n\r\n\r\n"));
}

TEST_F(ReportFile, AppendCompletesALastLineWithoutLineEnd) {
    const QByteArray old("first\r\n\xcf\xee\xf1\xeb\xe5\xe4\xed\xff\xff");
    WriteBytes(m_path, old);
    ASSERT_FALSE(save(WriteMode::Append));
    EXPECT_EQ(ReadBytes(m_path), old + test::RunAReportBytes());
}

TEST_F(ReportFile, ReplaceLeavesExactlyOneReport) {
    WriteBytes(m_path, test::RunAReportBytes() + test::RunAReportBytes() + "tail");
    ASSERT_FALSE(save(WriteMode::Replace));
    EXPECT_EQ(ReadBytes(m_path), test::RunAReportBytes());
}

TEST_F(ReportFile, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    DesignSnapshot sheet = test::RunA();
    sheet.Combo1 = u"Медь✓"_qs;
    sheet.Combo3 = u"Тор😀x"_qs;
    ASSERT_FALSE(SaveReport(m_path, sheet, test::FixedStamp(), WriteMode::Replace));
    const QByteArray bytes = ReadBytes(m_path);
    EXPECT_TRUE(bytes.contains(":          \xcc\xe5\xe4\xfc?\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains(":          \xd2\xee\xf0?x\r\n")) << bytes.toStdString();
}

TEST(Windows1251, EncodesOneBytePerCharacter) {
    struct Case {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {u"Медь"_qs, "\xcc\xe5\xe4\xfc"},
        {u"ЁёАЯая"_qs, "\xa8\xb8\xc0\xdf\xe0\xff"},
        {u"I II cm2 (А)"_qs, "I II cm2 (\xc0)"},
        {u"€№"_qs, "\x88\xb9"},
        {u"a✓b"_qs, "a?b"},
        {u"a😀b"_qs, "a?b"},
        {u"\x1a"_qs, "\x1a"},
        {u"漢字"_qs, "??"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::optional<QByteArray> bytes = EncodeWindows1251(c.text);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(bytes->toHex(' ').toStdString(), c.bytes.toHex(' ').toStdString());
    }
}

// Failures that also stop root, for both answers: the box names the file, gives a reason,
// and whatever stood at the path stays as it was.
TEST_F(ReportFile, PathsThatCannotTakeAReportGiveAnErrorAndStayUntouched) {
    struct Case {
        const char *name;
        std::function<QString(const QString &folder)> prepare;  // returns the report path
        std::function<bool(const QString &path)> unchanged;
    };
    const auto isDirectory = [](const QString &path) { return QFileInfo(path).isDir(); };
    const Case cases[] = {
        {"folder named report.txt",
         [](const QString &folder) {
             QDir(folder).mkdir(u"report.txt"_qs);
             return ReportFilePath(folder);
         },
         isDirectory},
        // Opening a pipe for writing would block until a reader comes.
        {"pipe named report.txt",
         [](const QString &folder) {
             const QString path = ReportFilePath(folder);
             ::mkfifo(QFile::encodeName(path).constData(), 0600);
             return path;
         },
         [](const QString &path) {
             struct stat info {};
             return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
         }},
        {"missing folder", [](const QString &folder) { return ReportFilePath(folder + u"/missing"_qs); },
         [](const QString &path) { return !QFileInfo::exists(path) && !QFileInfo::exists(QFileInfo(path).path()); }},
    };
    for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + (mode == WriteMode::Append ? ", append" : ", replace"));
            QTemporaryDir folder;
            const QString path = c.prepare(folder.path());
            const std::optional<FileWriteError> error = SaveReport(path, test::RunA(), test::FixedStamp(), mode);
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->path, path);
            EXPECT_FALSE(error->reason.isEmpty());
            EXPECT_TRUE(c.unchanged(path));
            EXPECT_EQ(QDir(folder.path())
                          .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden)
                          .size(),
                      QFileInfo::exists(QFileInfo(path).path()) ? 1 : 0);
        }
    }
}

TEST_F(ReportFile, AWriteThatStopsPartWayLeavesTheOldContentByteForByte) {
    const QByteArray old = test::RunAReportBytes() + "no line end";
    const DeviceWrite giveUpHalfway = [](QIODevice &device, const QByteArray &bytes) -> qint64 {
        device.write(bytes.left(bytes.size() / 2));
        return -1;
    };
    for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
        SCOPED_TRACE(mode == WriteMode::Append ? "append" : "replace");
        WriteBytes(m_path, old);
        const std::optional<FileWriteError> error =
            WriteReportFile(m_path, test::RunAReportBytes(), mode, giveUpHalfway);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->path, m_path);
        EXPECT_EQ(ReadBytes(m_path), old);
        EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}

// A real full disk: a tmpfs of two pages, mounted when the test may mount (root in CI).
class FullDisk : public ReportFile {
protected:
    void SetUp() override {
        m_mountPoint = QFile::encodeName(m_folder.path() + u"/disk"_qs);
        QDir(m_folder.path()).mkdir(u"disk"_qs);
        if (::mount("tmpfs", m_mountPoint.constData(), "tmpfs", 0, "size=8k") != 0) {
            GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
        }
        m_mounted = true;
        m_path = ReportFilePath(m_folder.path() + u"/disk"_qs);
    }
    void TearDown() override {
        if (m_mounted) ::umount(m_mountPoint.constData());
    }

    QByteArray m_mountPoint;
    bool m_mounted = false;
};

TEST_F(FullDisk, NoSpaceLeftKeepsTheOldContentByteForByte) {
    // Room for a few hundred bytes more, less than one report.
    const QByteArray old = QByteArray(8192 - 400, 'x') + "\r\n";
    for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
        SCOPED_TRACE(mode == WriteMode::Append ? "append" : "replace");
        WriteBytes(m_path, old);
        const std::optional<FileWriteError> error = save(mode);
        ASSERT_TRUE(error.has_value());
        EXPECT_FALSE(error->reason.isEmpty());
        EXPECT_EQ(ReadBytes(m_path), old);
        EXPECT_EQ(QDir(QFileInfo(m_path).path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}

}  // namespace
}  // namespace tremira::reports
