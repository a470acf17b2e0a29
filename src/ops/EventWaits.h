#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <thread>

// Waits that keep the windows alive without keeping a processor core busy: each runs a local
// event loop that sleeps until an event, a timer or the awaited signal arrives.

// Waits at least ms milliseconds while window events are handled.
void SleepInEventLoop(int ms);

// Waits until sender emits the signal, or timeoutMs passes, whichever comes first, handling
// window events meanwhile. False when the application is ending and its event loops no
// longer run; the caller should then stop waiting for a click that cannot come.
template <typename Sender, typename Signal>
bool WaitForSignal(const Sender *sender, Signal signal, int timeoutMs)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    // exec() returns at once with -1 after the application was told to quit; a caller that
    // looped on it would then spin, so it is told to give up, after a short nap.
    if (loop.exec() < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return false;
    }
    return true;
}
