#include "reports/report_file.h"

#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "reports/windows1251.h"
#include "tests/reports/file_bytes.h"
#include "tests/reports/run_a.h"
#include "tests/reports/run_a_report.h"
#include "tests/reports/without_root_rights.h"

namespace tremira::reports {
namespace {

using test::ReadBytes;
using test::WithoutRootsRightOverPermissions;
using test::WriteBytes;

void setMode(const QString &path, mode_t mode) { ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0); }

ino_t inodeOf(const QString &path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QStringList entriesOf(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden);
}

// A reason for the box: one Russian sentence, no English words from the system.
void expectRussianReason(const QString &reason) {
    EXPECT_TRUE(reason.contains(QRegularExpression(u"^[А-ЯЁ][^A-Za-z]*\\.$"_qs))) << reason.toStdString();
}

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
    DesignSnapshot snapshot = test::RunA();
    snapshot.Combo1 = u"Медь✓"_qs;
    snapshot.Combo3 = u"Тор😀x"_qs;
    ASSERT_FALSE(SaveReport(m_path, snapshot, test::FixedStamp(), WriteMode::Replace));
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
        QString reason;
    };
    const auto isDirectory = [](const QString &path) { return QFileInfo(path).isDir(); };
    const Case cases[] = {
        {"folder named report.txt",
         [](const QString &folder) {
             QDir(folder).mkdir(u"report.txt"_qs);
             return ReportFilePath(folder);
         },
         isDirectory, u"Это папка, а не файл."_qs},
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
         },
         u"Это не обычный файл, а канал, устройство или сокет."_qs},
        {"missing folder", [](const QString &folder) { return ReportFilePath(folder + u"/missing"_qs); },
         [](const QString &path) { return !QFileInfo::exists(path) && !QFileInfo::exists(QFileInfo(path).path()); },
         u"Папка файла не найдена."_qs},
    };
    for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + (mode == WriteMode::Append ? ", append" : ", replace"));
            QTemporaryDir folder;
            const QString path = c.prepare(folder.path());
            const std::optional<FileWriteError> error = SaveReport(path, test::RunA(), test::FixedStamp(), mode);
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->path, path);
            EXPECT_EQ(error->reason, c.reason);
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
        EXPECT_EQ(error->reason, u"Запись прервалась."_qs);  // the system gave no cause
        EXPECT_EQ(ReadBytes(m_path), old);
        EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}

// The reason comes from the system's error number, in the program's language; a number without
// a text of its own is named with the step that failed.
TEST_F(ReportFile, TheReasonIsRussianForEverySystemErrorAndNamesTheStepOtherwise) {
    for (const int error : {EACCES, EPERM, EROFS, ENOSPC, EDQUOT, EFBIG, EISDIR, ENOENT, ENOTDIR, ENAMETOOLONG, ELOOP,
                            ETXTBSY, EBUSY, EMFILE, ENFILE, EIO, ENXIO, ENODEV}) {
        SCOPED_TRACE(std::strerror(error));
        expectRussianReason(SystemErrorReason(error));
    }
    EXPECT_EQ(SystemErrorReason(ENOSPC), u"На диске не хватает места."_qs);
    EXPECT_TRUE(SystemErrorReason(0).isEmpty());
    EXPECT_TRUE(SystemErrorReason(EINVAL).isEmpty());

    const struct {
        int error;
        QString reason;
    } cases[] = {
        {ENOSPC, u"На диске не хватает места."_qs},
        {EIO, u"Ошибка ввода-вывода на диске."_qs},
        {0, u"Запись прервалась."_qs},
        {EINVAL, u"Запись прервалась (ошибка системы %1)."_qs.arg(EINVAL)},
    };
    for (const auto &c : cases) {
        for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
            SCOPED_TRACE(std::to_string(c.error) + (mode == WriteMode::Append ? ", append" : ", replace"));
            const DeviceWrite failing = [&](QIODevice &, const QByteArray &) -> qint64 {
                errno = c.error;
                return -1;
            };
            const std::optional<FileWriteError> error = WriteReportFile(m_path, test::RunAReportBytes(), mode, failing);
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->reason, c.reason);
        }
    }
}

// The first report stops part-way (a full disk): no file is left behind, not even an empty one.
TEST_F(ReportFile, AFirstSaveThatStopsPartWayLeavesNoFile) {
    const DeviceWrite diskFillsUp = [](QIODevice &device, const QByteArray &bytes) -> qint64 {
        device.write(bytes.left(bytes.size() / 2));
        errno = ENOSPC;
        return -1;
    };
    for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
        SCOPED_TRACE(mode == WriteMode::Append ? "append" : "replace");
        QFile::remove(m_path);
        const std::optional<FileWriteError> error = WriteReportFile(m_path, test::RunAReportBytes(), mode, diskFillsUp);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->reason, u"На диске не хватает места."_qs);
        EXPECT_EQ(entriesOf(m_folder.path()), QStringList());
    }
}

TEST_F(ReportFile, TheFailureBoxNamesTheNativePathAndTheReason) {
    EXPECT_EQ(FileWriteErrorText({u"/opt/tremira/report.txt"_qs, u"Это папка, а не файл."_qs}),
              u"Не удалось записать результат в файл\n/opt/tremira/report.txt\n\nЭто папка, а не файл."_qs);
}

// A folder the user cannot write, with a report.txt the user can: append works, and so must
// replace, without the new file beside the old one that it would normally write first.
class ReadOnlyFolder : public ReportFile {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        if (!m_withoutRights.effective()) GTEST_SKIP() << "cannot give up root's right over permissions here";
    }
    void TearDown() override { ::chmod(QFile::encodeName(m_folder.path()).constData(), 0700); }

    void makeReadOnly() { setMode(m_folder.path(), 0555); }

    WithoutRootsRightOverPermissions m_withoutRights;
};

TEST_F(ReadOnlyFolder, ReplaceRewritesAWritableReportInPlace) {
    const QByteArray longer = test::RunAReportBytes() + test::RunAReportBytes() + "tail";
    const QByteArray shorter("one line\r\n");
    for (const QByteArray &old : {longer, shorter, QByteArray()}) {
        SCOPED_TRACE(old.size());
        setMode(m_folder.path(), 0700);
        WriteBytes(m_path, old);
        const ino_t inode = inodeOf(m_path);
        makeReadOnly();
        ASSERT_FALSE(QFile(m_folder.filePath(u"probe"_qs)).open(QIODevice::WriteOnly));  // the folder stops us

        const std::optional<FileWriteError> error = save(WriteMode::Replace);
        ASSERT_FALSE(error) << error->reason.toStdString();
        EXPECT_EQ(ReadBytes(m_path), test::RunAReportBytes());
        EXPECT_EQ(inodeOf(m_path), inode);
        EXPECT_EQ(entriesOf(m_folder.path()), QStringList{u"report.txt"_qs});
    }
}

TEST_F(ReadOnlyFolder, AppendStillWorks) {
    WriteBytes(m_path, "old\r\n");
    makeReadOnly();
    ASSERT_FALSE(save(WriteMode::Append));
    EXPECT_EQ(ReadBytes(m_path), "old\r\n" + test::RunAReportBytes());
}

// The in-place rewrite fails at its first write (over the old bytes of a longer file; growing a
// shorter one) or at its second (over the old bytes of a shorter file, after it has grown): the
// old content is back byte for byte.
TEST_F(ReadOnlyFolder, AnInPlaceRewriteThatStopsPartWayLeavesTheOldContentByteForByte) {
    const QByteArray longer = test::RunAReportBytes() + test::RunAReportBytes() + "no line end";
    const QByteArray shorter("first\r\nsecond");
    const struct {
        QByteArray old;
        int failingCall;
    } cases[] = {{longer, 1}, {shorter, 1}, {shorter, 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.old.size()) + " old bytes, write " + std::to_string(c.failingCall) + " fails");
        int calls = 0;
        const DeviceWrite stopsPartWay = [&](QIODevice &device, const QByteArray &bytes) -> qint64 {
            if (++calls < c.failingCall) return device.write(bytes);
            device.write(bytes.left(bytes.size() / 2));
            errno = ENOSPC;
            return -1;
        };
        setMode(m_folder.path(), 0700);
        WriteBytes(m_path, c.old);
        makeReadOnly();
        const std::optional<FileWriteError> error =
            WriteReportFile(m_path, test::RunAReportBytes(), WriteMode::Replace, stopsPartWay);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(calls, c.failingCall);
        EXPECT_EQ(error->reason, u"На диске не хватает места."_qs);
        EXPECT_EQ(ReadBytes(m_path), c.old);
        EXPECT_EQ(entriesOf(m_folder.path()), QStringList{u"report.txt"_qs});
    }
}

TEST_F(ReadOnlyFolder, AReadOnlyReportOrNoReportGivesTheReasonAndStaysAsItWas) {
    const QString noRights = u"Нет прав на запись в этот файл или в его папку."_qs;
    for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
        SCOPED_TRACE(mode == WriteMode::Append ? "append" : "replace");
        setMode(m_folder.path(), 0700);
        QFile::remove(m_path);
        makeReadOnly();
        std::optional<FileWriteError> error = save(mode);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->reason, noRights);
        EXPECT_TRUE(entriesOf(m_folder.path()).isEmpty());

        setMode(m_folder.path(), 0700);
        WriteBytes(m_path, "old");
        setMode(m_path, 0444);
        makeReadOnly();
        error = save(mode);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->reason, noRights);
        EXPECT_EQ(ReadBytes(m_path), "old");
        EXPECT_EQ(entriesOf(m_folder.path()), QStringList{u"report.txt"_qs});
    }
}

// A small tmpfs as the report's folder, mounted when the test may mount (root in CI).
class SmallDisk : public ReportFile {
protected:
    void mountDisk(const char *options) {
        m_mountPoint = QFile::encodeName(m_folder.path() + u"/disk"_qs);
        QDir(m_folder.path()).mkdir(u"disk"_qs);
        if (::mount("tmpfs", m_mountPoint.constData(), "tmpfs", 0, options) != 0) {
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

// A real full disk: a tmpfs of two pages.
class FullDisk : public SmallDisk {
protected:
    void SetUp() override { mountDisk("size=8k"); }
};

TEST_F(FullDisk, NoSpaceLeftKeepsTheOldContentByteForByte) {
    // Room for a few hundred bytes more, less than one report.
    const QByteArray old = QByteArray(8192 - 400, 'x') + "\r\n";
    for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
        SCOPED_TRACE(mode == WriteMode::Append ? "append" : "replace");
        WriteBytes(m_path, old);
        const std::optional<FileWriteError> error = save(mode);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->reason, u"На диске не хватает места."_qs);  // not "Неизвестная ошибка"
        EXPECT_EQ(ReadBytes(m_path), old);
        EXPECT_EQ(QDir(QFileInfo(m_path).path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}

TEST_F(FullDisk, NoSpaceForAFirstReportLeavesNoFile) {
    WriteBytes(QFileInfo(m_path).path() + u"/filler"_qs, QByteArray(8192, 'x'));
    for (const WriteMode mode : {WriteMode::Append, WriteMode::Replace}) {
        SCOPED_TRACE(mode == WriteMode::Append ? "append" : "replace");
        QFile::remove(m_path);
        const std::optional<FileWriteError> error = save(mode);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->reason, u"На диске не хватает места."_qs);
        EXPECT_EQ(entriesOf(QFileInfo(m_path).path()), QStringList{u"filler"_qs});
    }
}

// A disk without room for one more file (a tmpfs whose inodes are all taken): no new file can be
// made beside report.txt, so replace rewrites it in place, and where the disk has no room for
// the longer report either, the old content stays byte for byte.
class NoRoomForAnotherFile : public SmallDisk {};

TEST_F(NoRoomForAnotherFile, ReplaceRewritesTheReportInPlace) {
    mountDisk("size=64k,nr_inodes=2");  // the folder and report.txt
    if (IsSkipped()) return;
    WriteBytes(m_path, "old\r\n");
    ASSERT_FALSE(QFile(QFileInfo(m_path).path() + u"/probe"_qs).open(QIODevice::WriteOnly));
    const ino_t inode = inodeOf(m_path);
    const std::optional<FileWriteError> error = save(WriteMode::Replace);
    ASSERT_FALSE(error) << error->reason.toStdString();
    EXPECT_EQ(ReadBytes(m_path), test::RunAReportBytes());
    EXPECT_EQ(inodeOf(m_path), inode);
}

TEST_F(NoRoomForAnotherFile, AndNoRoomForTheLongerReportKeepsTheOldContentByteForByte) {
    mountDisk("size=8k,nr_inodes=3");  // two pages: a file that takes one, and report.txt
    if (IsSkipped()) return;
    WriteBytes(QFileInfo(m_path).path() + u"/filler"_qs, QByteArray(4096, 'x'));
    const QByteArray old("old\r\n");
    WriteBytes(m_path, old);
    ASSERT_EQ(ReadBytes(m_path), old);
    // More than the one page report.txt has: the file cannot grow.
    const std::optional<FileWriteError> error =
        WriteReportFile(m_path, test::RunAReportBytes().repeated(5), WriteMode::Replace);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->reason, u"На диске не хватает места."_qs);
    EXPECT_EQ(ReadBytes(m_path), old);
}

}  // namespace
}  // namespace tremira::reports
