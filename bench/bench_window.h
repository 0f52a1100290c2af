#pragma once
// Driving the real window the way its event loop would between a user's keys.
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

// Everything a change set going: the posted events it causes and the ones
// those cause, the paint included (bounded, should something keep posting).
inline void processUntilIdle()
{
    QApplication::processEvents(QEventLoop::AllEvents, 1000);
}

// The window as a user finds it before the first key. A shown window's
// layouts settle over several passes of the event loop and the style's
// animations run for a moment; left pending, they would be charged to
// whatever is timed next.
inline void settle(int forMs = 300)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < forMs) {
        processUntilIdle();
        QThread::msleep(5);
    }
}
