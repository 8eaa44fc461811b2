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
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextLayout>
#include <gtest/gtest.h>

#include "reports/windows1251.h"
#include "tests/reports/file_bytes.h"
#include "tests/reports/run_a.h"
#include "tests/reports/run_a_report.h"
#include "tests/reports/without_root_rights.h"

namespace tremira::reports {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const WriteMode kModes[] = {WriteMode::Append, WriteMode::Replace};
const QString kNoSpace = u"На диске не хватает места."_qs;

std::string modeName(WriteMode mode) { return mode == WriteMode::Append ? "append" : "replace"; }

void setMode(const QString &path, mode_t mode) { ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0); }

ino_t inodeOf(const QString &path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QStringList entriesOf(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden);
}

// A write that gives up half-way through its `failing`-th call with the system's `error`.
DeviceWrite stopsPartWay(int &calls, int failing, int error) {
    return [&calls, failing, error](QIODevice &device, const QByteArray &bytes) -> qint64 {
        if (++calls != failing) return device.write(bytes);
        device.write(bytes.left(bytes.size() / 2));
        errno = error;
        return -1;
    };
}

class ReportFile : public ::testing::Test {
protected:
    std::optional<FileWriteError> save(WriteMode mode) {
        return SaveReport(m_path, test::RunA(), test::FixedStamp(), mode);
    }

    QTemporaryDir m_folder;
    QString m_path = ReportFilePath(m_folder.path());
};

TEST_F(ReportFile, AppendAddsTheReportAndReplaceLeavesOnlyIt) {
    const QByteArray report = test::RunAReportBytes();
    const QByteArray unfinished("first\r\n\xcf\xee\xf1\xeb\xe5\xe4\xed\xff\xff");
    const struct {
        const char *name;
        std::optional<QByteArray> old;
        WriteMode mode;
        QByteArray expected;
    } cases[] = {
        {"append to no file", std::nullopt, WriteMode::Append, report},
        {"append after a report", report, WriteMode::Append, report + report},
        {"append after a line without its end", unfinished, WriteMode::Append, unfinished + report},
        {"replace", report + report + "tail", WriteMode::Replace, report},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(m_path);
        if (c.old) WriteBytes(m_path, *c.old);
        ASSERT_FALSE(save(c.mode));
        EXPECT_EQ(ReadBytes(m_path), c.expected);
    }
}

TEST(Windows1251, EncodesOneBytePerCharacterAndAQuestionMarkForOthers) {
    const struct {
        QString text;
        QByteArray bytes;
    } cases[] = {{u"ЁёАЯая"_qs, "\xa8\xb8\xc0\xdf\xe0\xff"},
                 {u"I II cm2 (А)"_qs, "I II cm2 (\xc0)"},
                 {u"€№"_qs, "\x88\xb9"},
                 {u"a✓b"_qs, "a?b"},
                 {u"a😀b"_qs, "a?b"},
                 {u"\x1a"_qs, "\x1a"},
                 {u"漢字"_qs, "??"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(EncodeWindows1251(c.text).value_or("<none>").toHex(' ').toStdString(),
                  c.bytes.toHex(' ').toStdString());
    }
}

// Failures that also stop root, for both answers: the box names the file, gives a reason,
// and whatever stood at the path stays as it was.
TEST(ReportPath, PathsThatCannotTakeAReportGiveAnErrorAndStayUntouched) {
    const struct {
        const char *name;
        std::function<void(const QString &path)> prepare;
        std::function<bool(const QString &path)> unchanged;
        QString reason;
    } cases[] = {
        {"folder named report.txt", [](const QString &path) { QDir().mkdir(path); },
         [](const QString &path) { return QFileInfo(path).isDir(); }, u"Это папка, а не файл."_qs},
        // Opening a pipe for writing would block until a reader comes.
        {"pipe named report.txt", [](const QString &path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); },
         [](const QString &path) {
             struct stat info {};
             return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
         },
         u"Это не обычный файл, а канал, устройство или сокет."_qs},
        {"missing folder", nullptr, [](const QString &path) { return !QFileInfo::exists(QFileInfo(path).path()); },
         u"Папка файла не найдена."_qs},
    };
    for (const WriteMode mode : kModes) {
        for (const auto &c : cases) {
            SCOPED_TRACE(c.name + (", " + modeName(mode)));
            QTemporaryDir folder;
            const QString path = ReportFilePath(folder.path() + (c.prepare ? QString() : u"/missing"_qs));
            if (c.prepare) c.prepare(path);
            const std::optional<FileWriteError> error = SaveReport(path, test::RunA(), test::FixedStamp(), mode);
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->path, path);
            EXPECT_EQ(error->reason, c.reason);
            EXPECT_TRUE(c.unchanged(path));
            EXPECT_EQ(entriesOf(folder.path()).size(), c.prepare ? 1 : 0);
        }
    }
}

// A write that stops part-way leaves the old content byte for byte, and no file where there
// was none. The reason comes from the system's error number, or names the step that failed.
TEST_F(ReportFile, AWriteThatStopsPartWayLeavesTheFileAsItWas) {
    const QByteArray old = test::RunAReportBytes() + "no line end";
    const struct {
        int error;
        QString reason;
    } errors[] = {
        {ENOSPC, kNoSpace},
        {EIO, u"Ошибка ввода-вывода на диске."_qs},
        {0, u"Запись прервалась."_qs},
        {EINVAL, u"Запись прервалась (ошибка системы %1)."_qs.arg(EINVAL)},
    };
    for (const auto &e : errors) {
        for (const WriteMode mode : kModes) {
            for (const bool existed : {true, false}) {
                SCOPED_TRACE(std::to_string(e.error) + ", " + modeName(mode) + (existed ? ", old file" : ", no file"));
                QFile::remove(m_path);
                if (existed) WriteBytes(m_path, old);
                int calls = 0;
                const std::optional<FileWriteError> error =
                    WriteReportFile(m_path, test::RunAReportBytes(), mode, stopsPartWay(calls, 1, e.error));
                ASSERT_TRUE(error.has_value());
                EXPECT_EQ(error->path, m_path);
                EXPECT_EQ(error->reason, e.reason);
                EXPECT_EQ(entriesOf(m_folder.path()), existed ? QStringList{u"report.txt"_qs} : QStringList());
                EXPECT_EQ(ReadBytes(m_path), existed ? old : QByteArray("<unreadable>"));
            }
        }
    }
}

// The system's own texts would come in the language of the C library, not the program's.
TEST(FileWriteError, EverySystemErrorHasARussianReasonAndTheBoxNamesTheNativePath) {
    for (const int error : {EACCES, EPERM, EROFS, ENOSPC, EDQUOT, EFBIG, EISDIR, ENOENT, ENOTDIR, ENAMETOOLONG, ELOOP,
                            ETXTBSY, EBUSY, EMFILE, ENFILE, EIO, ENXIO, ENODEV}) {
        SCOPED_TRACE(std::strerror(error));
        EXPECT_TRUE(SystemErrorReason(error).contains(QRegularExpression(u"^[А-ЯЁ][^A-Za-z]*\\.$"_qs)));
    }
    EXPECT_TRUE(SystemErrorReason(EINVAL).isEmpty());
    EXPECT_EQ(FileWriteErrorText({u"/opt/tremira/report.txt"_qs, u"Это папка, а не файл."_qs}, u"результат"_qs),
              u"Не удалось записать результат в файл\n/opt/tremira/report.txt\n\nЭто папка, а не файл."_qs);
}

// A message box breaks its lines only where its text allows: a name too long for a line may break
// anywhere, so that the whole path shows on lines no wider than the box's.
TEST(FileWriteError, ALongPathWrapsWholeWithinTheBox) {
    const QString path = u"/home/мастер/"_qs + QString(180, u'я') + u".pdf"_qs;
    const QString text = FileWriteErrorText({path, u"Папка файла не найдена."_qs}, u"лист"_qs);
    EXPECT_TRUE(QString(text).remove(QChar(0x200B)).contains(path)) << "the path reads as it was";
    constexpr double kLineWidth = 500;  // pixels, about the widest line of a message box
    QTextLayout layout(QString(text).replace(u'\n', QChar::LineSeparator), QGuiApplication::font());
    QTextOption wrapAtWords;
    wrapAtWords.setWrapMode(QTextOption::WordWrap);  // as a message box wraps
    layout.setTextOption(wrapAtWords);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(kLineWidth);
        EXPECT_LE(line.naturalTextWidth(), kLineWidth) << text.mid(line.textStart(), line.textLength()).toStdString();
    }
    layout.endLayout();
}

// A folder the user cannot write, with a report.txt the user can: append works, and so must
// replace, without the new file beside the old one that it would normally write first.
class ReadOnlyFolder : public ReportFile {
protected:
    void SetUp() override {
        if (!m_withoutRights.effective()) GTEST_SKIP() << "cannot give up root's right over permissions here";
    }
    void TearDown() override { ::chmod(QFile::encodeName(m_folder.path()).constData(), 0700); }

    // The folder as it was, then read-only with `old` in report.txt (none when missing).
    void prepare(const std::optional<QByteArray> &old, mode_t reportMode = 0600) {
        setMode(m_folder.path(), 0700);
        QFile::remove(m_path);
        if (old) {
            WriteBytes(m_path, *old);
            setMode(m_path, reportMode);
        }
        setMode(m_folder.path(), 0555);
        ASSERT_FALSE(QFile(m_folder.filePath(u"probe"_qs)).open(QIODevice::WriteOnly));  // the folder stops us
    }

    test::WithoutRootsRightOverPermissions m_withoutRights;
};

// The in-place rewrite grows a shorter file first, then writes over the old bytes: whichever
// write stops part-way, the old content is back byte for byte.
TEST_F(ReadOnlyFolder, AWritableReportIsRewrittenInPlaceOrKeptByteForByte) {
    const QByteArray report = test::RunAReportBytes();
    const QByteArray longer = report + report + "no line end";
    const QByteArray shorter("first\r\nsecond");
    const struct {
        QByteArray old;
        WriteMode mode;
        int failingWrite;  // 0: none fails
    } cases[] = {
        {longer, WriteMode::Replace, 0},  {shorter, WriteMode::Replace, 0}, {QByteArray(), WriteMode::Replace, 0},
        {shorter, WriteMode::Append, 0},  {longer, WriteMode::Replace, 1},  {shorter, WriteMode::Replace, 1},
        {shorter, WriteMode::Replace, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.old.size()) + " old bytes, " + modeName(c.mode) + ", failing write " +
                     std::to_string(c.failingWrite));
        prepare(c.old);
        const ino_t inode = inodeOf(m_path);
        int calls = 0;
        const std::optional<FileWriteError> error =
            WriteReportFile(m_path, report, c.mode, stopsPartWay(calls, c.failingWrite, ENOSPC));
        if (c.failingWrite == 0) {
            ASSERT_FALSE(error) << error->reason.toStdString();
            EXPECT_EQ(ReadBytes(m_path), (c.mode == WriteMode::Append ? c.old : QByteArray()) + report);
        } else {
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->reason, kNoSpace);
            EXPECT_EQ(ReadBytes(m_path), c.old);
        }
        EXPECT_EQ(inodeOf(m_path), inode);
        EXPECT_EQ(entriesOf(m_folder.path()), QStringList{u"report.txt"_qs});
    }
}

TEST_F(ReadOnlyFolder, AReadOnlyReportOrNoReportGivesTheReasonAndStaysAsItWas) {
    for (const WriteMode mode : kModes) {
        for (const std::optional<QByteArray> &old : {std::optional<QByteArray>(), std::optional<QByteArray>("old")}) {
            SCOPED_TRACE(modeName(mode) + (old ? ", read-only report" : ", no report"));
            prepare(old, 0444);
            const std::optional<FileWriteError> error = save(mode);
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->reason, u"Нет прав на запись в этот файл или в его папку."_qs);
            EXPECT_EQ(entriesOf(m_folder.path()), old ? QStringList{u"report.txt"_qs} : QStringList());
            EXPECT_EQ(ReadBytes(m_path), old.value_or("<unreadable>"));
        }
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
        m_filler = m_folder.path() + u"/disk/filler"_qs;
    }
    void TearDown() override {
        if (m_mounted) ::umount(m_mountPoint.constData());
    }

    QByteArray m_mountPoint;
    bool m_mounted = false;
    QString m_filler;
};

// A real full disk, a tmpfs of two pages: with room for less than one report the old content
// stays byte for byte; with none, no file is left, not even an empty one.
TEST_F(SmallDisk, NoSpaceLeftKeepsTheOldContentOrLeavesNoFile) {
    mountDisk("size=8k");
    if (IsSkipped()) return;
    const QByteArray old = QByteArray(8192 - 400, 'x') + "\r\n";
    for (const WriteMode mode : kModes) {
        for (const bool existed : {true, false}) {
            SCOPED_TRACE(modeName(mode) + (existed ? ", old file" : ", no file"));
            QFile::remove(m_path);
            QFile::remove(m_filler);
            WriteBytes(existed ? m_path : m_filler, existed ? old : QByteArray(8192, 'x'));
            const std::optional<FileWriteError> error = save(mode);
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->reason, kNoSpace);  // not "Неизвестная ошибка"
            EXPECT_EQ(entriesOf(QFileInfo(m_path).path()), QStringList{existed ? u"report.txt"_qs : u"filler"_qs});
            EXPECT_EQ(ReadBytes(m_path), existed ? old : QByteArray("<unreadable>"));
        }
    }
}

}  // namespace
}  // namespace tremira::reports
