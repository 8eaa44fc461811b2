#include "reports/plan_sheet.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace tremira::reports {
namespace {

constexpr int kResolution = 300;  // dots per inch of the page's units
constexpr double kMarginMillimetres = 15;
constexpr double kNamePoints = 16;
constexpr double kHeadingPoints = 11;
constexpr double kTextPoints = 9.5;
// A table of many columns, the taps' on the welding page, in a smaller face to fit the width.
constexpr double kWideTablePoints = 7;
constexpr std::size_t kWideTableColumns = 6;
constexpr double kRulePoints = 0.75;  // a pixel of the screen: the layout draws no thinner border
constexpr double kCaptionColumnPercent = 62;

QString textOf(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The layout's units for a length in typographic points. The layout takes the lengths of
// margins, borders and padding in pixels of the screen and scales them to the page's dots, as it
// does a widget's; the screen's logical resolution undoes that, whichever it is.
double points(double length) {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return length * (screen ? qRound(screen->logicalDotsPerInchY()) : 96) / 72;
}

QFont sheetFont(double size, bool bold = false) {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(size);
    font.setBold(bold);
    return font;
}

QTextCharFormat charFormat(double size, bool bold = false) {
    QTextCharFormat format;
    format.setFont(sheetFont(size, bold));
    return format;
}

// Paper is black on white whatever the screen's theme: the layout would take its colours from
// the application's palette, white text in a dark theme.
QPalette paperPalette() { return {Qt::black, Qt::white, Qt::white, Qt::black, Qt::gray, Qt::black, Qt::white}; }

// --- Rows ------------------------------------------------------------------------------------

// An input nobody typed, or a figure that needs one, says so in the window; paper leaves it out.
bool notGiven(const calc::FigureRow &row) {
    if (!row.asked) return true;
    if (row.known) return false;
    return std::ranges::any_of(std::array{calc::NoFigure::NotGiven, calc::NoFigure::TestWindingNotGiven},
                               [&row](calc::NoFigure kind) {
                                   return row.text.ends_with(calc::ReasonText({kind, {}}));
                               });
}

bool onPaper(const calc::FigureRow &row) { return row.format.shown != calc::Shown::ColumnOnly && !notGiven(row); }

// The columns of a table with at least one cell filled.
std::vector<std::size_t> filledColumns(const calc::FigureTable &table) {
    std::vector<std::size_t> columns;
    for (std::size_t column = 0; column < table.headers.size(); ++column) {
        if (std::ranges::any_of(table.rows, [column](const auto &row) { return !row[column].empty(); }))
            columns.push_back(column);
    }
    return columns;
}

// A column of remarks takes a share of the width to wrap in; the others, of numbers and short
// words, the room their texts need, whole.
std::vector<QTextLength> widthsOf(const calc::FigureTable &table, const std::vector<std::size_t> &columns) {
    constexpr std::size_t kLongestUnwrapped = 25;
    constexpr double kRemarksPercent = 30;
    std::vector<QTextLength> widths;
    for (std::size_t column : columns) {
        const bool remarks = std::ranges::any_of(table.rows, [column](const auto &row) {
            return QString::fromStdString(row[column]).size() > static_cast<qsizetype>(kLongestUnwrapped);
        });
        widths.push_back(remarks ? QTextLength(QTextLength::PercentageLength, kRemarksPercent) : QTextLength());
    }
    return widths;
}

// --- Drawings --------------------------------------------------------------------------------

constexpr int kDrawingObject = QTextFormat::UserObject + 1;
constexpr int kDrawingIndex = QTextFormat::UserProperty + 1;

// Paints each drawing where the layout puts it, with the page's own painter, so that it stays
// lines and fills rather than a picture; the caption is part of the object and so never parted
// from its drawing.
class DrawingObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    DrawingObject(const std::vector<SheetDrawing> &drawings, const QSizeF &textArea, double captionHeight)
        : m_drawings(drawings), m_textArea(textArea), m_captionHeight(captionHeight) {}

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override {
        // Room on the page for the line the drawing stands on and the space above it, so that two
        // drawings of half a page share one.
        const double room = m_textArea.height() - 4 * m_captionHeight;
        return {m_textArea.width(), std::clamp(drawingOf(format).pageShare, 0.1, 1.0) * room};
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int, const QTextFormat &format) override {
        // The layout offers the drawing to the page before too, when it starts at that page's foot.
        if (painter->hasClipping() && painter->clipBoundingRect().intersected(rect).height() < 1) return;
        const SheetDrawing &drawing = drawingOf(format);
        painter->save();
        painter->setPen(Qt::black);
        painter->setFont(sheetFont(kTextPoints, true));
        painter->drawText(QRectF(rect.topLeft(), QSizeF(rect.width(), m_captionHeight)),
                          Qt::AlignLeft | Qt::AlignVCenter, drawing.caption);
        painter->setFont(sheetFont(kTextPoints));
        drawing.paint(*painter, rect.adjusted(0, m_captionHeight, 0, 0));
        painter->restore();
    }

private:
    const SheetDrawing &drawingOf(const QTextFormat &format) const {
        return m_drawings[static_cast<std::size_t>(format.intProperty(kDrawingIndex))];
    }

    const std::vector<SheetDrawing> &m_drawings;
    QSizeF m_textArea;
    double m_captionHeight;
};

// --- Layout ----------------------------------------------------------------------------------

QTextTableFormat tableFormat(std::vector<QTextLength> widths, int headerRows) {
    QTextTableFormat format;
    format.setBorder(points(kRulePoints));
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(points(3));
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(QList<QTextLength>(widths.begin(), widths.end()));
    format.setHeaderRowCount(headerRows);  // repeated at the top of each page the table goes on to
    return format;
}

void setCell(QTextTable &table, int row, int column, const QString &text, double size = kTextPoints,
             bool bold = false) {
    table.cellAt(row, column).firstCursorPosition().insertText(text, charFormat(size, bold));
}

class SheetWriter {
public:
    explicit SheetWriter(QTextDocument &document) : m_cursor(&document) {}

    void titleBlock(const WorkshopSheet &sheet) {
        const SheetTitleBlock &head = sheet.head;
        const QString name = head.designName.trimmed();
        m_cursor.setCharFormat(charFormat(kNamePoints, true));
        m_cursor.insertText(name.isEmpty() ? QString::fromUtf16(kDefaultDesignName) : name);
        paragraph(sheet.title, kHeadingPoints);
        paragraph(QStringLiteral("Сохранён: %1 %2. Версия программы: %3")
                      .arg(head.saved.date, head.saved.time, head.version));
        if (!head.inputs.isEmpty()) paragraph(QStringLiteral("Исходные данные: ") + head.inputs);
    }

    void section(const calc::FigureSection &section) {
        const bool hasRows = std::ranges::any_of(section.rows, onPaper);
        if (!hasRows && section.table.rows.empty()) return;
        heading(textOf(section.title));
        captionTable(section.rows);
        figureTable(section.table);
    }

    void drawing(std::size_t index) {
        QTextBlockFormat block;
        block.setTopMargin(points(kHeadingPoints));
        // The drawings begin a page of their own, so that the core and the connections the
        // builder winds by lie on one sheet of paper.
        if (index == 0) block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_cursor.insertBlock(block);
        QTextCharFormat object;
        object.setObjectType(kDrawingObject);
        object.setProperty(kDrawingIndex, static_cast<int>(index));
        m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), object);
    }

private:
    void paragraph(const QString &text, double size = kTextPoints, bool bold = false, double above = 2) {
        QTextBlockFormat block;
        block.setTopMargin(points(above));
        m_cursor.insertBlock(block, charFormat(size, bold));
        m_cursor.insertText(text);
    }

    void heading(const QString &title) {
        paragraph(title, kHeadingPoints, true, kHeadingPoints);
        m_headings.push_back(m_cursor.block());
    }

    // A note stands where the window shows it, across both columns.
    void captionTable(const std::vector<calc::FigureRow> &rows) {
        const auto shown = static_cast<int>(std::ranges::count_if(rows, onPaper));
        if (shown == 0) return;
        QTextTable *table =
            m_cursor.insertTable(shown, 2,
                                 tableFormat({QTextLength(QTextLength::PercentageLength, kCaptionColumnPercent),
                                              QTextLength(QTextLength::PercentageLength, 100 - kCaptionColumnPercent)},
                                             0));
        int at = 0;
        for (const calc::FigureRow &row : rows) {
            if (!onPaper(row)) continue;
            const QString text = QString::fromStdString(row.text);
            if (row.format.shown == calc::Shown::Note) {
                table->mergeCells(at, 0, 1, 2);
                setCell(*table, at++, 0, text);
                continue;
            }
            setCell(*table, at, 0, textOf(row.format.caption));
            setCell(*table, at++, 1, text);
        }
        m_cursor.movePosition(QTextCursor::End);
    }

    void figureTable(const calc::FigureTable &figures) {
        const std::vector<std::size_t> columns = filledColumns(figures);
        if (figures.rows.empty() || columns.empty()) return;
        const auto count = static_cast<int>(columns.size());
        const double size = columns.size() > kWideTableColumns ? kWideTablePoints : kTextPoints;
        QTextTable *table = m_cursor.insertTable(static_cast<int>(figures.rows.size()) + 1, count,
                                                 tableFormat(widthsOf(figures, columns), 1));
        for (int column = 0; column < count; ++column) {
            const std::size_t from = columns[static_cast<std::size_t>(column)];
            setCell(*table, 0, column, textOf(figures.headers[from]), size, true);
            for (std::size_t row = 0; row < figures.rows.size(); ++row)
                setCell(*table, static_cast<int>(row) + 1, column, QString::fromStdString(figures.rows[row][from]),
                        size);
        }
        m_cursor.movePosition(QTextCursor::End);
    }

    QTextCursor m_cursor;
    std::vector<QTextBlock> m_headings;

public:
    // A heading whose table the layout has put on the next page goes there with it. Each is
    // looked at after the ones above have moved.
    void keepHeadingsWithTheirTables() {
        QAbstractTextDocumentLayout &layout = *m_cursor.document()->documentLayout();
        const double page = m_cursor.document()->pageSize().height();
        const auto pageOf = [&layout, page](const QTextBlock &block) {
            return std::floor(layout.blockBoundingRect(block).top() / page);
        };
        for (const QTextBlock &heading : m_headings) {
            // The block after a heading is the first cell of its table.
            if (pageOf(heading) == pageOf(heading.next())) continue;
            QTextCursor at(heading);
            QTextBlockFormat format = heading.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            at.setBlockFormat(format);
        }
    }
};

// The page's text area less a line at its foot for the page's number.
QSizeF textArea(const QPdfWriter &writer) {
    const QSizeF page = writer.pageLayout().paintRectPixels(writer.resolution()).size();
    return {page.width(), page.height() - 2 * kTextPoints * kResolution / 72};
}

void printPages(QPdfWriter &writer, QTextDocument &document) {
    QPainter painter(&writer);
    const QRectF page(QPointF(0, 0), writer.pageLayout().paintRectPixels(writer.resolution()).size());
    const double height = document.pageSize().height();
    const int pages = document.pageCount();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = paperPalette();
    for (int index = 0; index < pages; ++index) {
        if (index > 0) writer.newPage();
        context.clip = QRectF(0, index * height, page.width(), height);
        painter.save();
        painter.translate(0, -context.clip.top());
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setPen(Qt::black);
        painter.setFont(sheetFont(kTextPoints));
        painter.drawText(page, Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("стр. %1 из %2").arg(index + 1).arg(pages));
    }
}

void paintSheet(QPdfWriter &writer, const WorkshopSheet &sheet) {
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDocumentMargin(0);  // the writer's page margins are the sheet's
    document.setDefaultFont(sheetFont(kTextPoints));
    document.setPageSize(textArea(writer));
    DrawingObject drawings(sheet.drawings, document.pageSize(),
                           1.5 * QFontMetricsF(sheetFont(kTextPoints, true), &writer).lineSpacing());
    document.documentLayout()->registerHandler(kDrawingObject, &drawings);
    SheetWriter write(document);
    write.titleBlock(sheet);
    for (const calc::FigureSection &section : sheet.sections) write.section(section);
    for (std::size_t index = 0; index < sheet.drawings.size(); ++index) write.drawing(index);
    write.keepHeadingsWithTheirTables();
    printPages(writer, document);
}

QStringList linesOf(const calc::FigureSection &section) {
    QStringList lines;
    for (const calc::FigureRow &row : section.rows) {
        if (row.format.shown == calc::Shown::ColumnOnly) continue;
        const QString text = QString::fromStdString(row.text);
        lines << (row.format.shown == calc::Shown::Note ? text
                                                        : textOf(row.format.caption) + QStringLiteral(": ") + text);
    }
    const calc::FigureTable &table = section.table;
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        QStringList cells;
        for (std::size_t column = 0; column < table.headers.size(); ++column) {
            const std::string &cell = table.rows[row][column];
            if (cell.empty()) continue;
            cells << textOf(table.headers[column]) + QLatin1Char(' ') + QString::fromStdString(cell);
        }
        lines << QStringLiteral("%1. %2").arg(row + 1).arg(cells.join(QStringLiteral(", ")));
    }
    return lines;
}

}  // namespace

std::vector<SheetSection> SheetSectionsOf(const std::vector<calc::FigureSection> &sections) {
    std::vector<SheetSection> sheet;
    for (const calc::FigureSection &section : sections) sheet.push_back({textOf(section.title), linesOf(section)});
    return sheet;
}

QString DesignInputsLine(const DesignSnapshot &design) {
    const struct {
        const char16_t *caption;
        const QString &text;
        const char16_t *unit;
    } inputs[] = {
        {u"сеть", design.Text4, u" В"},       {u"напряжение сварки", design.Text3, u" В"},
        {u"ток сварки", design.Text2, u" А"}, {u"сечение сердечника", design.Text1, u" см²"},
        {u"обмотка I", design.Combo1, u""},   {u"обмотка II", design.Combo2, u""},
        {u"сердечник", design.Combo3, u""},   {u"индукция", design.Text10, u" Тл"},
    };
    QStringList given;
    for (const auto &input : inputs) {
        const QString text = input.text.trimmed();
        if (!text.isEmpty())
            given << QString::fromUtf16(input.caption) + QLatin1Char(' ') + text + QString::fromUtf16(input.unit);
    }
    return given.join(QStringLiteral(", "));
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

#include "plan_sheet.moc"
