#pragma once
// A page of the check window laid out on a grid: a group for each section of figures, each at
// its place, and one picture (the winding drawing, the welding chart) at its own.

#include <QWidget>

#include <span>
#include <vector>

#include "calc/figures.h"
#include "help/help_topics.h"

namespace tremira::help {
class ContextHelpFilter;
}

namespace tremira::ui {

class FigureGroup;
class NumericEntryFilter;

// Row, column, rows and columns spanned on the page's grid.
struct PanelPlace {
    int row, column, rowSpan, columnSpan;
};

class FigurePanel : public QWidget {
    Q_OBJECT
public:
    // A group for each section with a place; every field takes F1 to `topic`.
    FigurePanel(const std::vector<calc::FigureSection> &sections, std::span<const PanelPlace> places, QWidget *picture,
                PanelPlace picturePlace, NumericEntryFilter &filter, help::ContextHelpFilter &contextHelp,
                help::HelpTopic topic, QWidget *parent = nullptr);

    void showFigures(const std::vector<calc::FigureSection> &sections);
    // The typed field or choice `name`; none when the page has no such input.
    QWidget *input(QStringView name) const;

signals:
    void edited();

private:
    std::vector<FigureGroup *> m_groups;  // one per placed section, in the sections' order
};

}  // namespace tremira::ui
