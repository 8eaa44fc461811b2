#pragma once
// The winding plan's page of the check window: the plan's fields (the leg's sides, the current
// taps, a second mains voltage), its figures as the check window works them out, and the
// drawing of the windings in the core window.

#include <QWidget>

#include <vector>

#include "calc/figures.h"
#include "calc/winding_plan.h"

class QLineEdit;
class QPainter;
class QRectF;

namespace tremira::help {
class ContextHelpFilter;
}

namespace tremira::ui {

class FigureGroup;
class NumericEntryFilter;
class WindingDrawing;

class PlanPanel : public QWidget {
    Q_OBJECT
public:
    // A group for each section of the plan; every field takes F1 to the plan's topic.
    PlanPanel(const std::vector<calc::FigureSection> &plan, NumericEntryFilter &filter,
              help::ContextHelpFilter &contextHelp, QWidget *parent = nullptr);

    void showPlan(const std::vector<calc::FigureSection> &plan, const calc::Figure<calc::WindingSizes> &drawing);
    // The plan's typed field `name`; none when it has no such field.
    QLineEdit *input(QStringView name) const;
    // The drawing for paper: dark on white whatever the screen's colours.
    void paintDrawing(QPainter &painter, const QRectF &area) const;

signals:
    void edited();

private:
    std::vector<FigureGroup *> m_groups;  // one per section, in the plan's order
    WindingDrawing *m_drawing = nullptr;
};

}  // namespace tremira::ui
