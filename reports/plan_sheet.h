#pragma once
// The workshop sheet "Сохранить лист…": the design, its check and its winding plan as titled
// sections of "caption: figure" lines, and the drawing of the windings, on A4 pages of a PDF
// that either lands whole or leaves the old file as it was.

#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

#include "calc/figures.h"
#include "reports/report_file.h"

class QPainter;

namespace tremira::reports {

struct SheetSection {
    QString title;
    QStringList lines;
};

// Sections of figures as the sheet's "caption: figure" lines; the rows of a table numbered.
std::vector<SheetSection> SheetSectionsOf(const std::vector<calc::FigureSection> &sections);

struct WorkshopSheet {
    QString title;
    std::vector<SheetSection> sections;
    // Each paints one drawing (the windings, the welding chart) into the rectangle it is given,
    // in the page's units, in this order under the text.
    std::vector<std::function<void(QPainter &painter, const QRectF &area)>> drawings;
};

// Writes the sheet to `path` as a PDF, as the report is written: every byte lands, or the old
// file stays byte for byte and no new one is left; a target that is no regular file (a device,
// a pipe, a link to one) is refused and left alone. A failure names the path and the reason.
std::optional<FileWriteError> SaveWorkshopSheet(const QString &path, const WorkshopSheet &sheet,
                                                const DeviceWrite &write = WriteWhole);

}  // namespace tremira::reports
