#include "ui/main/program_start.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "desktop/program_icon.h"
#include "ui/main/menu_bar_keys.h"
#include "ui/main/message_box.h"

namespace tremira::ui {

void PrepareApplication(QCoreApplication &app) {
    // The application name, not the display name: Qt appends a display name to every window
    // caption on X11, and the window's caption must stay exactly its own.
    QCoreApplication::setApplicationName(QStringLiteral("Тремира"));
    QGuiApplication::setDesktopFileName(desktop::DesktopFileName());
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

void UseOwnWidgetStyle() {
    // Every colour of every group marked as set, so that the new style does not bring its own.
    const QPalette chosen = QApplication::palette();
    QPalette kept;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto colourGroup = static_cast<QPalette::ColorGroup>(group);
            const auto colourRole = static_cast<QPalette::ColorRole>(role);
            kept.setBrush(colourGroup, colourRole, chosen.brush(colourGroup, colourRole));
        }
    }
    QApplication::setStyle(new KeyboardMenuBarStyle);
    QApplication::setPalette(kept);
}

void ShowAlreadyRunning() {
    ShowMessage(nullptr, QStringLiteral("Проект уже запущен!"), QString(), QMessageBox::NoIcon);
}

QString ProgramFolder(const QString &executableFolder) {
    QString folder = executableFolder;
    if (folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
}

}  // namespace tremira::ui
