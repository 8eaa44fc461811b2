#include "help/viewer/chm_archive.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "help/viewer/reader/entry_stream.h"

namespace tremira::help {

namespace {

bool isOrdinaryFile(const QString &storedPath) {
    return storedPath.startsWith(QLatin1Char('/')) && !storedPath.startsWith(QLatin1String("/#")) &&
           !storedPath.startsWith(QLatin1String("/$"));
}

// The most an honest reader writes for a help file of `fileSize` bytes. The help compiler packs
// pages and pictures to no less than about a tenth of their size, so 64 times the file leaves
// wide room; the floor of one entry at the reader's cap covers the smallest files. Nothing
// beyond the reader's own cap on its stream is honest at all (the inner cap keeps the product
// in range for a sparse file of any size).
std::int64_t streamLimit(std::int64_t fileSize) {
    constexpr std::int64_t kFloor = kMaxEntrySize;
    constexpr std::int64_t kPerFileByte = 64;
    return std::min(kMaxStreamSize, kFloor + kPerFileByte * std::min(fileSize, kMaxStreamSize));
}

// Runs in the reader between fork and exec. A reader left behind by a program killed while it
// waits would go on unpacking for nobody.
void stopWithProgram(pid_t program) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The program may have died before the line above took hold.
    if (::getppid() != program) ::_exit(EXIT_FAILURE);
}

struct ReaderRun {
    QByteArray stream;
    std::optional<HelpFileFailure> failure;
};

// Why a reader that has ended gives nothing; nothing when it ended well.
std::optional<HelpFileFailure> endingFailure(const QProcess &reader) {
    if (reader.error() == QProcess::FailedToStart) return HelpFileFailure::ReaderNotStarted;
    if (reader.exitStatus() != QProcess::NormalExit) return HelpFileFailure::ReaderCrashed;
    if (reader.exitCode() == kNotAHelpFileStatus) return HelpFileFailure::Damaged;
    if (reader.exitCode() != 0) return HelpFileFailure::ReaderCrashed;
    return std::nullopt;
}

// The help file's stored files as the reader writes them. The wait runs the program's events,
// so that its windows stay responsive; it ends when the reader ends or fails to start, and
// stops the reader once it has written more than `streamLimit` bytes or run out of time.
ReaderRun runReader(const QString &readerProgram, int helpFile, std::int64_t streamLimit) {
    QProcess reader;
    reader.setProgram(readerProgram);
    // The very file checked by the caller, whatever its path holds by now.
    reader.setStandardInputFile(QStringLiteral("/proc/self/fd/%1").arg(helpFile));
    reader.setStandardErrorFile(QProcess::nullDevice());
    reader.setChildProcessModifier([program = ::getpid()] { stopWithProgram(program); });

    ReaderRun run;
    QEventLoop wait;
    QTimer timeout;
    bool ended = false;
    // The first ending counts: a modal window opened meanwhile holds the wait until it closes.
    const auto end = [&run, &reader, &wait, &ended](std::optional<HelpFileFailure> failure) {
        if (std::exchange(ended, true)) return;
        run.failure = failure;
        if (failure) reader.kill();
        wait.quit();
    };
    const auto take = [&run, &reader, streamLimit] {
        run.stream += reader.readAllStandardOutput();
        return run.stream.size() <= streamLimit;
    };
    QObject::connect(&timeout, &QTimer::timeout, &wait, [&end] { end(HelpFileFailure::ReaderTimedOut); });
    QObject::connect(&reader, &QProcess::readyReadStandardOutput, &wait, [&ended, &take, &end] {
        if (!ended && !take()) end(HelpFileFailure::ReaderOverflowed);
    });
    QObject::connect(&reader, &QProcess::finished, &wait, [&end] { end(std::nullopt); });
    QObject::connect(&reader, &QProcess::errorOccurred, &wait, [&end](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) end(std::nullopt);
    });
    timeout.setSingleShot(true);
    timeout.start(ChmArchive::kReaderTimeoutMs);
    reader.start(QIODevice::ReadOnly);
    if (!ended) wait.exec();
    // A wait cut short by the program's end finds the reader still running, as one out of time.
    end(HelpFileFailure::ReaderTimedOut);
    QObject::disconnect(&reader, nullptr, &wait, nullptr);

    if (run.failure) {
        reader.waitForFinished();
        return run;
    }
    run.failure = endingFailure(reader);
    if (!run.failure && !take()) run.failure = HelpFileFailure::ReaderOverflowed;
    return run;
}

}  // namespace

std::optional<ChmArchive> ChmArchive::open(const QString &readerProgram, const QString &fileName,
                                           HelpFileFailure *failure) {
    const auto fail = [failure](HelpFileFailure why) {
        if (failure) *failure = why;
        return std::nullopt;
    };
    // Non-blocking, and then only a regular file: a pipe named like the help file would
    // otherwise hold the window on open for good.
    const int descriptor = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return fail(errno == ENOENT ? HelpFileFailure::Missing : HelpFileFailure::Damaged);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return fail(HelpFileFailure::Damaged);
    }
    const ReaderRun run = runReader(readerProgram, descriptor, streamLimit(status.st_size));
    ::close(descriptor);
    if (run.failure) return fail(*run.failure);
    std::optional<ChmArchive> archive = ParseEntryStream(run.stream);
    if (!archive) return fail(HelpFileFailure::ReaderGarbled);
    return archive;
}

std::optional<ChmArchive> ParseEntryStream(const QByteArray &stream) {
    ChmArchive archive;
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype pathEnd = stream.indexOf('\0', at);
        if (pathEnd < 0 || stream.size() - (pathEnd + 1) < kEntryLengthBytes) return std::nullopt;
        const QString path = QString::fromUtf8(stream.constData() + at, pathEnd - at);
        const qint64 length = qFromLittleEndian<qint64>(stream.constData() + pathEnd + 1);
        at = pathEnd + 1 + kEntryLengthBytes;
        if (length != kDamagedEntry && (length < 0 || length > stream.size() - at)) return std::nullopt;
        std::optional<QByteArray> content;
        if (length != kDamagedEntry) {
            content = stream.mid(at, length);
            at += length;
        }
        if (isOrdinaryFile(path) && !archive.m_entries.contains(path)) archive.m_files.append(path);
        archive.m_entries.insert(path, std::move(content));
    }
    return archive;
}

std::optional<QByteArray> ChmArchive::read(const QString &storedPath) const {
    return m_entries.value(storedPath, std::nullopt);
}

bool ChmArchive::contains(const QString &storedPath) const { return m_entries.contains(storedPath); }

QStringList ChmArchive::files() const { return m_files; }

}  // namespace tremira::help
