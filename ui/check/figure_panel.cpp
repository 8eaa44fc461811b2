#include "ui/check/figure_panel.h"

#include <QGridLayout>

#include "help/context_help_filter.h"
#include "ui/check/figure_group.h"

namespace tremira::ui {

FigurePanel::FigurePanel(const std::vector<calc::FigureSection> &sections, std::span<const PanelPlace> places,
                         QWidget *picture, PanelPlace picturePlace, NumericEntryFilter &filter,
                         help::ContextHelpFilter &contextHelp, help::HelpTopic topic, QWidget *parent)
    : QWidget(parent) {
    auto *grid = new QGridLayout(this);
    for (std::size_t i = 0; i < sections.size() && i < places.size(); ++i) {
        auto *group = new FigureGroup(sections[i], filter, contextHelp, topic, this);
        connect(group, &FigureGroup::edited, this, &FigurePanel::edited);
        const PanelPlace &at = places[i];
        grid->addWidget(group, at.row, at.column, at.rowSpan, at.columnSpan);
        m_groups.push_back(group);
    }
    ShareCaptionColumn(m_groups);
    // Columns of equal share: their widths never follow the figures, which come and go as the
    // user types.
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    picture->setParent(this);
    grid->addWidget(picture, picturePlace.row, picturePlace.column, picturePlace.rowSpan, picturePlace.columnSpan);
}

void FigurePanel::showFigures(const std::vector<calc::FigureSection> &sections) {
    for (std::size_t i = 0; i < m_groups.size(); ++i) m_groups[i]->showFigures(sections[i]);
}

QWidget *FigurePanel::input(QStringView name) const {
    for (const FigureGroup *group : m_groups) {
        if (QWidget *field = group->input(name)) return field;
    }
    return nullptr;
}

}  // namespace tremira::ui
