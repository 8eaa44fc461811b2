// Arbitrary bytes through the tremira-calc line reader and result writer. The first two
// bytes choose the size of the reads, of the reader's buffer, of the longest line and of the
// output buffer, so that lines cross block boundaries and the cap in every way; the third
// chooses plain results, results with the design check (--check, bit 0), with the check and
// the winding plan (--plan, bits 0 and 1) or with the welding current, the choke and the heating
// as well (--weld, bits 0, 1 and 2); the rest is the file.

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch/design_lines.h"
#include "app/batch/line_reader.h"
#include "app/batch/utf8_validation.h"
#include "fuzz/fuzz_check.h"

namespace {

using tremira::fuzz::require;

constexpr std::size_t kDesignColumns = 10;
constexpr std::size_t kCheckColumns = 18;
constexpr std::size_t kPlanColumns = 53;
constexpr std::size_t kWeldColumns = 36 + 8 * 18;
constexpr std::size_t kFillPercentColumn = kDesignColumns + 4;
constexpr std::string_view kStatuses[] = {"completed", "refused", "failed", "invalid"};

// The cells of an output line, split at separators outside quoted cells, where a doubled
// quote stands for one.
std::vector<std::string_view> cellsOf(std::string_view line) {
    std::vector<std::string_view> cells;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ';' && !quoted) {
            cells.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    cells.push_back(line.substr(start));
    return cells;
}

// No figure of the check or the plan reads 0 or takes the exponent form, and no fill runs past
// 999 %.
void requirePlausibleCheck(const std::vector<std::string_view> &cells) {
    for (std::size_t column = kDesignColumns; column < cells.size(); ++column) {
        require(cells[column] != "0", "no check figure reads 0");
        require(cells[column].find('E') == std::string_view::npos, "no check figure in exponent form");
    }
    const std::string_view percent = cells[kFillPercentColumn];
    const bool number = !percent.empty() && percent.find_first_not_of("0123456789") == std::string_view::npos;
    require(!number || percent.size() <= 3, "no fill past 999 %");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tremira::batch;
    if (size < 3) return 0;
    const std::size_t pieceSize = std::size_t{data[0]} + 1;
    const std::size_t blockSize = std::size_t{data[1]} + 1;
    const std::size_t flushThreshold = std::size_t{data[1]} * 4;
    const bool withCheck = (data[2] & 1) != 0;
    const bool withPlan = withCheck && (data[2] & 2) != 0;
    const bool withWeld = withPlan && (data[2] & 4) != 0;
    const std::string_view file(reinterpret_cast<const char *>(data + 3), size - 3);

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
        [&](std::string_view) { ++reports; }, flushThreshold,
        withWeld    ? BatchRun::Columns::DesignCheckPlanAndWeld
        : withPlan  ? BatchRun::Columns::DesignCheckAndPlan
        : withCheck ? BatchRun::Columns::DesignAndCheck
                    : BatchRun::Columns::Design);
    run.processSource(reader, "fuzz");
    run.finish();

    require(position == file.size(), "the whole file is read");
    require(IsValidUtf8(output), "the output is UTF-8");
    require(output.starts_with("status;"), "the output starts with the header");
    const std::size_t columns = kDesignColumns + (withCheck ? kCheckColumns : 0) + (withPlan ? kPlanColumns : 0) +
                                (withWeld ? kWeldColumns : 0);
    std::size_t lines = 0;
    std::size_t invalid = 0;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = output.find('\n', start);
        require(end != std::string::npos, "every output line ends in a line feed");
        const std::string_view line(output.data() + start, end - start);
        const std::vector<std::string_view> cells = cellsOf(line);
        require(cells.size() == columns, "every output line has as many columns as the header");
        require(line.find('\r') == std::string_view::npos, "no carriage return in the output");
        if (lines > 0) {
            require(std::find(std::begin(kStatuses), std::end(kStatuses), cells[0]) != std::end(kStatuses),
                    "every result line starts with its status");
            if (cells[0] == "invalid") ++invalid;
            if (withCheck) requirePlausibleCheck(cells);
        }
        ++lines;
        start = end + 1;
    }
    require(reports == invalid, "every bad line is reported");
    require(run.exitStatus() == (invalid > 0 ? 1 : 0), "the exit status follows the bad lines");
    return 0;
}
