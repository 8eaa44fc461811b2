#include "ui/layout/twips_layout.h"

#include <QStringList>

namespace tremira::ui {

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QFont pixelFont(int pixelSize, const QString &family) {
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
