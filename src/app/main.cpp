#include "ui/TavrinMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setApplicationVersion(QStringLiteral("4.72"));
    QApplication::setQuitOnLastWindowClosed(true);

    tavrin::ui::TavrinMain window;
    window.show();
    return QApplication::exec();
}
