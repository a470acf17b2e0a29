#include "ops/EventWaits.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void SleepInEventLoop(int ms)
{
    if (ms <= 0)
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    // The chip's timing rests on these waits (1 ms before a read, 20 ms after an erase):
    // a coarse timer could end them early.
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
    // An application that is quitting ends every event loop at once; the chip still gets its
    // time.
    const qint64 left = ms - elapsed.elapsed();
    if (left > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(left));
}
