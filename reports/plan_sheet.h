#pragma once
// The workshop sheet "Сохранить лист…": the design, its check and its winding plan as titled
// sections of "caption: figure" lines, and the drawing of the windings, on A4 pages of a PDF
// that either lands whole or leaves no file behind.

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
    // Paints the drawing of the windings into the rectangle it is given, in the page's units.
    std::function<void(QPainter &painter, const QRectF &area)> paintDrawing;
};

// Writes the sheet to `path` as a PDF; a failure names the path and gives the system's reason.
std::optional<FileWriteError> SaveWorkshopSheet(const QString &path, const WorkshopSheet &sheet);

}  // namespace tremira::reports
