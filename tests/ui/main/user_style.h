#pragma once
// A style as a user chooses it with -style or QT_STYLE_OVERRIDE: the application's style before
// the program prepares its look, as main() does, for the length of one test.

#include <QApplication>
#include <QPalette>
#include <QString>
#include <QStyle>
#include <QStyleFactory>

#include <functional>
#include <utility>
#include <vector>

#include "ui/main/program_start.h"

namespace tremira::testing {

class UserStyle {
public:
    explicit UserStyle(QStyle *style) : m_palette(QApplication::palette()) {
        QApplication::setStyle(style);
        ui::UseOwnWidgetStyle();
    }
    ~UserStyle() {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(m_palette);
    }
    UserStyle(const UserStyle &) = delete;
    UserStyle &operator=(const UserStyle &) = delete;

private:
    QPalette m_palette;
};

// A style by its name, made anew for each use.
using NamedStyle = std::pair<QString, std::function<QStyle *()>>;

// Every style Qt offers on this machine, each by its key, and one of the test's own after them.
inline std::vector<NamedStyle> EveryStyleAnd(NamedStyle own) {
    std::vector<NamedStyle> styles;
    for (const QString &key : QStyleFactory::keys())
        styles.emplace_back(key, [key] { return QStyleFactory::create(key); });
    styles.push_back(std::move(own));
    return styles;
}

}  // namespace tremira::testing
