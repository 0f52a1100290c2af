#include "PaintingWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QtMath>

namespace tk {

namespace {
double scaleOfWaits = 1.0;
}

void setWaitScale(double scale) { scaleOfWaits = scale < 0 ? 0 : scale; }
double waitScale() { return scaleOfWaits; }

void waitPainting(int milliseconds)
{
    const int scaled = qRound(milliseconds * scaleOfWaits);
    if (scaled <= 0) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(scaled, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tk
