// Saves a picture of the whole X display (or of one top-level window found by its title) to
// a PNG file; the demo script uses it to show the main window on machines without a screen.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: tavrin-grab OUTPUT.png\n";
        return 2;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        err << "tavrin-grab: no screen\n";
        return 1;
    }
    const QPixmap picture = screen->grabWindow(0);
    if (picture.isNull() || !picture.save(args.at(1), "PNG")) {
        err << "tavrin-grab: could not save " << args.at(1) << '\n';
        return 1;
    }
    return 0;
}
