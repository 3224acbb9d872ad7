#include "tests/support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/deadline.h"
#include "tests/support/process_runner.h"

namespace q93::test {

using Clock = TestClock;

SimProcess::SimProcess(const std::vector<std::string>& args, int startTimeoutMs) {
    char errTemplate[] = "/tmp/q93sim-stderr-XXXXXX";
    const int errFd = mkstemp(errTemplate);
    if (errFd < 0) {
        error_ = "cannot create the stderr file";
        return;
    }
    stderrPath_ = errTemplate;
    int outPipe[2];
    if (pipe(outPipe) != 0) {
        close(errFd);
        error_ = "pipe failed";
        return;
    }
    const std::string program = binPath("q93sim");
    pid_ = fork();
    if (pid_ == 0) {
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, 0);
        dup2(outPipe[1], 1);
        dup2(errFd, 2);
        close(outPipe[0]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errFd);
    if (pid_ < 0) {
        close(outPipe[0]);
        error_ = "fork failed";
        return;
    }
    outFd_ = outPipe[0];

    // One line per transport: "tcp ..." first, then "pty ..." when both are asked for.
    bool wantTcp = false, wantPty = false;
    for (const std::string& arg : args) {
        if (arg == "--tcp" || arg.rfind("--tcp=", 0) == 0)
            wantTcp = true;
        if (arg == "--pty")
            wantPty = true;
    }
    if (!wantTcp && !wantPty)
        wantTcp = true;  // q93sim's default transport
    const int lines = (wantTcp ? 1 : 0) + (wantPty ? 1 : 0);

    const auto deadline = Clock::now() + std::chrono::milliseconds(startTimeoutMs);
    for (int i = 0; i < lines; ++i) {
        std::string line;
        bool gotLine = false;
        while (!gotLine) {
            const int left = millisecondsLeft(deadline);
            if (left == 0) {
                error_ = "no " + std::string(i == 0 ? "first" : "second") +
                         " line from q93sim within " + std::to_string(startTimeoutMs) + " ms";
                return;
            }
            pollfd fd{outFd_, POLLIN, 0};
            const int n = poll(&fd, 1, left);
            if (n <= 0)
                continue;
            char c;
            const ssize_t got = read(outFd_, &c, 1);
            if (got == 1) {
                if (c == '\n') {
                    gotLine = true;
                } else {
                    line.push_back(c);
                }
            } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
                error_ = "q93sim ended before its first line; stderr: " + stderrText();
                return;
            }
        }
        if (i == 0)
            firstLine_ = line;
        if (line.rfind("tcp ", 0) == 0) {
            const std::string address = line.substr(4);
            const std::size_t colon = address.rfind(':');
            if (colon != std::string::npos) {
                host_ = address.substr(0, colon);
                port_ = std::atoi(address.c_str() + colon + 1);
            }
            if (port_ <= 0) {
                error_ = "unexpected line: " + line;
                return;
            }
        } else if (line.rfind("pty ", 0) == 0 && line.size() > 4) {
            ptyPath_ = line.substr(4);
        } else {
            error_ = "unexpected line: " + line;
            return;
        }
    }
    ready_ = true;
}

SimProcess::~SimProcess() {
    stop();
    if (outFd_ >= 0)
        close(outFd_);
    if (!stderrPath_.empty())
        unlink(stderrPath_.c_str());
}

std::string SimProcess::stderrText() const {
    if (stderrPath_.empty())
        return {};
    std::ifstream in(stderrPath_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int SimProcess::stop(int timeoutMs) {
    if (stopped_ || pid_ <= 0)
        return exitCode_;
    stopped_ = true;
    kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_)
            break;
        if (done < 0 && errno != EINTR)
            return exitCode_ = -1;
        if (millisecondsLeft(deadline) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            return exitCode_ = -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exitCode_;
}

}  // namespace q93::test
