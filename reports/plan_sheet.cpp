#include "reports/plan_sheet.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace tremira::reports {
namespace {

constexpr int kResolution = 300;  // dots per inch of the page's units
constexpr double kMarginMillimetres = 15;
constexpr int kTitlePoints = 14;
constexpr int kLinePoints = 10;
// The drawing takes this share of the page's width and as much height, or a page of its own.
constexpr double kDrawingShare = 0.7;

// The fixed-pitch face of the printed report, so the sheet reads like the program's other paper.
QFont sheetFont(int points, bool bold) {
    QFont font(QStringLiteral("courier new"), points);
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(bold);
    return font;
}

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// Writes lines down the page, starting a new page where the next one would not fit.
class PageWriter {
public:
    PageWriter(QPdfWriter &writer, QPainter &painter)
        : m_writer(writer), m_painter(painter), m_page(writer.pageLayout().paintRectPixels(writer.resolution())) {
        m_page.moveTopLeft({0, 0});  // the painter's origin is the corner of the printable area
    }

    // A line longer than the page wraps at a word instead of running off the paper. `keepWith`
    // lines of the next text must fit under it too, so that a title never ends a page.
    void write(const QString &text, int points, bool bold, int keepWith = 0) {
        m_painter.setFont(sheetFont(points, bold));
        const QRectF bounds =
            m_painter.boundingRect(QRectF(m_page.left(), 0, m_page.width(), m_page.height()), kTextFlags, text);
        room(bounds.height() + keepWith * QFontMetricsF(sheetFont(kLinePoints, false)).lineSpacing());
        m_painter.drawText(QRectF(m_page.left(), m_y, m_page.width(), bounds.height()), kTextFlags, text);
        m_y += bounds.height();
    }

    void skip(double height) { m_y += height; }

    // A square-ish area under the text, centred across the page.
    QRectF drawingArea() {
        const double side = m_page.width() * kDrawingShare;
        room(side);
        const QRectF area(m_page.left() + (m_page.width() - side) / 2, m_y, side, side);
        m_y += side;
        return area;
    }

private:
    void room(double height) {
        if (m_y + height <= m_page.bottom()) return;
        m_writer.newPage();
        m_y = m_page.top();
    }

    QPdfWriter &m_writer;
    QPainter &m_painter;
    QRectF m_page;
    double m_y = 0;
};

void paintSheet(QPdfWriter &writer, const WorkshopSheet &sheet) {
    QPainter painter(&writer);
    PageWriter page(writer, painter);
    page.write(sheet.title, kTitlePoints, true);
    for (const SheetSection &section : sheet.sections) {
        page.skip(QFontMetricsF(sheetFont(kLinePoints, false), &writer).lineSpacing());
        page.write(section.title, kLinePoints, true, 1);
        for (const QString &line : section.lines) page.write(line, kLinePoints, false);
    }
    for (const auto &paintDrawing : sheet.drawings) {
        page.skip(QFontMetricsF(sheetFont(kLinePoints, false), &writer).lineSpacing());
        painter.setFont(sheetFont(kLinePoints, false));
        paintDrawing(painter, page.drawingArea());
    }
}

QString captioned(const calc::FigureRow &row) {
    return QString::fromUtf8(row.format.caption.data(), static_cast<qsizetype>(row.format.caption.size())) +
           QStringLiteral(": ") + QString::fromStdString(row.text);
}

QStringList linesOf(const calc::FigureSection &section) {
    QStringList lines;
    for (const calc::FigureRow &row : section.rows) {
        if (row.format.shown == calc::Shown::ColumnOnly) continue;
        lines << (row.format.shown == calc::Shown::Note ? QString::fromStdString(row.text) : captioned(row));
    }
    const calc::FigureTable &table = section.table;
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        QStringList cells;
        for (std::size_t column = 0; column < table.headers.size(); ++column) {
            const std::string &cell = table.rows[row][column];
            if (cell.empty()) continue;
            cells << QString::fromUtf8(table.headers[column].data(),
                                       static_cast<qsizetype>(table.headers[column].size())) +
                         QLatin1Char(' ') + QString::fromStdString(cell);
        }
        lines << QStringLiteral("%1. %2").arg(row + 1).arg(cells.join(QStringLiteral(", ")));
    }
    return lines;
}

}  // namespace

std::vector<SheetSection> SheetSectionsOf(const std::vector<calc::FigureSection> &sections) {
    std::vector<SheetSection> sheet;
    for (const calc::FigureSection &section : sections) {
        sheet.push_back(
            {QString::fromUtf8(section.title.data(), static_cast<qsizetype>(section.title.size())), linesOf(section)});
    }
    return sheet;
}

std::optional<FileWriteError> SaveWorkshopSheet(const QString &path, const WorkshopSheet &sheet,
                                                const DeviceWrite &write) {
    // The whole page is made first: Qt's PDF writer takes no notice of a short write, so the
    // bytes go to the disk as the report's do, each one counted.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(sheet.title);
        writer.setResolution(kResolution);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                        QPageLayout::Millimeter));
        paintSheet(writer, sheet);
    }
    return WriteReportFile(path, pdf, WriteMode::Replace, write);
}

}  // namespace tremira::reports
