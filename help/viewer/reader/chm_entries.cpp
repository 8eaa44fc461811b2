#include "help/viewer/reader/chm_entries.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chm_lib.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "help/viewer/reader/entry_stream.h"

namespace tremira::help {

namespace {

static_assert(std::endian::native == std::endian::little, "help files and the entry stream are little-endian");

struct ChmCloser {
    void operator()(chmFile *file) const { chm_close(file); }
};
using ChmHandle = std::unique_ptr<chmFile, ChmCloser>;

std::optional<chmUnitInfo> resolve(chmFile *file, const char *storedPath) {
    chmUnitInfo unit{};
    if (chm_resolve_object(file, storedPath, &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    return unit;
}

// Declared sizes are checked before anything is allocated for them: a stored file lies
// inside the help file.
bool liesInFile(const chmUnitInfo &unit, std::uint64_t fileSize) {
    return unit.start <= fileSize && unit.length <= fileSize - unit.start;
}

template <typename Field>
bool readField(int descriptor, std::uint64_t offset, Field &field) {
    return ::pread(descriptor, &field, sizeof field, static_cast<off_t>(offset)) == sizeof field;
}

// chmlib allocates a directory chunk of the size the header claims before reading it: a
// chunk larger than the whole file can only be damage.
bool directoryChunkFits(int descriptor, std::uint64_t fileSize) {
    std::uint64_t directoryOffset = 0;
    std::uint32_t chunkSize = 0;
    constexpr std::uint64_t kDirectoryOffsetField = 0x48;  // in the file header
    constexpr std::uint64_t kChunkSizeField = 0x10;        // in the directory header
    return readField(descriptor, kDirectoryOffsetField, directoryOffset) && directoryOffset < fileSize &&
           readField(descriptor, directoryOffset + kChunkSizeField, chunkSize) && chunkSize <= fileSize;
}

// Compressed files are unpacked from one stored section; chmlib unpacks a section cut short
// into whatever its buffers held, so the whole section must lie inside the file.
bool compressedSectionFits(chmFile *file, std::uint64_t fileSize) {
    const std::optional<chmUnitInfo> section = resolve(file, "::DataSpace/Storage/MSCompressed/Content");
    return section && liesInFile(*section, fileSize);
}

// A damaged directory can chain its chunks into a loop that chmlib would follow for good:
// the listing stops after far more entries than any help file holds.
constexpr int kMaxDirectoryEntries = 100000;

struct Listing {
    std::vector<chmUnitInfo> files;
    int entriesSeen = 0;
};

// Pages and the help file's own "#" and "$" files; neither folders nor the container's "::" files.
int collectFile(chmFile *, chmUnitInfo *unit, void *context) {
    auto *listing = static_cast<Listing *>(context);
    if (++listing->entriesSeen > kMaxDirectoryEntries) return CHM_ENUMERATOR_SUCCESS;
    if ((unit->flags & CHM_ENUMERATE_FILES) && (unit->flags & (CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL)))
        listing->files.push_back(*unit);
    return CHM_ENUMERATOR_CONTINUE;
}

class EntryWriter {
public:
    EntryWriter(chmFile *file, std::uint64_t fileSize, std::FILE *output)
        : m_file(file), m_fileSize(fileSize), m_compressedSectionFits(compressedSectionFits(file, fileSize)),
          m_output(output) {}

    bool write(chmUnitInfo &unit) {
        const std::optional<std::vector<unsigned char>> content = read(unit);
        const std::int64_t length = content ? static_cast<std::int64_t>(content->size()) : kDamagedEntry;
        std::array<char, kEntryLengthBytes> lengthField{};
        std::memcpy(lengthField.data(), &length, lengthField.size());
        return put(unit.path, std::strlen(unit.path) + 1) && put(lengthField.data(), lengthField.size()) &&
               (!content || put(content->data(), content->size()));
    }

private:
    // Nothing when the entry is damaged: a size beyond the file or the caps, or fewer bytes
    // than it claims. The buffer is zeroed, so no byte that did not come from the file is used.
    std::optional<std::vector<unsigned char>> read(chmUnitInfo &unit) {
        if (unit.length > static_cast<LONGUINT64>(kMaxEntrySize) ||
            static_cast<std::int64_t>(unit.length) > kMaxStreamSize - m_written)
            return std::nullopt;
        if (unit.space == CHM_UNCOMPRESSED ? !liesInFile(unit, m_fileSize) : !m_compressedSectionFits)
            return std::nullopt;
        std::vector<unsigned char> content(unit.length);
        const auto length = static_cast<LONGINT64>(unit.length);
        if (chm_retrieve_object(m_file, &unit, content.data(), 0, length) != length) return std::nullopt;
        return content;
    }

    bool put(const void *data, std::size_t size) {
        m_written += static_cast<std::int64_t>(size);
        return std::fwrite(data, 1, size, m_output) == size;
    }

    chmFile *m_file;
    std::uint64_t m_fileSize;
    bool m_compressedSectionFits;
    std::FILE *m_output;
    std::int64_t m_written = 0;
};

}  // namespace

bool WriteEntries(int input, std::FILE *output) {
    struct stat status {};
    if (::fstat(input, &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const auto fileSize = static_cast<std::uint64_t>(status.st_size);
    if (!directoryChunkFits(input, fileSize)) return false;
    // chmlib opens by name: this name is the very file on the descriptor.
    const ChmHandle file(chm_open(("/proc/self/fd/" + std::to_string(input)).c_str()));
    if (!file) return false;
    Listing listing;
    chm_enumerate(file.get(), CHM_ENUMERATE_ALL, collectFile, &listing);
    EntryWriter writer(file.get(), fileSize, output);
    for (chmUnitInfo &unit : listing.files) {
        if (!writer.write(unit)) return false;
    }
    return std::fflush(output) == 0;
}

}  // namespace tremira::help
