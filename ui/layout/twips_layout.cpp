#include "ui/layout/twips_layout.h"

#include <QStringList>

namespace tremira::ui {

QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

QFont PixelFont(int pixelSize, const QString &family) {
    QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    if (!family.isEmpty()) {
        families.prepend(family);
    }
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace tremira::ui
