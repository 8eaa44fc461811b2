#include "reports/printer/page_printer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tremira::reports {
namespace {

// fontconfig maps the name to a metric-compatible face (Liberation Mono). No typewriter style
// hint: it makes Qt prefer a face whose average width no longer matches its glyphs.
QFont reportFont(bool bold) {
    QFont font(QStringLiteral("courier new"));
    font.setPointSizeF(12.0);
    font.setBold(bold);
    font.setItalic(false);
    return font;
}

}  // namespace

std::optional<PrintError> PrintPage(QPrinter &printer, const QList<PrintedLine> &lines) {
    QPainter painter;
    if (!painter.begin(&printer)) return PrintError{PrintError::Kind::PrinterRefused, printer.printerName(), QString()};

    const qreal dotsPerTwip = printer.resolution() / 1440.0;
    qreal top = kTopMarginTwips * dotsPerTwip;
    for (const PrintedLine &line : lines) {
        painter.setFont(reportFont(line.bold));
        const QFontMetricsF metrics(painter.font(), &printer);
        painter.drawText(QPointF(0.0, top + metrics.ascent()), line.label);
        if (line.value) {
            const qreal valueX = (kValueColumn - 1) * metrics.averageCharWidth();
            if (metrics.horizontalAdvance(line.label) > valueX) top += metrics.lineSpacing();
            painter.drawText(QPointF(valueX, top + metrics.ascent()), *line.value);
        }
        top += metrics.lineSpacing();
    }
    painter.end();
    return std::nullopt;
}

std::optional<PrintError> PrintLinesOnDefaultPrinter(const QList<PrintedLine> &lines) {
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) return PrintError{PrintError::Kind::NoDefaultPrinter, QString(), QString()};
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("report"));
    return PrintPage(printer, lines);
}

}  // namespace tremira::reports
