#include "help/viewer/reader/chm_entries.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chm_lib.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "help/viewer/reader/entry_stream.h"

namespace tremira::help {

namespace {

static_assert(std::endian::native == std::endian::little, "help files and the entry stream are little-endian");

// While it opens a help file, chmlib divides by the compression window the file claims, and a
// window of less than two bytes ends the process. The help file is opened once in a process of
// its own first: one that does not end well is not a help file.
bool opensWhole(const std::string &name) {
    const pid_t trial = ::fork();
    if (trial == 0) {
        chmFile *file = chm_open(name.c_str());
        if (file) chm_close(file);
        ::_exit(file ? EXIT_SUCCESS : EXIT_FAILURE);
    }
    int status = 0;
    return trial > 0 && ::waitpid(trial, &status, 0) == trial && WIFEXITED(status) &&
           WEXITSTATUS(status) == EXIT_SUCCESS;
}

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

// The bytes of a stored file that is not compressed, read straight from the help file once it
// is known to lie inside it; nothing when it is shorter than `Size`.
template <std::size_t Size>
std::optional<std::array<unsigned char, Size>> storedHeader(chmFile *file, const char *storedPath,
                                                            std::uint64_t fileSize) {
    std::optional<chmUnitInfo> unit = resolve(file, storedPath);
    if (!unit || unit->space != CHM_UNCOMPRESSED || !liesInFile(*unit, fileSize) || unit->length < Size)
        return std::nullopt;
    std::array<unsigned char, Size> bytes{};
    if (chm_retrieve_object(file, &*unit, bytes.data(), 0, Size) != static_cast<LONGINT64>(Size)) return std::nullopt;
    return bytes;
}

template <typename Field, std::size_t Size>
Field fieldAt(const std::array<unsigned char, Size> &bytes, std::size_t offset) {
    Field field{};
    std::memcpy(&field, bytes.data() + offset, sizeof field);
    return field;
}

// The help compiler packs with LZX in frames of 32 KB and a window of 32 KB to 2 MB, a power of
// two. chmlib takes the frame and the window from the help file as they stand and unpacks a
// frame of any other size past the ends of its buffers, so a help file whose compressed section
// claims anything else gives no compressed file at all.
constexpr std::uint64_t kLzxFrame = 0x8000;
constexpr std::uint32_t kSmallestLzxWindow = 0x8000;
constexpr std::uint32_t kLargestLzxWindow = 0x200000;

bool lzxWindowSound(chmFile *file, std::uint64_t fileSize) {
    constexpr std::size_t kControlBytes = 24;  // size, "LZXC", version, reset interval, window, windows per reset
    const auto control = storedHeader<kControlBytes>(file, "::DataSpace/Storage/MSCompressed/ControlData", fileSize);
    if (!control || std::memcmp(control->data() + 4, "LZXC", 4) != 0) return false;
    // Version 2 counts the interval and the window in frames.
    const std::uint32_t unit = fieldAt<std::uint32_t>(*control, 8) == 2 ? kLzxFrame : 1;
    const std::uint64_t window = std::uint64_t{fieldAt<std::uint32_t>(*control, 16)} * unit;
    const std::uint64_t resetInterval = std::uint64_t{fieldAt<std::uint32_t>(*control, 12)} * unit;
    return std::has_single_bit(window) && window >= kSmallestLzxWindow && window <= kLargestLzxWindow &&
           resetInterval > 0 && resetInterval % (window / 2) == 0 && fieldAt<std::uint32_t>(*control, 20) > 0;
}

bool lzxFramesSound(chmFile *file, std::uint64_t fileSize) {
    constexpr const char *kResetTable = "::DataSpace/Storage/MSCompressed/Transform/"
                                        "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
    constexpr std::size_t kResetTableBytes = 0x28;
    const auto table = storedHeader<kResetTableBytes>(file, kResetTable, fileSize);
    if (!table) return false;
    const std::optional<chmUnitInfo> unit = resolve(file, kResetTable);
    const std::uint64_t frames = fieldAt<std::uint32_t>(*table, 4);
    const std::uint64_t offsetsStart = fieldAt<std::uint32_t>(*table, 12);
    return fieldAt<std::uint64_t>(*table, 32) == kLzxFrame && offsetsStart <= unit->length &&
           frames <= (unit->length - offsetsStart) / sizeof(std::uint64_t);
}

// Compressed files are unpacked from one stored section; chmlib unpacks a section cut short
// into whatever its buffers held, so the whole section must lie inside the file.
bool compressedSectionSound(chmFile *file, std::uint64_t fileSize) {
    const std::optional<chmUnitInfo> section = resolve(file, "::DataSpace/Storage/MSCompressed/Content");
    return section && liesInFile(*section, fileSize) && lzxWindowSound(file, fileSize) &&
           lzxFramesSound(file, fileSize);
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
        : m_file(file), m_fileSize(fileSize), m_compressedSectionSound(compressedSectionSound(file, fileSize)),
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
        if (unit.space == CHM_UNCOMPRESSED ? !liesInFile(unit, m_fileSize) : !m_compressedSectionSound)
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
    bool m_compressedSectionSound;
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
    const std::string name = "/proc/self/fd/" + std::to_string(input);
    if (!opensWhole(name)) return false;
    const ChmHandle file(chm_open(name.c_str()));
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
