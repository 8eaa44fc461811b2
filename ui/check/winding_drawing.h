#pragma once
// The drawing of the winding plan: the core window to scale (the c × h window of a rod core, or
// the toroid's round hole), the steel round it, and winding I and winding II as bands of their
// builds on the leg; what does not fit is drawn hatched beyond the window. The shapes come from
// a plain function; the widget and the sheet paint the same shapes.

#include <QPalette>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

#include "calc/winding_plan.h"

class QPainter;

namespace tremira::ui {

using calc::WindingSizes;
using calc::WindowShape;

enum class WindingPart { Steel, Window, WindingI, WindingII, Overflow };

// One filled shape: a rectangle, or (round) an ellipse in `outer` less the ellipse in `hole`.
struct WindingPiece {
    WindingPart part;
    QRectF outer;
    std::optional<QRectF> hole;
    QRectF labelSpace;  // its name is written in the middle of it
    bool round = false;
    QString label;  // empty: no name of its own, or no room to show one
};

// The shapes of `sizes` in painting order, scaled to fit `area` and centred in it; none for
// sizes that cannot be drawn (a window without a size).
std::vector<WindingPiece> LayOutWinding(const WindingSizes &sizes, const QRectF &area);

// Paints the drawing with its labels and size captions into `area` in the colours of `palette`;
// sizes that cannot be drawn give the reason in its place.
void PaintWinding(QPainter &painter, const QRectF &area, const calc::Figure<WindingSizes> &sizes,
                  const QPalette &palette);

// Dark on white, for paper whatever the screen's palette.
QPalette PaperPalette();

class WindingDrawing : public QWidget {
public:
    explicit WindingDrawing(QWidget *parent = nullptr);

    // Sizes that cannot be drawn: the drawing says why.
    void setSizes(const calc::Figure<WindingSizes> &sizes);
    // The drawing as the widget shows it, onto any painter (a PDF page among them).
    void paint(QPainter &painter, const QRectF &area, const QPalette &palette) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    calc::Figure<WindingSizes> m_sizes = calc::NoFigure::NotGiven;
};

}  // namespace tremira::ui
