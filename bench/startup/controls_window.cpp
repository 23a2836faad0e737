// A third reference for the main window's start-up: the kinds of controls the main window has,
// in about its numbers (44 lists, 14 text boxes, 33 labels, 9 buttons, 2 check boxes, a
// progress bar, a group box, three menus), placed at fixed spots, with no logic behind them.
// What lies between this window and the bare one is Qt's cost of building and showing them.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

int main(int argc, char **argv)
{
    // As the main window: its menus stay in the window.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Controls window"));
    for (const char *menu : { "&File", "&Tools", "&Help" })
        window.menuBar()->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("&Open"));
    auto *area = new QWidget;
    window.setCentralWidget(area);

    const QStringList entries { QStringLiteral("Normal"),  QStringLiteral("Bold"),
                                QStringLiteral("Wide"),    QStringLiteral("Narrow"),
                                QStringLiteral("Outline"), QStringLiteral("Shadow"),
                                QStringLiteral("Big"),     QStringLiteral("Small") };
    for (int i = 0; i < 44; ++i) {
        auto *list = new QComboBox(area);
        list->addItems(entries);
        list->setGeometry((i % 8) * 80, (i / 8) * 24, 78, 22);
    }
    for (int i = 0; i < 14; ++i)
        (new QLineEdit(area))->setGeometry(650, i * 24, 80, 22);
    for (int i = 0; i < 33; ++i) {
        (new QLabel(QStringLiteral("Label %1").arg(i), area))
            ->setGeometry(740 + (i / 20) * 80, (i % 20) * 16, 78, 16);
    }
    for (int i = 0; i < 9; ++i) {
        (new QPushButton(QStringLiteral("Button %1").arg(i), area))
            ->setGeometry(i * 80, 340, 78, 26);
    }
    (new QCheckBox(QStringLiteral("Auto sequence messages"), area))->setGeometry(0, 380, 200, 20);
    (new QCheckBox(QStringLiteral("Force all messages to ID 0"), area))
        ->setGeometry(210, 380, 200, 20);
    (new QProgressBar(area))->setGeometry(420, 380, 200, 20);
    (new QGroupBox(QStringLiteral("Link Table"), area))->setGeometry(0, 410, 300, 100);
    window.resize(920, 540);
    window.show();
    return app.exec();
}
