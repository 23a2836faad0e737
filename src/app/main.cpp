#include "MainWindow.h"
#include "TavrinVersion.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setApplicationVersion(QStringLiteral(TAVRIN_VERSION_STRING));
    // Lets Wayland compositors match the window to its installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.Tavrin"));
    QApplication::setQuitOnLastWindowClosed(true);

    tavrin::ui::MainWindow window;
    window.show();
    return QApplication::exec();
}
