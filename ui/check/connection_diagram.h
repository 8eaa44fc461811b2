#pragma once
// The connection diagram painted: winding I from its start with its leads, the tap switch, the
// mains voltages and winding II's leads to the holder and the clamp, scaled down to fit where it
// is larger than its area; for screen readers the same in words.

#include <QPalette>
#include <QRectF>
#include <QWidget>

#include "calc/connection_diagram.h"
#include "ui/check/painted_figure.h"

class QPainter;

namespace tremira::ui {

// Paints the diagram into `area` in the colours of `palette`; connections that cannot be drawn
// give the reason in their place.
void PaintConnections(QPainter &painter, const QRectF &area, const calc::Figure<calc::Connections> &connections,
                      const QPalette &palette);

// Which leads go where, in words.
QString ConnectionsDescription(const calc::Figure<calc::Connections> &connections);

class ConnectionDiagram : public PaintedFigure<calc::Connections> {
public:
    explicit ConnectionDiagram(QWidget *parent = nullptr);

    QSize sizeHint() const override;  // the diagram at its own size
    QSize minimumSizeHint() const override;
};

}  // namespace tremira::ui
