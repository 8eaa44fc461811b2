// The winding drawing on a saved sheet, read back by PDF parsers: whatever sizes were typed, the
// page is a PDF that qpdf finds sound and poppler renders without a word of complaint, and the
// drawing says why where it cannot draw.

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include "calc/design_check.h"
#include "reports/plan_sheet.h"
#include "tests/reports/tool_output.h"
#include "ui/check/winding_drawing.h"

namespace tremira::ui {
namespace {

// What a PDF tool said: its exit status and both of its outputs.
struct ToolRun {
    int status;
    QString output;
    QString errors;
};

ToolRun run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return {-1, {}, {}};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Run A (220 V, 65 V, 160 A) on the core of list entry `coreType`, with the window, the leg and
// the other typed fields as given.
calc::Figure<calc::WindingSizes> drawingOf(calc::Int16 coreType, const calc::TypedFields &typed) {
    const calc::DesignOutcome design = calc::CalculateDesign({"220", "65", "160", "", "1,42", 0, 0, coreType});
    return calc::CheckDesign({*design.inputs, *design.results, typed}).drawing;
}

TEST(WindingSheetTest, EverySavedSheetIsASoundPdfWhateverTheSizes) {
    const std::string huge = "17" + std::string(307, '0');   // 1,7e308
    const std::string hugest = "1" + std::string(308, '0');  // 1e308
    const struct {
        const char *name;
        calc::Int16 coreType;
        calc::TypedFields typed;
        QString drawn;  // a line of the drawing
    } cases[] = {
        {"run A", 0, {"50", "60", "0,35", "", "", "70", "121", "4", "50", "380"}, u"окно 50 × 60 мм"_qs},
        {"huge window", 0, {huge, huge, "0,35"}, u"ширина окна: вне разумных пределов"_qs},
        {"huge width and leg",
         0,
         {.windowWidth = hugest, .windowHeight = "60", .legWidth = hugest},
         u"ширина окна: вне разумных пределов"_qs},
        {"huge hole", 1, {huge, huge, "0,35"}, u"внутренний диаметр: вне разумных пределов"_qs},
        {"huge hole and ring",
         1,
         {.windowWidth = hugest, .fillFactor = "0,35", .legWidth = hugest},
         u"внутренний диаметр: вне разумных пределов"_qs},
        {"huge leg",
         0,
         {.windowWidth = "50", .windowHeight = "60", .legWidth = hugest},
         u"ширина стержня: вне разумных пределов"_qs},
    };
    QTemporaryDir folder;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const calc::Figure<calc::WindingSizes> drawing = drawingOf(c.coreType, c.typed);
        const QString pdf = folder.filePath(QString::fromUtf8(c.name) + u".pdf"_qs);
        ASSERT_FALSE(reports::SaveWorkshopSheet(
            pdf, {u"Лист намотки"_qs,
                  {},
                  {},
                  {{u"Сердечник и обмотки"_qs, [&drawing](QPainter &painter, const QRectF &area) {
                        PaintWinding(painter, area, drawing, PaperPalette());
                    }}}}));
        const ToolRun check = run(u"qpdf"_qs, {u"--check"_qs, pdf});
        EXPECT_EQ(check.status, 0) << "qpdf: " << check.output.toStdString() << check.errors.toStdString();
        const ToolRun render = run(u"pdftoppm"_qs, {u"-r"_qs, u"20"_qs, u"-png"_qs, pdf, folder.filePath(u"page"_qs)});
        EXPECT_EQ(render.status, 0);
        EXPECT_TRUE(render.errors.isEmpty()) << "pdftoppm: " << render.errors.toStdString();
        const QString text = reports::test::ToolOutput(u"pdftotext"_qs, {pdf, u"-"_qs});
        EXPECT_TRUE(text.contains(c.drawn)) << text.toStdString();
    }
}

}  // namespace
}  // namespace tremira::ui
