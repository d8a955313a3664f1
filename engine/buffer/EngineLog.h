#pragma once
// Internal failures of the engine write one line to the log, once per
// process for each kind. The sink is plain C++ so that the engine stays
// free of any platform; the application routes it to its own logging.

#include <atomic>
#include <string>

namespace gelcoat {

class BitmapRep;

using EngineLogSink = void (*)(const std::string& line);

// Replaces the sink (stderr by default); returns the previous one.
EngineLogSink setEngineLogSink(EngineLogSink sink);
void engineLog(const std::string& line);

// A message that is written the first time only.
class OnceOnlyLog {
public:
    explicit OnceOnlyLog(const char* prefix) : prefix_(prefix) {}
    // "<prefix> -- [<name> samplesPerPixel] == %d, [<name> bitsPerPixel] == %d,
    //  [<name> isPlanar] == YES|NO", written once.
    void formatFailure(const char* name, const BitmapRep* rep);
    void line(const std::string& text);
    void resetForTesting() { done_.store(false); }

private:
    const char* prefix_;
    std::atomic<bool> done_{false};
};

// Every once-only flag of the engine, for tests that count log lines.
void resetEngineLogFlagsForTesting();

} // namespace gelcoat
