#include "sim/sim_log.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace q93::sim {

namespace {

std::mutex& logMutex() {
    static std::mutex m;
    return m;
}

std::function<void(const std::string&)>& sinkSlot() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

std::atomic<bool> verboseOn{false};

}  // namespace

void logLine(const std::string& line) {
    std::lock_guard<std::mutex> guard(logMutex());
    if (sinkSlot()) {
        sinkSlot()(line);
        return;
    }
    std::fprintf(stderr, "q93sim: %s\n", line.c_str());
    std::fflush(stderr);
}

void logVerbose(const std::string& line) {
    if (verboseOn.load()) logLine(line);
}

void setVerbose(bool on) { verboseOn.store(on); }
bool verbose() { return verboseOn.load(); }

void setLogSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> guard(logMutex());
    sinkSlot() = std::move(sink);
}

}  // namespace q93::sim
