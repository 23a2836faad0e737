// A second reference for the main window's start-up: a main window with a menu bar and one
// line of text. Any window that shows text pays for the font database and the fonts, which
// the bare window never loads; the gap between the two references is that cost.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Text window"));
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Open"));
    window.setCentralWidget(new QLabel(QStringLiteral("One line of text")));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
