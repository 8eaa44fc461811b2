#pragma once
// A figure of the plan painted on the page's base, and onto any painter (a PDF page among them)
// through paint(); screen readers hear its name and, in words, what it shows.

#include <QPainter>
#include <QPalette>
#include <QRectF>
#include <QWidget>

#include "calc/figures.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {

// Sets `painter` up for a figure: smooth lines in the palette's text colour. A figure that cannot
// be drawn gets the reason written in the middle of `area` instead, and false.
template <typename T>
bool ReadyToPaint(QPainter &painter, const QRectF &area, const calc::Figure<T> &figure, const QPalette &palette) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette.color(QPalette::Text));
    if (figure.known()) return true;
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, ToQString(calc::ReasonText(figure.why())));
    return false;
}

template <typename T>
class PaintedFigure : public QWidget {
public:
    using Painter = void (*)(QPainter &, const QRectF &, const calc::Figure<T> &, const QPalette &);
    using Describer = QString (*)(const calc::Figure<T> &);

    PaintedFigure(const QString &name, Painter painter, Describer describer, QWidget *parent = nullptr)
        : QWidget(parent), m_painter(painter), m_describer(describer) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setAccessibleName(name);
        setAccessibleDescription(m_describer(m_figure));
    }

    // A figure that cannot be drawn: the picture says why.
    void setFigure(const calc::Figure<T> &figure) {
        m_figure = figure;
        // Qt tells a screen reader reading the picture that its description changed.
        setAccessibleDescription(m_describer(figure));
        updateGeometry();
        update();
    }
    void paint(QPainter &painter, const QRectF &area, const QPalette &palette) const {
        m_painter(painter, area, m_figure, palette);
    }

protected:
    static constexpr int kMargin = 4;  // pixels round the picture

    const calc::Figure<T> &figure() const { return m_figure; }

    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
        paint(painter, QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin), palette());
    }

private:
    Painter m_painter;
    Describer m_describer;
    calc::Figure<T> m_figure = calc::NoFigure::NotGiven;
};

}  // namespace tremira::ui
