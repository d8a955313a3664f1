#include "shared/KPClock.h"

#include <QElapsedTimer>

namespace {

std::function<double()>& testSource()
{
    static std::function<double()> source;
    return source;
}

} // namespace

double KPClock::now()
{
    if (testSource())
        return testSource()();
    static QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return double(timer.nsecsElapsed()) / 1e9;
}

void KPClock::setSourceForTesting(std::function<double()> source)
{
    testSource() = std::move(source);
}
