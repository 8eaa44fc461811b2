#pragma once
// The batch format of tremira-calc: one design per input line, eight fields separated by
// ";" in the order of the window's inputs (Text4;Text3;Text2;Text1;Combo1;Combo2;Combo3;
// Text10), and one result line per design.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "app/batch/field_separator.h"
#include "app/batch/figure_columns.h"
#include "app/batch/line_reader.h"
#include "calc/design_calculation.h"

namespace tremira::batch {

inline constexpr std::size_t kInputFieldCount = 8;

enum class LineKind { Skipped, Design, WrongFieldCount, NotUtf8 };

struct DesignLine {
    LineKind kind = LineKind::Skipped;
    std::size_t fieldCount = 0;  // as found on the line, also when it is wrong
    calc::DesignInput design{};  // the snapshot the window would take with these texts
    calc::TypedFields typed{};   // the check's, the plan's and the weld's fields
};

// Empty lines and "#" comments are skipped; a trailing CR (Windows line end) is dropped.
// After the design's eight fields come the fields of the figures' `columns`: up to five of the
// check, five of the plan after those and ten of the weld after those; one separator may close
// the line as spreadsheets write it. List texts map to their indexes.
DesignLine ReadDesignLine(std::string_view line, FigureColumns columns);

// Reads designs and writes results through one large buffer; reports bad lines.
class BatchRun {
public:
    using WriteOutput = std::function<bool(std::string_view)>;
    using Report = std::function<void(std::string_view)>;

    static constexpr std::size_t kDefaultFlushThreshold = std::size_t{1} << 20;

    // DesignAndCheck: lines may carry the check's fields, and results the check's columns;
    // DesignCheckAndPlan: the plan's fields and columns after those; DesignCheckPlanAndWeld: the
    // weld's after those.
    enum class Columns { Design, DesignAndCheck, DesignCheckAndPlan, DesignCheckPlanAndWeld };

    // The output is written whenever `flushThreshold` bytes are buffered, and at the end.
    BatchRun(WriteOutput writeOutput, Report report, std::size_t flushThreshold = kDefaultFlushThreshold,
             Columns columns = Columns::Design);

    // Every line of one source; `name` appears in the reports of bad lines.
    void processSource(LineReader &reader, std::string_view name);
    void processLine(std::string_view line, std::string_view name, std::size_t lineNumber);
    void noteUnreadable(std::string_view name, std::string_view reason);
    // Writes what is still buffered; after a failed write nothing more is written.
    void finish();

    // 0 every line read, 1 some line invalid, 2 a file could not be read or output written.
    int exitStatus() const;
    bool outputFailed() const { return m_outputFailed; }

private:
    void noteInvalid(std::string_view name, std::size_t lineNumber, std::string_view reason);
    void flushIfFull();
    bool withCheck() const { return m_columns != Columns::Design; }
    std::string wrongFieldCount(std::size_t found) const;
    FigureColumns figureColumns() const;

    WriteOutput m_writeOutput;
    Report m_report;
    std::string m_output;
    std::size_t m_flushThreshold;
    Columns m_columns;
    bool m_someInvalid = false;
    bool m_ioFailed = false;
    bool m_outputFailed = false;
};

}  // namespace tremira::batch
