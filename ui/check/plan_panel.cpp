#include "ui/check/plan_panel.h"

#include <QGridLayout>
#include <QLineEdit>

#include "help/context_help_filter.h"
#include "ui/check/figure_group.h"
#include "ui/check/winding_drawing.h"

namespace tremira::ui {
namespace {

// Where each of the plan's sections stands: row, column, rows and columns it spans. The
// inputs, the core and the drawing on the left, the wire and the mains on the right, the taps
// across the foot.
struct Place {
    int row, column, rowSpan, columnSpan;
};
constexpr Place kPlaces[] = {{0, 0, 1, 1}, {1, 0, 1, 1}, {0, 1, 2, 1}, {3, 0, 1, 2}, {2, 1, 1, 1}};
constexpr Place kDrawingPlace{2, 0, 1, 1};

}  // namespace

PlanPanel::PlanPanel(const std::vector<calc::FigureSection> &plan, NumericEntryFilter &filter,
                     help::ContextHelpFilter &contextHelp, QWidget *parent)
    : QWidget(parent), m_drawing(new WindingDrawing(this)) {
    m_drawing->setObjectName(QStringLiteral("windingDrawing"));
    auto *grid = new QGridLayout(this);
    for (std::size_t i = 0; i < plan.size() && i < std::size(kPlaces); ++i) {
        auto *group = new FigureGroup(plan[i], filter, contextHelp, help::HelpTopic::WindingPlan, this);
        connect(group, &FigureGroup::edited, this, &PlanPanel::edited);
        const Place &at = kPlaces[i];
        grid->addWidget(group, at.row, at.column, at.rowSpan, at.columnSpan);
        m_groups.push_back(group);
    }
    ShareCaptionColumn(m_groups);
    grid->addWidget(m_drawing, kDrawingPlace.row, kDrawingPlace.column, kDrawingPlace.rowSpan,
                    kDrawingPlace.columnSpan);
}

void PlanPanel::showPlan(const std::vector<calc::FigureSection> &plan,
                         const calc::Figure<calc::WindingSizes> &drawing) {
    for (std::size_t i = 0; i < m_groups.size(); ++i) m_groups[i]->showFigures(plan[i]);
    m_drawing->setSizes(drawing);
}

QLineEdit *PlanPanel::input(QStringView name) const {
    for (const FigureGroup *group : m_groups) {
        if (QLineEdit *field = group->input(name)) return field;
    }
    return nullptr;
}

void PlanPanel::paintDrawing(QPainter &painter, const QRectF &area) const {
    m_drawing->paint(painter, area, PaperPalette());
}

}  // namespace tremira::ui
