#pragma once
// The palette of every style Qt offers on this machine, by the style's key: the desktop styles'
// light, dark and high-contrast ones among them, as the program takes them over at its start.

#include <QPalette>
#include <QString>
#include <QStyle>
#include <QStyleFactory>

#include <memory>
#include <utility>
#include <vector>

namespace tremira::testing {

inline std::vector<std::pair<QString, QPalette>> EveryStylePalette() {
    std::vector<std::pair<QString, QPalette>> palettes;
    for (const QString &key : QStyleFactory::keys()) {
        const std::unique_ptr<QStyle> style(QStyleFactory::create(key));
        palettes.emplace_back(key, style->standardPalette());
    }
    return palettes;
}

}  // namespace tremira::testing
