// The reference for the start-up measurement: an empty Qt main window of the same size,
// nothing else.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(522, 279);
    window.show();
    return app.exec();
}
