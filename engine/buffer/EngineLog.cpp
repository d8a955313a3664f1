#include "engine/buffer/EngineLog.h"

#include "engine/buffer/BitmapRep.h"

#include <cstdio>
#include <mutex>
#include <vector>

namespace gelcoat {

namespace {

void stderrSink(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

std::atomic<EngineLogSink> currentSink{&stderrSink};

std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}

std::vector<OnceOnlyLog*>& registry()
{
    static std::vector<OnceOnlyLog*> logs;
    return logs;
}

void remember(OnceOnlyLog* log)
{
    std::lock_guard lock(registryMutex());
    for (OnceOnlyLog* known : registry())
        if (known == log)
            return;
    registry().push_back(log);
}

} // namespace

EngineLogSink setEngineLogSink(EngineLogSink sink)
{
    return currentSink.exchange(sink ? sink : &stderrSink);
}

void engineLog(const std::string& line)
{
    currentSink.load()(line);
}

void OnceOnlyLog::formatFailure(const char* name, const BitmapRep* rep)
{
    const int spp = rep && !rep->isNull() ? rep->samplesPerPixel() : 0;
    const int bpp = rep && !rep->isNull() ? rep->bitsPerPixel() : 0;
    const bool planar = rep && !rep->isNull() && rep->isPlanar();
    line(std::string(prefix_) + " -- [" + name + " samplesPerPixel] == " + std::to_string(spp) +
         ", [" + name + " bitsPerPixel] == " + std::to_string(bpp) + ", [" + name +
         " isPlanar] == " + (planar ? "YES" : "NO"));
}

void OnceOnlyLog::line(const std::string& text)
{
    remember(this);
    if (!done_.exchange(true))
        engineLog(text);
}

void resetEngineLogFlagsForTesting()
{
    std::lock_guard lock(registryMutex());
    for (OnceOnlyLog* log : registry())
        log->resetForTesting();
}

} // namespace gelcoat
