#pragma once
// The connection diagram's shapes, worked out without painting: winding I as a coil from its
// start with a lead at every tap and at the second mains voltage's turn, each marked with its
// turn; the switch that picks the tap; which leads each mains voltage takes; winding II's two
// leads to the electrode holder, through the choke when there is one, and the earth clamp. Laid out at its own size,
// which the painter scales into its area.

#include <QLineF>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

#include "calc/connection_diagram.h"

namespace tremira::ui {

struct DiagramText {
    QRectF space;  // the text is written at its left, in the middle of its height
    QString text;
};

// A lead of winding I: where it leaves the coil, and its turn written beside it.
struct DiagramLead {
    int turns;
    QPointF at;
    DiagramText label;  // "виток 83"; "начало" for the start
};

struct ConnectionLayout {
    QSizeF size;
    std::vector<QRectF> coilTurns;  // each a half circle bulging left, in the square given
    std::vector<QRectF> chokes;     // a box on the wire it sits in
    std::vector<QLineF> wires;
    std::vector<QPointF> terminals;  // where a lead is brought out to be connected
    std::vector<DiagramText> texts;  // the windings' names, what each lead goes to, the notes
    std::vector<DiagramLead> leads;  // winding I's, in turn order
};

// The diagram of `connections` for text `lineHeight` high, whose widths `textWidth` measures.
ConnectionLayout LayOutConnections(const calc::Connections &connections, double lineHeight,
                                   const std::function<double(const QString &)> &textWidth);

}  // namespace tremira::ui
