#pragma once
// The drawing of the winding plan painted: the shapes of winding_layout.h with their names, the
// sizes under them, and what does not fit hatched beyond the window; for screen readers the same
// in words.

#include <QPalette>
#include <QRectF>
#include <QWidget>

#include "calc/figures.h"
#include "ui/check/drawing/winding_layout.h"
#include "ui/check/painted_figure.h"

class QFontMetricsF;
class QPainter;

namespace tremira::ui {

// The fill of a part and the ink of the names and lines drawn over it. The windings' fills stand
// out from each other and from the window at 3:1 (WCAG's non-text contrast); the ink reads on its
// fill. What does not fit has no fill of its own: the windings show through its hatching.
struct PartColours {
    QColor fill;
    QColor ink;
};
PartColours ColoursOf(WindingPart part, const QPalette &palette);

// The drawing's shapes, dimensions and scale bar as PaintWinding places them in `area` with the
// font of `metrics`, above the captions.
DimensionedWinding LayOutPainted(const WindingSizes &sizes, const QRectF &area, const QFontMetricsF &metrics);

// Paints the drawing with its labels and size captions into `area` in the colours of `palette`;
// sizes that cannot be drawn give the reason in its place.
void PaintWinding(QPainter &painter, const QRectF &area, const calc::Figure<WindingSizes> &sizes,
                  const QPalette &palette);

// Dark on white, for paper whatever the screen's palette.
QPalette PaperPalette();

// What the drawing shows, in words: the captions and the verdict, or the reason it stands in
// place of.
QString WindingDescription(const calc::Figure<WindingSizes> &sizes);

class WindingDrawing : public PaintedFigure<WindingSizes> {
public:
    explicit WindingDrawing(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

}  // namespace tremira::ui
