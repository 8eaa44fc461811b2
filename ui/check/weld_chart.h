#pragma once
// The output characteristic of every tap, without the choke and with it, against the arc's
// conventional load line, with the points where they meet: where the welding current of each tap
// comes from, at a glance. For screen readers the same in words.

#include <QPalette>
#include <QRectF>
#include <QWidget>

#include "calc/weld.h"
#include "ui/check/painted_figure.h"

class QPainter;

namespace tremira::ui {

// Paints the chart into `area` in the colours of `palette`; a chart that cannot be drawn gives
// the reason in its place.
void PaintWeldChart(QPainter &painter, const QRectF &area, const calc::Figure<calc::WeldChart> &chart,
                    const QPalette &palette);

// The chart in words: each tap's welding current without the choke and with it.
QString WeldChartDescription(const calc::Figure<calc::WeldChart> &chart);

class WeldChart : public PaintedFigure<calc::WeldChart> {
public:
    explicit WeldChart(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

}  // namespace tremira::ui
