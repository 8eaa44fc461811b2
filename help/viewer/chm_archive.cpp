#include "help/viewer/chm_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QtEndian>

#include "help/viewer/reader/entry_stream.h"

namespace tremira::help {

namespace {

bool isOrdinaryFile(const QString &storedPath) {
    return storedPath.startsWith(QLatin1Char('/')) && !storedPath.startsWith(QLatin1String("/#")) &&
           !storedPath.startsWith(QLatin1String("/$"));
}

// The help file's stored files as the reader writes them; nothing when the reader cannot start,
// fails, crashes or runs out of time.
std::optional<QByteArray> runReader(const QString &readerProgram, int helpFile) {
    QProcess reader;
    reader.setProgram(readerProgram);
    // The very file checked by the caller, whatever its path holds by now.
    reader.setStandardInputFile(QStringLiteral("/proc/self/fd/%1").arg(helpFile));
    reader.setStandardErrorFile(QProcess::nullDevice());
    reader.start(QIODevice::ReadOnly);
    if (!reader.waitForFinished(ChmArchive::kReaderTimeoutMs)) {
        reader.kill();
        reader.waitForFinished();
        return std::nullopt;
    }
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0) return std::nullopt;
    return reader.readAllStandardOutput();
}

}  // namespace

std::optional<ChmArchive> ChmArchive::open(const QString &readerProgram, const QString &fileName) {
    // Non-blocking, and then only a regular file: a pipe named like the help file would
    // otherwise hold the window on open for good.
    const int descriptor = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return std::nullopt;
    struct stat status {};
    std::optional<QByteArray> stream;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) stream = runReader(readerProgram, descriptor);
    ::close(descriptor);
    if (!stream) return std::nullopt;
    return ParseEntryStream(*stream);
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
