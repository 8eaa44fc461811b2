// The reference for the start-up measurement: a Qt main window of the same size with a menu
// bar and one line edit holding text, as any real form has (the first text costs the font
// database, the menu bar its style), nothing else.

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.menuBar()->addMenu(QStringLiteral("Файл"))->addAction(QStringLiteral("Выход"));
    window.setCentralWidget(new QLineEdit(QStringLiteral("220"), &window));
    window.resize(522, 279);
    window.show();
    return app.exec();
}
