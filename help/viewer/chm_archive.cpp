#include "help/viewer/chm_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QtEndian>

#include <chm_lib.h>

namespace tremira::help {

namespace {

std::optional<chmUnitInfo> resolve(chmFile *file, const QString &storedPath) {
    chmUnitInfo unit{};
    const QByteArray path = storedPath.toUtf8();
    if (chm_resolve_object(file, path.constData(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    return unit;
}

// Declared sizes are checked before anything is allocated for them: a stored file lies
// inside the help file.
bool liesInFile(const chmUnitInfo &unit, qint64 fileSize) {
    const auto size = static_cast<LONGUINT64>(fileSize);
    return unit.start <= size && unit.length <= size - unit.start;
}

// chmlib allocates a directory chunk of the size the header claims before reading it: a
// chunk larger than the whole file can only be damage.
bool directoryChunkFits(int descriptor, qint64 fileSize) {
    quint64 directoryOffset = 0;
    quint32 chunkSize = 0;
    constexpr off_t kDirectoryOffsetField = 0x48;  // in the file header
    constexpr off_t kChunkSizeField = 0x10;        // in the directory header
    return ::pread(descriptor, &directoryOffset, sizeof directoryOffset, kDirectoryOffsetField) ==
               sizeof directoryOffset &&
           qFromLittleEndian(directoryOffset) < static_cast<quint64>(fileSize) &&
           ::pread(descriptor, &chunkSize, sizeof chunkSize,
                   static_cast<off_t>(qFromLittleEndian(directoryOffset)) + kChunkSizeField) == sizeof chunkSize &&
           qFromLittleEndian(chunkSize) <= static_cast<quint64>(fileSize);
}

// Compressed files are unpacked from one stored section; chmlib unpacks a section cut short
// into whatever its buffers held, so the whole section must lie inside the file.
bool compressedSectionFits(chmFile *file, qint64 fileSize) {
    const std::optional<chmUnitInfo> section =
        resolve(file, QStringLiteral("::DataSpace/Storage/MSCompressed/Content"));
    return section && liesInFile(*section, fileSize);
}

// A damaged directory can chain its chunks into a loop that chmlib would follow for good:
// the listing stops after far more entries than any help file holds.
constexpr int kMaxDirectoryEntries = 100000;

struct Listing {
    QStringList files;
    int entriesSeen = 0;
};

int collectFile(chmFile *, chmUnitInfo *unit, void *context) {
    auto *listing = static_cast<Listing *>(context);
    if (++listing->entriesSeen > kMaxDirectoryEntries) return CHM_ENUMERATOR_SUCCESS;
    if ((unit->flags & CHM_ENUMERATE_NORMAL) && (unit->flags & CHM_ENUMERATE_FILES))
        listing->files.append(QString::fromUtf8(unit->path));
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

void ChmArchive::Closer::operator()(chmFile *file) const { chm_close(file); }

std::optional<ChmArchive> ChmArchive::open(const QString &fileName) {
    // Non-blocking, and then only a regular file: a pipe named like the help file would
    // otherwise hold the window on open for good.
    const int descriptor = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return std::nullopt;
    struct stat status {};
    chmFile *file = nullptr;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        directoryChunkFits(descriptor, status.st_size)) {
        // chmlib opens by name: this name is the very file just checked, whatever the path holds by now.
        file = chm_open(QByteArray("/proc/self/fd/").append(QByteArray::number(descriptor)).constData());
    }
    ::close(descriptor);
    if (!file) return std::nullopt;
    return ChmArchive(file, status.st_size, compressedSectionFits(file, status.st_size));
}

std::optional<QByteArray> ChmArchive::read(const QString &storedPath) const {
    std::optional<chmUnitInfo> unit = resolve(m_file.get(), storedPath);
    if (!unit || unit->length > static_cast<LONGUINT64>(kMaxEntrySize)) return std::nullopt;
    if (unit->space == CHM_UNCOMPRESSED ? !liesInFile(*unit, m_fileSize) : !m_compressedSectionFits)
        return std::nullopt;
    // Zeroed, and a short read is damage: no byte that did not come from the file is ever used.
    QByteArray content(static_cast<qsizetype>(unit->length), '\0');
    const LONGINT64 got = chm_retrieve_object(m_file.get(), &*unit, reinterpret_cast<unsigned char *>(content.data()),
                                              0, static_cast<LONGINT64>(unit->length));
    if (got != static_cast<LONGINT64>(unit->length)) return std::nullopt;
    return content;
}

bool ChmArchive::contains(const QString &storedPath) const { return resolve(m_file.get(), storedPath).has_value(); }

QStringList ChmArchive::files() const {
    Listing listing;
    chm_enumerate(m_file.get(), CHM_ENUMERATE_ALL, collectFile, &listing);
    return listing.files;
}

}  // namespace tremira::help
