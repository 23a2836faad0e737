#include "Sleep.h"

#include <QEventLoop>
#include <QTimer>

namespace tavrin::link {

bool sleepTicks(int count)
{
    if (count <= 0)
        return true;
    int ticks = 0;
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(kSleepTick);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (++ticks >= count) {
            timer.stop();
            loop.quit();
        }
    });
    timer.start();
    loop.exec();
    timer.stop();
    return ticks >= count;
}

} // namespace tavrin::link
