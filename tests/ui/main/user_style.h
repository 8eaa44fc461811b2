#pragma once
// A style as a user chooses it with -style or QT_STYLE_OVERRIDE: the application's style before
// the program prepares its look, as main() does, for the length of one test.

#include <QApplication>
#include <QPalette>
#include <QStyle>

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

}  // namespace tremira::testing
