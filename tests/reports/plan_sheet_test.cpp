// The workshop sheet: its title block, tables and drawings on numbered A4 pages of a PDF read back
// with poppler's tools, black on white under any theme, and a failed write that leaves the old
// file as it was and says why.

#include "reports/plan_sheet.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "tests/reports/run_a.h"
#include "tests/reports/tool_output.h"
#include "tests/reports/without_root_rights.h"

namespace tremira::reports {
namespace {

// A section of `rowCount` figures, one tremira-calc column and two inputs nobody typed among
// them, and the taps' table with a column nobody filled.
calc::FigureSection planSection(int rowCount) {
    static const std::vector<std::string> captions = [] {
        std::vector<std::string> all;
        for (int i = 1; i <= 200; ++i) all.push_back("Строка плана " + std::to_string(i));
        return all;
    }();
    calc::FigureSection plan{"plan", "План намотки", {}, {{"Витки", "U хх (В)", "Ток (А)"}, {{"108", "50,9", ""}}}};
    for (int i = 0; i < rowCount; ++i) plan.rows.push_back({{.caption = captions[i]}, std::to_string(i + 1), true});
    plan.rows.push_back({{.caption = "Столбец без подписи", .shown = calc::Shown::ColumnOnly}, "777", true});
    plan.rows.push_back({{.caption = "Отводов", .shown = calc::Shown::Input}, "не задано", false});
    plan.rows.push_back({{.caption = "Ток дросселя (А)"}, "12,5", true, false});
    plan.rows.push_back({{.caption = "Длина провода (м)"}, "ширина окна: не задано", false});
    plan.rows.push_back({{.caption = "Пробная обмотка"}, "пробная обмотка не задана", false});
    plan.rows.push_back({{.caption = "Вписывается"}, "вне разумных пределов", false});
    plan.rows.push_back({{.shown = calc::Shown::Note}, "Отводы с одинаковым числом витков даны один раз.", true});
    return plan;
}

// A drawing that says where it was painted: at the top and at the foot of its area.
SheetDrawing drawingOf(int number, double pageShare, QList<QRectF> *drawnInto) {
    return {u"Рисунок %1"_qs.arg(number),
            [number, drawnInto](QPainter &painter, const QRectF &area) {
                drawnInto->append(area);
                painter.drawRect(area);
                painter.drawText(area, Qt::AlignTop | Qt::AlignHCenter, u"верх рисунка %1"_qs.arg(number));
                painter.drawText(area, Qt::AlignBottom | Qt::AlignHCenter, u"низ рисунка %1"_qs.arg(number));
            },
            pageShare};
}

WorkshopSheet sheetOf(int rowCount, QList<QRectF> *drawnInto, std::vector<double> drawingShares = {0.5},
                      const QString &designName = u"Трансформатор гаража"_qs) {
    WorkshopSheet sheet{
        u"Проверка и план намотки"_qs,
        {designName, {u"07.12.2026"_qs, u"14:05:09"_qs}, u"9.8.7"_qs, DesignInputsLine(test::RunA())},
        {{"design", "Расчёт", {{{.caption = "Витки I обмотки"}, "83", true}}, {}}, planSection(rowCount)},
        {}};
    for (std::size_t i = 0; i < drawingShares.size(); ++i)
        sheet.drawings.push_back(drawingOf(static_cast<int>(i) + 1, drawingShares[i], drawnInto));
    return sheet;
}

// The text of each page as laid out, in rows.
QStringList pageTexts(const QString &pdf) {
    QStringList pages = test::ToolOutput(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs}).split(QLatin1Char('\f'));
    if (pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

int pageCount(const QString &pdf) {
    const QRegularExpressionMatch pages =
        QRegularExpression(u"Pages:\\s+(\\d+)\\n"_qs).match(test::ToolOutput(u"pdfinfo"_qs, {pdf}));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// A row of a table: its cells on one line, apart.
bool hasRow(const QString &text, const QString &caption, const QString &value) {
    return text.contains(QRegularExpression(QRegularExpression::escape(caption) + u" {2,}"_qs +
                                            QRegularExpression::escape(value) + u"\\s*\\n"_qs));
}

TEST(WorkshopSheetTest, InputsLineHoldsOnlyTheGivenInputs) {
    DesignSnapshot withoutSection = test::RunA();
    withoutSection.Text1 = u" "_qs;
    const struct {
        const char *name;
        DesignSnapshot design;
        QString line;
    } cases[] = {
        {"run A", test::RunA(),
         u"сеть 220 В, напряжение сварки 65 В, ток сварки 160 А, сечение сердечника 84,672 см², обмотка I Медь, "
         u"обмотка II Медь, сердечник Стержневой, индукция 1,42 Тл"_qs},
        {"no core section", withoutSection,
         u"сеть 220 В, напряжение сварки 65 В, ток сварки 160 А, обмотка I Медь, обмотка II Медь, сердечник "
         u"Стержневой, индукция 1,42 Тл"_qs},
    };
    for (const auto &c : cases) EXPECT_EQ(DesignInputsLine(c.design), c.line) << c.name;
}

// The title block on the first page, each section a table of caption and figure with the taps'
// table under it, the rows nobody gave left out, "стр. N из M" at the foot of every page, and the
// drawings from a page of their own on, each whole on one page, as lines, not pictures.
TEST(WorkshopSheetTest, LaysTheTablesAndDrawingsOnNumberedA4Pages) {
    const struct {
        const char *name;
        int rowCount;
        std::vector<double> drawingShares;
        QString designName;
        QString shownName;
        int fewestPages;
        int mostPages;
    } cases[] = {
        {"a short plan", 3, {0.3}, u"Трансформатор гаража"_qs, u"Трансформатор гаража"_qs, 2, 2},
        {"a plan longer than a page", 90, {0.5}, u"Трансформатор гаража"_qs, u"Трансформатор гаража"_qs, 3, 6},
        {"two drawings of a page each, no name", 3, {1, 1}, u" "_qs, u"Тремира"_qs, 3, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString pdf = folder.filePath(u"лист.pdf"_qs);
        QList<QRectF> drawnInto;
        ASSERT_FALSE(SaveWorkshopSheet(pdf, sheetOf(c.rowCount, &drawnInto, c.drawingShares, c.designName)));
        const QStringList pages = pageTexts(pdf);
        ASSERT_GE(pages.size(), c.fewestPages);
        ASSERT_LE(pages.size(), c.mostPages);
        EXPECT_EQ(pageCount(pdf), pages.size());
        EXPECT_TRUE(test::ToolOutput(u"pdfinfo"_qs, {pdf}).contains(u"(A4)"_qs));
        const QString text = pages.join(QLatin1Char('\n'));
        for (const QString &expected :
             {u"Проверка и план намотки\n"_qs, u"Сохранён: 07.12.2026 14:05:09. Версия программы: 9.8.7\n"_qs,
              u"Исходные данные: сеть 220 В, напряжение сварки 65 В"_qs, u"Расчёт\n"_qs, u"План намотки\n"_qs,
              u"Отводы с одинаковым числом витков даны один раз."_qs}) {
            EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << " in:\n" << text.toStdString();
        }
        EXPECT_TRUE(pages[0].startsWith(c.shownName + u"\n"_qs)) << pages[0].toStdString();
        for (const auto &[caption, value] : {std::pair{u"Витки I обмотки"_qs, u"83"_qs},
                                             {u"Строка плана 1"_qs, u"1"_qs},
                                             {u"Строка плана %1"_qs.arg(c.rowCount), QString::number(c.rowCount)},
                                             {u"Вписывается"_qs, u"вне разумных пределов"_qs}}) {
            EXPECT_TRUE(hasRow(text, caption, value)) << caption.toStdString() << " in:\n" << text.toStdString();
        }
        EXPECT_TRUE(hasRow(text, u"Витки"_qs, u"U хх (В)"_qs)) << "the taps' headers";
        EXPECT_TRUE(hasRow(text, u"108"_qs, u"50,9"_qs)) << "the taps' row";
        for (const QString &absent : {u"Столбец без подписи"_qs, u"777"_qs, u"Отводов"_qs, u"не задано"_qs,
                                      u"Длина провода"_qs, u"Пробная обмотка"_qs, u"Ток (А)"_qs, u"Ток дросселя"_qs}) {
            EXPECT_FALSE(text.contains(absent)) << absent.toStdString();
        }
        for (int page = 0; page < pages.size(); ++page) {
            EXPECT_TRUE(pages[page].trimmed().endsWith(u"стр. %1 из %2"_qs.arg(page + 1).arg(pages.size())))
                << pages[page].toStdString();
        }
        ASSERT_EQ(drawnInto.size(), static_cast<qsizetype>(c.drawingShares.size()));
        for (std::size_t i = 0; i < c.drawingShares.size(); ++i) {
            const QString number = QString::number(i + 1);
            const auto drawnOn = std::ranges::find_if(pages, [&](const QString &page) {
                return page.contains(u"Рисунок "_qs + number + u"\n"_qs) &&
                       page.contains(u"верх рисунка "_qs + number) && page.contains(u"низ рисунка "_qs + number);
            });
            ASSERT_NE(drawnOn, pages.end()) << "drawing " << number.toStdString() << " whole on one page";
            if (i == 0) {
                EXPECT_FALSE(drawnOn->contains(u"Строка плана"_qs)) << "the drawings begin a page";
            }
            EXPECT_EQ(text.count(u"Рисунок "_qs + number + u"\n"_qs), 1) << "and on that page alone";
            EXPECT_LT(text.indexOf(u"Строка плана %1"_qs.arg(c.rowCount)), text.indexOf(u"Рисунок "_qs + number));
        }
        EXPECT_EQ(test::ToolOutput(u"pdfimages"_qs, {u"-list"_qs, pdf}).count(QLatin1Char('\n')), 2)
            << "the header of an empty list of images";
    }
}

// A section's heading never ends a page: where its table would start on the next, the heading
// goes there too; where it fits, it stays under the rows before it. The section before it grows
// row by row round the feet of the first two pages.
TEST(WorkshopSheetTest, AHeadingNeverEndsAPage) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(u"лист.pdf"_qs);
    int twoPageSheets = 0;
    int headingsBelowRowsOnALaterPage = 0;
    int headingsStartingAPage = 0;
    // Around the first page's foot and the second's.
    for (const int rowCount : {30, 31, 32, 33, 34, 35, 70, 71, 72, 73, 74, 75}) {
        SCOPED_TRACE(rowCount);
        calc::FigureSection before = planSection(rowCount);
        before.title = "Расчёт";
        const WorkshopSheet sheet{u"Проверка и план намотки"_qs,
                                  {u"Тремира"_qs, {u"07.12.2026"_qs, u"14:05:09"_qs}, u"9.8.7"_qs, {}},
                                  {before, planSection(3)},
                                  {}};
        ASSERT_FALSE(SaveWorkshopSheet(pdf, sheet));
        const QStringList pages = pageTexts(pdf);
        twoPageSheets += pages.size() == 2 ? 1 : 0;
        for (const QString &page : pages) {
            QStringList lines = page.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            lines.removeIf([](const QString &line) { return line.trimmed().isEmpty(); });
            ASSERT_GE(lines.size(), 2);
            const qsizetype heading = lines.indexOf(u"План намотки"_qs);
            headingsBelowRowsOnALaterPage += &page != &pages.first() && heading > 0 ? 1 : 0;
            headingsStartingAPage += heading == 0 ? 1 : 0;
            EXPECT_NE(lines[lines.size() - 2].trimmed(), u"План намотки"_qs) << "the heading above the page's number";
        }
    }
    EXPECT_GT(twoPageSheets, 0) << "the rows never took the heading to a page's foot";
    EXPECT_GT(headingsBelowRowsOnALaterPage, 0) << "a heading that fits stays under the rows before it";
    EXPECT_GT(headingsStartingAPage, 0) << "the rows never left the heading at a page's foot";
}

// A dark theme on the screen leaves the paper black on white: no coloured pixel, a white page
// with dark text on it.
TEST(WorkshopSheetTest, IsBlackOnWhiteUnderADarkPalette) {
    const QPalette screen = QGuiApplication::palette();
    QPalette dark(Qt::white, QColor(30, 30, 40));
    dark.setColor(QPalette::Text, QColor(120, 200, 255));
    dark.setColor(QPalette::Base, QColor(20, 20, 60));
    QGuiApplication::setPalette(dark);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(u"лист.pdf"_qs);
    QList<QRectF> drawnInto;
    ASSERT_FALSE(SaveWorkshopSheet(pdf, sheetOf(20, &drawnInto)));
    QGuiApplication::setPalette(screen);
    test::ToolOutput(u"pdftoppm"_qs, {u"-r"_qs, u"40"_qs, u"-png"_qs, u"-f"_qs, u"1"_qs, u"-l"_qs, u"1"_qs, pdf,
                                      folder.filePath(u"page"_qs)});
    const QImage page(folder.filePath(u"page-1.png"_qs));
    ASSERT_FALSE(page.isNull());
    int darkPixels = 0;
    int coloured = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor pixel = page.pixelColor(x, y);
            darkPixels += pixel.lightness() < 96;
            coloured += pixel.saturation() > 40 && pixel.value() > 40;
        }
    }
    EXPECT_EQ(coloured, 0);
    EXPECT_GT(darkPixels, 0) << "the text is dark";
    EXPECT_LT(darkPixels, page.width() * page.height() / 10) << "on a white page";
}

TEST(WorkshopSheetTest, AFailedWriteLeavesNoFileAndSaysWhy) {
    QTemporaryDir folder;
    const QString readOnly = folder.filePath(u"только чтение"_qs);
    ASSERT_TRUE(QDir().mkdir(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    const test::WithoutRootsRightOverPermissions withoutRoot;
    ASSERT_TRUE(withoutRoot.effective());
    const struct {
        const char *name;
        QString path;
        QString reason;
    } cases[] = {
        {"a read-only folder", readOnly + u"/лист.pdf"_qs, u"Нет прав на запись в этот файл или в его папку."_qs},
        {"a missing folder", folder.filePath(u"нет такой/лист.pdf"_qs), u"Папка файла не найдена."_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QList<QRectF> drawnInto;
        const std::optional<FileWriteError> error = SaveWorkshopSheet(c.path, sheetOf(3, &drawnInto));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->path, c.path);
        EXPECT_EQ(error->reason, c.reason);
        EXPECT_FALSE(QFile::exists(c.path));
    }
    EXPECT_TRUE(QDir(readOnly).isEmpty());
}

// A disk that fills part-way: the writer takes the first bytes and no more.
qint64 writeFirstKilobyte(QIODevice &device, const QByteArray &bytes) {
    const qint64 taken = device.write(bytes.left(1024));
    errno = ENOSPC;
    return taken;
}

TEST(WorkshopSheetTest, AShortWriteKeepsTheOldFileByteForByteAndLeavesNoNewOne) {
    QTemporaryDir folder;
    const QString old = folder.filePath(u"old.pdf"_qs);
    const QString fresh = folder.filePath(u"new.pdf"_qs);
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the old sheet");
    file.close();
    QList<QRectF> drawnInto;
    for (const QString &path : {old, fresh}) {
        SCOPED_TRACE(path.toStdString());
        const std::optional<FileWriteError> error = SaveWorkshopSheet(path, sheetOf(3, &drawnInto), writeFirstKilobyte);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->reason, u"На диске не хватает места."_qs);
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("the old sheet"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"old.pdf"_qs});
}

// A pipe would block the window; a device, /dev/full say, would be replaced by a regular file.
TEST(WorkshopSheetTest, ATargetThatIsNoRegularFileIsRefusedAndLeftAlone) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(u"канал.pdf"_qs);
    const QString link = folder.filePath(u"ссылка.pdf"_qs);
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(pipe, link));
    QList<QRectF> drawnInto;
    for (const QString &path : {pipe, link}) {
        SCOPED_TRACE(path.toStdString());
        const std::optional<FileWriteError> error = SaveWorkshopSheet(path, sheetOf(3, &drawnInto));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->reason, u"Это не обычный файл, а канал, устройство или сокет."_qs);
    }
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

}  // namespace
}  // namespace tremira::reports
