#include "MainWindow.h"
#include "TavrinVersion.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The menus stay in the window, where its layout draws them, on every desktop. Asking the
    // session bus for a global menu bar also cost a tenth of the start-up before the window showed.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
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
