#pragma once
// The batch tool's whole output for a few lines read from one file.

#include <string>
#include <string_view>
#include <vector>

#include "app/batch/design_lines.h"

namespace tremira::batch::test {

inline std::string OutputOf(const std::vector<std::string_view> &lines, BatchRun::Columns columns) {
    std::string output;
    BatchRun run(
        [&](std::string_view data) {
            output += data;
            return true;
        },
        [](std::string_view) {}, BatchRun::kDefaultFlushThreshold, columns);
    std::size_t number = 0;
    for (std::string_view line : lines) run.processLine(line, "designs.csv", ++number);
    run.finish();
    return output;
}

}  // namespace tremira::batch::test
