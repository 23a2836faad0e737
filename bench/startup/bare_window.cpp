// The reference for the main window's start-up: an empty top-level window, nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
