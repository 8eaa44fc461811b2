// Every coloured text of the main, About and check windows reads on its background under a light
// and a dark palette; on a light palette the main window's and the About window's own colours
// stay exactly as they are.

#include <QGroupBox>

#include <optional>
#include <vector>

#include "calc/design_calculation.h"
#include "colours/readable_colour.h"
#include "form1_fixture.h"
#include "help/context_help_filter.h"
#include "tests/reports/run_a.h"
#include "ui/about/form_about.h"
#include "ui/check/form_check.h"

namespace {

using tremira::colours::ContrastRatio;

// A text in its colour on its background, and the colour it must keep on a light palette.
struct ColouredText {
    std::string name;
    QColor text;
    QColor background;
    std::optional<QColor> fixedOnLight;
};

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

std::vector<ColouredText> mainWindowTexts() {
    tremira::testing::ViewerRecorder helpViewer;
    tremira::ui::Form1 window(QCoreApplication::applicationDirPath(), helpViewer.call(), QString());
    std::vector<ColouredText> texts;
    for (const auto &[name, caption] : {std::pair{"Frame2", kGreen}, std::pair{"Frame1", kRed}}) {
        const QPalette palette = window.findChild<QGroupBox *>(QLatin1String(name))->palette();
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
            texts.push_back({name, palette.color(role), palette.color(QPalette::Window), caption});
    }
    for (const char *name : {"Text5", "Text6", "Text7", "Text8", "Text9", "Text11", "Text12"}) {
        const QPalette palette = window.findChild<QLineEdit *>(QLatin1String(name))->palette();
        texts.push_back({name, palette.color(QPalette::Text), palette.color(QPalette::Base), kRed});
    }
    return texts;
}

std::vector<ColouredText> aboutWindowTexts() {
    tremira::ui::FormAbout about;
    std::vector<ColouredText> texts;
    for (const char *name : {"Label2", "Label5"}) {
        const QPalette palette = about.findChild<QWidget *>(QLatin1String(name))->palette();
        texts.push_back({name, palette.color(QPalette::WindowText), palette.color(QPalette::Window), kBlue});
    }
    return texts;
}

// With the core window left empty, the fill figures are messages; the others are numbers.
std::vector<ColouredText> checkWindowTexts() {
    const tremira::calc::DesignOutcome outcome =
        tremira::calc::CalculateDesign({"220", "65", "160", "", "1,42", 0, 0, 0});
    const tremira::ui::ShownDesign design{
        .snapshot = tremira::reports::test::RunA(), .inputs = *outcome.inputs, .results = *outcome.results};
    tremira::testing::ViewerRecorder helpViewer;
    tremira::help::ContextHelpFilter contextHelp(QStringLiteral("/opt/tremira/Тремира.chm"), helpViewer.call());
    tremira::ui::FormCheck check(design, contextHelp);
    std::vector<ColouredText> texts;
    for (const QLineEdit *field : check.findChildren<QLineEdit *>()) {
        const QPalette palette = field->palette();
        texts.push_back({"check " + field->objectName().toStdString() + " " + field->text().toStdString(),
                         palette.color(QPalette::Text), palette.color(QPalette::Base), std::nullopt});
    }
    return texts;
}

TEST(WindowColours, ReadOnALightAndADarkPaletteAndKeepTheirOwnColoursOnALightOne) {
    const QPalette before = QApplication::palette();
    for (const auto &[paletteName, palette, light] :
         // Qt derives the rest of each palette from its window colour: white or black fields.
         {std::tuple{"light", QPalette(QColor(239, 239, 239)), true},
          std::tuple{"dark", QPalette(QColor(53, 53, 53)), false}}) {
        SCOPED_TRACE(paletteName);
        QApplication::setPalette(palette);
        std::vector<ColouredText> texts = mainWindowTexts();
        for (std::vector<ColouredText> more : {aboutWindowTexts(), checkWindowTexts()})
            texts.insert(texts.end(), more.begin(), more.end());
        for (const ColouredText &t : texts) {
            SCOPED_TRACE(t.name + " " + t.text.name().toStdString() + " on " + t.background.name().toStdString());
            if (light && t.fixedOnLight) {
                EXPECT_EQ(t.text, *t.fixedOnLight);
                continue;
            }
            EXPECT_GE(ContrastRatio(t.text, t.background), tremira::colours::kReadableContrast);
        }
    }
    QApplication::setPalette(before);
}

}  // namespace
