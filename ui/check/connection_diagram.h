#pragma once
// The connection diagram painted: winding I from its start with its leads, the tap switch, the
// mains voltages and winding II's leads to the holder and the clamp, scaled down to fit where it
// is larger than its area; for screen readers the same in words.

#include <QPalette>
#include <QRectF>
#include <QWidget>

#include "calc/connection_diagram.h"

class QPainter;

namespace tremira::ui {

// Paints the diagram into `area` in the colours of `palette`; connections that cannot be drawn
// give the reason in their place.
void PaintConnections(QPainter &painter, const QRectF &area, const calc::Figure<calc::Connections> &connections,
                      const QPalette &palette);

// Which leads go where, in words.
QString ConnectionsDescription(const calc::Figure<calc::Connections> &connections);

class ConnectionDiagram : public QWidget {
public:
    explicit ConnectionDiagram(QWidget *parent = nullptr);

    void setConnections(const calc::Figure<calc::Connections> &connections);
    // The diagram as the widget shows it, onto any painter (a PDF page among them).
    void paint(QPainter &painter, const QRectF &area, const QPalette &palette) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    calc::Figure<calc::Connections> m_connections = calc::NoFigure::NotGiven;
};

}  // namespace tremira::ui
