// The reference for the start-up measurement: a Qt main window of the same size showing one
// line of text, as any real window does (the first text costs the font database), nothing else.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setCentralWidget(new QLabel(QStringLiteral("Ввод данных"), &window));
    window.resize(522, 279);
    window.show();
    return app.exec();
}
