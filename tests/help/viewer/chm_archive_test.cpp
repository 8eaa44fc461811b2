// The help window's side of the help reader: the entry stream it parses, and the reader process
// it runs (stand-in readers here, and the real one for what it says of a file).

#include <signal.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <limits>

#include "help/viewer/chm_archive.h"
#include "help/viewer/reader/entry_stream.h"
#include "tests/help/viewer/stand_in_reader.h"

namespace {

using namespace tremira::help;

QByteArray record(const QByteArray &path, qint64 length, const QByteArray &content = {}) {
    QByteArray bytes = path + '\0';
    bytes.append(kEntryLengthBytes, '\0');
    qToLittleEndian(length, bytes.data() + path.size() + 1);
    return bytes + content;
}

QByteArray entry(const QByteArray &path, const QByteArray &content) { return record(path, content.size(), content); }

const QByteArray kGoodStream = entry("/#SYSTEM", "options") + entry("/obzor.htm", QByteArray("<p>\0a</p>", 9)) +
                               record("/broken.htm", kDamagedEntry) + entry("/$WWKeywordLinks/Property", "") +
                               entry("/style.css", "p {}") + entry("/style.css", "again");

TEST(EntryStream, HoldsEveryRecordAndListsOrdinaryFilesOnceInOrder) {
    const std::optional<ChmArchive> archive = ParseEntryStream(kGoodStream);
    ASSERT_TRUE(archive.has_value());
    EXPECT_EQ(archive->files(), QStringList({"/obzor.htm", "/broken.htm", "/style.css"}));
    EXPECT_EQ(archive->read(QStringLiteral("/#SYSTEM")), QByteArray("options"));
    EXPECT_EQ(archive->read(QStringLiteral("/obzor.htm")), QByteArray("<p>\0a</p>", 9));
    EXPECT_EQ(archive->read(QStringLiteral("/$WWKeywordLinks/Property")), QByteArray(""));
    // A damaged entry is listed and held, but gives nothing.
    EXPECT_TRUE(archive->contains(QStringLiteral("/broken.htm")));
    EXPECT_FALSE(archive->read(QStringLiteral("/broken.htm")).has_value());
    EXPECT_FALSE(archive->contains(QStringLiteral("/missing.htm")));
    EXPECT_TRUE(ParseEntryStream({}).value_or(*archive).files().isEmpty());  // a file without entries
}

TEST(EntryStream, ACutOrMalformedStreamIsRefused) {
    const QByteArray page = entry("/obzor.htm", "<p>text</p>");
    for (const QByteArray &stream :
         {page.left(5), page.left(14), page.chopped(1), page + page.left(3), record("/a.htm", -2),
          record("/a.htm", 1000, "short"), record("/a.htm", std::numeric_limits<qint64>::max(), "x")}) {
        SCOPED_TRACE(stream.toHex().toStdString());
        EXPECT_FALSE(ParseEntryStream(stream).has_value());
    }
}

using tremira::testing::StandInReader;

// The reader gets the file on its standard input and its standard output is the stream.
TEST_F(StandInReader, TheStreamOfAReaderThatSucceedsIsTheFile) {
    const std::optional<ChmArchive> archive = ChmArchive::open(QStringLiteral("/bin/cat"), helpFile(kGoodStream));
    ASSERT_TRUE(archive.has_value());
    EXPECT_EQ(archive->read(QStringLiteral("/style.css")), QByteArray("again"));
}

TEST_F(StandInReader, EachWayAReaderFailsHasItsOwnReason) {
    const QString file = helpFile(kGoodStream);
    const struct {
        const char *name;
        QString reader;
        HelpFileFailure failure;
    } cases[] = {
        {"says the file is not a help file", script("refuses", "exit " + QByteArray::number(kNotAHelpFileStatus)),
         HelpFileFailure::Damaged},
        {"fails after writing", script("fails", "cat; exit 1"), HelpFileFailure::ReaderCrashed},
        {"crashes after writing", script("crashes", "cat; kill -SEGV $$"), HelpFileFailure::ReaderCrashed},
        {"is missing", m_folder.filePath(QStringLiteral("missing")), HelpFileFailure::ReaderNotStarted},
        {"cannot be run", m_folder.path(), HelpFileFailure::ReaderNotStarted},
        {"streams without end", script("streams", "exec cat /dev/zero"), HelpFileFailure::ReaderOverflowed},
        {"ends well after a stream cut short", script("garbles", "printf /obzor.htm"), HelpFileFailure::ReaderGarbled},
    };
    for (const auto &[name, reader, expected] : cases) {
        SCOPED_TRACE(name);
        HelpFileFailure failure = HelpFileFailure::Missing;
        EXPECT_FALSE(ChmArchive::open(reader, file, &failure).has_value());
        EXPECT_EQ(failure, expected);
    }
}

TEST_F(StandInReader, AReaderThatHangsIsStoppedInTime) {
    const QString pidFile = m_folder.filePath(QStringLiteral("pid"));
    const QString reader = script("hangs", "echo $$ > '" + QFile::encodeName(pidFile) + "'; exec sleep 600");
    HelpFileFailure failure = HelpFileFailure::Missing;
    EXPECT_FALSE(ChmArchive::open(reader, helpFile(kGoodStream), &failure).has_value());
    EXPECT_EQ(failure, HelpFileFailure::ReaderTimedOut);
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QDir(QStringLiteral("/proc/") + pid.readAll().trimmed()).exists()) << "the reader still runs";
}

TEST_F(StandInReader, TheHelpReaderSaysWhetherTheFileIsMissingOrNotAHelpFile) {
    const struct {
        const char *name;
        QString file;
        HelpFileFailure failure;
    } cases[] = {
        {"missing", m_folder.filePath(QStringLiteral("нет.chm")), HelpFileFailure::Missing},
        {"not a help file", helpFile("not a help file"), HelpFileFailure::Damaged},
        {"a folder", m_folder.path(), HelpFileFailure::Damaged},
    };
    for (const auto &[name, file, expected] : cases) {
        SCOPED_TRACE(name);
        HelpFileFailure failure = HelpFileFailure::ReaderNotStarted;
        EXPECT_FALSE(ChmArchive::open(QStringLiteral(TREMIRA_HELP_READER), file, &failure).has_value());
        EXPECT_EQ(failure, expected);
    }
}

// A zombie has ended; only its parent has yet to collect it.
bool isRunning(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    const QByteArray fields = status.readAll();
    const qsizetype state = fields.lastIndexOf(')') + 2;
    return state < fields.size() && fields[state] != 'Z' && fields[state] != 'X';
}

TEST_F(StandInReader, AReaderDiesWithTheProgramThatRunsIt) {
    const QString pidFile = m_folder.filePath(QStringLiteral("pid"));
    // The file appears whole, under its name, only once the number is written.
    const QString reader =
        script("waits",
               QFile::encodeName(QStringLiteral("echo $$ > '%1.new'; mv '%1.new' '%1'; exec sleep 600").arg(pidFile)));
    QProcess program;
    program.start(QStringLiteral(TREMIRA_HELP_READER_PARENT), {reader, helpFile(kGoodStream)});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&pidFile] { return QFile::exists(pidFile); }, 60'000)) << "the reader did not start";
    QFile pidText(pidFile);
    ASSERT_TRUE(pidText.open(QIODevice::ReadOnly));
    const qint64 pid = pidText.readAll().trimmed().toLongLong();
    ASSERT_GT(pid, 0);
    program.kill();
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_TRUE(QTest::qWaitFor([pid] { return !isRunning(pid); }, 60'000)) << "the reader still runs";
    if (isRunning(pid)) ::kill(static_cast<pid_t>(pid), SIGKILL);
}

}  // namespace
