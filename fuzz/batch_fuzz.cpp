// Arbitrary bytes through the tremira-calc line reader and result writer. The first two
// bytes choose the size of the reads, of the reader's buffer, of the longest line and of the
// output buffer, so that lines cross block boundaries and the cap in every way; the rest is
// the file.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/batch/design_lines.h"
#include "app/batch/line_reader.h"
#include "app/batch/utf8_validation.h"
#include "fuzz/fuzz_check.h"

// Separators outside quoted cells, where a doubled quote stands for one.
std::size_t separatorsOf(std::string_view line) {
    std::size_t separators = 0;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') quoted = !quoted;
        if (c == ';' && !quoted) ++separators;
    }
    return separators;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tremira::batch;
    using tremira::fuzz::require;
    if (size < 2) return 0;
    const std::size_t pieceSize = std::size_t{data[0]} + 1;
    const std::size_t blockSize = std::size_t{data[1]} + 1;
    const std::size_t flushThreshold = std::size_t{data[1]} * 4;
    const std::string_view file(reinterpret_cast<const char *>(data + 2), size - 2);

    std::size_t position = 0;
    LineReader reader(
        [&](char *buffer, std::size_t room) -> std::ptrdiff_t {
            const std::size_t count = std::min({room, pieceSize, file.size() - position});
            std::copy_n(file.data() + position, count, buffer);
            position += count;
            return static_cast<std::ptrdiff_t>(count);
        },
        blockSize, std::size_t{data[0]} * 2);

    std::string output;
    std::size_t reports = 0;
    BatchRun run(
        [&](std::string_view text) {
            output += text;
            return true;
        },
        [&](std::string_view) { ++reports; }, flushThreshold);
    run.processSource(reader, "fuzz");
    run.finish();

    require(position == file.size(), "the whole file is read");
    require(run.exitStatus() == (run.invalidCount() > 0 ? 1 : 0), "the exit status follows the bad lines");
    require(reports == run.invalidCount(), "every bad line is reported");
    require(IsValidUtf8(output), "the output is UTF-8");
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = output.find('\n', start);
        require(end != std::string::npos, "every output line ends in a line feed");
        const std::string_view line(output.data() + start, end - start);
        require(separatorsOf(line) == 9, "every output line has ten columns");
        require(line.find('\r') == std::string_view::npos, "no carriage return in the output");
        ++lines;
        start = end + 1;
    }
    require(lines == 1 + run.designCount() + run.invalidCount(), "a header and one line per design");
    return 0;
}
