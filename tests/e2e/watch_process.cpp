#include "tests/e2e/watch_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "tests/support/process_runner.h"
#include "tests/support/temp_dir.h"

namespace q93::test {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

WatchProcess::WatchProcess(const std::filesystem::path& directory,
                           const std::vector<std::string>& args, rlim_t descriptors)
    : errPath_((directory / "watch.err").string()) {
    int out[2];
    if (::pipe(out) != 0)
        return;
    std::vector<std::string> words{binPath("q93ctl")};
    words.insert(words.end(), args.begin(), args.end());
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        const int err = ::open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        if (::chdir(directory.c_str()) != 0)
            ::_exit(127);
        const rlimit limit{descriptors, descriptors};
        if (descriptors != 0 && ::setrlimit(RLIMIT_NOFILE, &limit) != 0)
            ::_exit(127);
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    readFirstLine(out[0]);
    ::close(out[0]);
}

WatchProcess::~WatchProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string WatchProcess::errText() const {
    return readFileBytes(errPath_);
}

bool WatchProcess::errHolds(const std::string& part,
                            std::chrono::steady_clock::duration bound) const {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        if (errText().find(part) != std::string::npos)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::pair<int, Clock::duration> WatchProcess::stop() {
    const auto start = Clock::now();
    ::kill(pid_, SIGTERM);
    int status = 0;
    while (Clock::now() - start < 5s) {
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Clock::now() - start};
        }
        std::this_thread::sleep_for(10ms);
    }
    return {-1, Clock::now() - start};
}

void WatchProcess::readFirstLine(int fd) {
    std::string line;
    const auto deadline = Clock::now() + 5s;
    while (line.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0)
            continue;
        char c;
        if (::read(fd, &c, 1) != 1)
            break;
        line += c;
    }
    line_ = line.substr(0, line.find('\n'));
    for (const std::string head : {"serving http://127.0.0.1:", "serving https://127.0.0.1:"})
        if (line_.rfind(head, 0) == 0)
            port_ = std::atoi(line_.c_str() + head.size());
}

}  // namespace q93::test
