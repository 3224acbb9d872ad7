#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace q93::test {

// q93ctl watch running in `directory`, from its first line ("serving http://HOST:PORT/metrics",
// or https) until stop() or the end of the test; stderr goes to a file there.
class WatchProcess {
public:
    // `descriptors`, when given, is the watch's limit of open files (soft and hard). Waits up
    // to 5 s for the first line, or for the watch to end without one.
    WatchProcess(const std::filesystem::path& directory, const std::vector<std::string>& args,
                 rlim_t descriptors = 0);
    ~WatchProcess();
    WatchProcess(const WatchProcess&) = delete;
    WatchProcess& operator=(const WatchProcess&) = delete;

    // The port of the first line; 0 when there was none.
    int port() const { return port_; }
    // The first line without its newline; empty when the watch ended without one.
    const std::string& firstLine() const { return line_; }
    std::string errText() const;
    // Whether stderr holds `part` within `bound`, looked at every 50 ms.
    bool errHolds(const std::string& part, std::chrono::steady_clock::duration bound) const;

    // SIGTERM, then the exit status and how long the watch took to end (up to 5 s).
    std::pair<int, std::chrono::steady_clock::duration> stop();

private:
    void readFirstLine(int fd);

    pid_t pid_ = -1;
    int port_ = 0;
    std::string line_;
    std::string errPath_;
};

}  // namespace q93::test
