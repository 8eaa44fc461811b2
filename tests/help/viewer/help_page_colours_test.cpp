// Every text of every help page reads on its background under the palette of every style Qt offers
// here (the desktop styles' dark ones among them) and a dark palette of the program's own.

#include <QApplication>
#include <QTextBlock>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "colours/readable_colour.h"
#include "help/viewer/help_window.h"
#include "tests/help/viewer/shown_help_window.h"
#include "tests/support/style_palettes.h"

namespace {

using tremira::help::HelpPage;
using tremira::help::HelpWindow;

QPalette darkPalette() {
    QPalette palette(QColor(53, 53, 53), QColor(53, 53, 53));  // button and window colours
    palette.setColor(QPalette::Base, QColor(42, 42, 42));
    palette.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Link, QColor(42, 130, 218));
    return palette;
}

// Each style's own palette by its key, and the dark one.
std::vector<std::pair<QString, QPalette>> everyPalette() {
    std::vector<std::pair<QString, QPalette>> palettes = tremira::testing::EveryStylePalette();
    palettes.emplace_back(QStringLiteral("dark"), darkPalette());
    return palettes;
}

// Where a fragment sets no colour of its own the page draws it in the palette's text colour on
// the palette's base, of the active group while its window has the focus, of the inactive one
// otherwise.
void expectReadableTexts(const HelpPage &page, QPalette::ColorGroup group) {
    QPalette palette = page.palette();
    palette.setCurrentColorGroup(group);
    for (QTextBlock block = page.document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (fragment.fragment().text().trimmed().isEmpty()) continue;
            const QColor text = format.foreground().style() != Qt::NoBrush ? format.foreground().color()
                                                                           : palette.color(QPalette::Text);
            QColor background = palette.color(QPalette::Base);
            if (block.blockFormat().background().style() != Qt::NoBrush)
                background = block.blockFormat().background().color();
            if (format.background().style() != Qt::NoBrush) background = format.background().color();
            SCOPED_TRACE(fragment.fragment().text().toStdString() + " " + text.name().toStdString() + " on " +
                         background.name().toStdString());
            EXPECT_GE(tremira::colours::ContrastRatio(text, background), tremira::colours::kReadableContrast);
        }
    }
}

TEST(HelpPageColours, EveryTextOfEveryPageReadsOnEveryStylesPaletteFocusedOrNot) {
    const QPalette before = QApplication::palette();
    for (const auto &[name, palette] : everyPalette()) {
        SCOPED_TRACE(name.toStdString());
        QApplication::setPalette(palette);
        HelpWindow window(QStringLiteral(TREMIRA_HELP_READER));
        window.showHelp(QStringLiteral(TREMIRA_HELP_FILE), std::nullopt);
        const HelpPage *page = tremira::testing::ShownPage(&window);
        QTreeWidget *contents = tremira::testing::ShownContents(&window);
        ASSERT_GT(contents->topLevelItemCount(), 0);
        for (QTreeWidgetItemIterator it(contents); *it; ++it) {
            SCOPED_TRACE((*it)->text(0).toStdString());
            emit contents->itemActivated(*it, 0);
            ASSERT_FALSE(page->document()->isEmpty());
            expectReadableTexts(*page, QPalette::Active);
            expectReadableTexts(*page, QPalette::Inactive);
        }
    }
    QApplication::setPalette(before);
}

}  // namespace
