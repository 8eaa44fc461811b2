#pragma once
// The workshop sheet "Сохранить лист…": a title block, the design, its check and its winding plan
// as tables, and the drawings, laid out on as many A4 pages as they need, black on white, in a
// PDF that either lands whole or leaves the old file as it was.

#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

#include "calc/figures.h"
#include "reports/design_snapshot.h"
#include "reports/report_file.h"
#include "reports/report_stamp.h"

class QPainter;

namespace tremira::reports {

// The name a sheet goes by when the user typed none.
inline constexpr char16_t kDefaultDesignName[] = u"Тремира";

struct SheetSection {
    QString title;
    QStringList lines;
};

// Sections of figures as "caption: figure" lines, as the clipboard takes them; the rows of a
// table numbered.
std::vector<SheetSection> SheetSectionsOf(const std::vector<calc::FigureSection> &sections);

// The design's inputs as the main window shows them, in one line; the blank ones left out.
QString DesignInputsLine(const DesignSnapshot &design);

// The head of the first page: which design, when it was saved, by which version, from what.
struct SheetTitleBlock {
    QString designName;  // blank: kDefaultDesignName
    ReportStamp saved;
    QString version;
    QString inputs;  // DesignInputsLine
};

// One drawing in the page's units, under its caption, never split across two pages.
struct SheetDrawing {
    QString caption;
    std::function<void(QPainter &painter, const QRectF &area)> paint;
    double pageShare = 0.5;  // of the text area's height, at most 1
};

struct WorkshopSheet {
    QString title;
    SheetTitleBlock head;
    // Each section a heading and a table of caption and figure, with its own table under it;
    // rows of inputs nobody typed and tremira-calc's own columns left out.
    std::vector<calc::FigureSection> sections;
    std::vector<SheetDrawing> drawings;  // in this order after the tables
};

// Writes the sheet to `path` as a PDF, as the report is written: every byte lands, or the old
// file stays byte for byte and no new one is left; a target that is no regular file (a device,
// a pipe, a link to one) is refused and left alone. A failure names the path and the reason.
std::optional<FileWriteError> SaveWorkshopSheet(const QString &path, const WorkshopSheet &sheet,
                                                const DeviceWrite &write = WriteWhole);

}  // namespace tremira::reports
