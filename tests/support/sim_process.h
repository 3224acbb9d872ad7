#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

namespace q93::test {

// The real simulated encoder (build/bin/q93sim) as a child process, for tests that talk to
// it over TCP or a pseudo-terminal.
//
//   SimProcess sim({"--tcp", "127.0.0.1:0"});
//   ASSERT_TRUE(sim.ready()) << sim.error();
//   connect to sim.host() : sim.port() ...
//
//   SimProcess serial({"--pty", "--serial-ack", "0"});
//   open serial.ptyPath() ...
//
// The constructor starts q93sim with the given arguments (without the program name) and
// waits up to startTimeoutMs for its first stdout line, "tcp HOST:PORT" or "pty /dev/pts/N"
// (with both --tcp and --pty: for both lines, so host/port and ptyPath are all set).
// The child's stderr goes to a file that stderrText() reads; its stdin is /dev/null.
// The destructor stops a running child with SIGTERM and waits for it (SIGKILL after 5 s).
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args, int startTimeoutMs = 5000);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // True once the line(s) arrived and could be read as "tcp HOST:PORT" / "pty PATH".
    bool ready() const { return ready_; }
    // Why it is not ready (could not start, exited, time-out, unexpected first line).
    const std::string& error() const { return error_; }
    // The first stdout line as printed, without the newline.
    const std::string& firstLine() const { return firstLine_; }

    // From a "tcp HOST:PORT" line; empty / 0 otherwise.
    const std::string& host() const { return host_; }
    int port() const { return port_; }
    // From a "pty PATH" line; empty otherwise.
    const std::string& ptyPath() const { return ptyPath_; }

    pid_t pid() const { return pid_; }
    // Everything the child wrote to stderr so far.
    std::string stderrText() const;

    // Sends SIGTERM and waits up to timeoutMs for the child to end; returns its exit code
    // (0 on a clean shutdown), or -1 when it was killed by a signal or did not end in time
    // (it is then killed). Later calls return the same value. The destructor calls it.
    int stop(int timeoutMs = 5000);

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    bool ready_ = false;
    bool stopped_ = false;
    int exitCode_ = -1;
    std::string error_;
    std::string firstLine_;
    std::string host_;
    int port_ = 0;
    std::string ptyPath_;
    std::string stderrPath_;
};

}  // namespace q93::test
