#pragma once

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "base/frame_log.h"
#include "base/user_seam.h"
#include "protocol/connection_settings.h"
#include "tests/screen/display/late_peer.h"
#include "tests/support/config_home.h"
#include "tests/support/sim_process.h"

namespace q93::test {

// Runs the GUI thread's events until `done` holds or `timeoutMs` has passed; whether it
// holds.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 20000);

// One frame as a link logged it, un-stuffed, with the payload from offset 5.
struct LoggedFrame {
    std::vector<std::uint8_t> payload;
    int direction = 0;
    bool onGuiThread = false;
};

// Warnings and logged frames as the desktop tool's seam and port log receive them. From a
// thread other than the GUI thread they are handed to the GUI thread; in a blocking mode
// the caller then waits until the GUI thread has taken them, as the tool's message box
// does (and a port log that waited for its window would). Installed for its lifetime.
class GuiThreadSeam : public QObject, public UserSeam, public FrameLogger {
    Q_OBJECT

public:
    enum class Mode { Record, BlockWarnings, BlockFrames };

    explicit GuiThreadSeam(Mode mode = Mode::Record);
    ~GuiThreadSeam() override;

    void showWarning(const std::string& text) override;
    void logFrame(const std::uint8_t* bytes, int length, int direction) override;

    std::vector<std::string> warnings() const;
    std::vector<LoggedFrame> frames() const;
    // Callers waiting for the GUI thread right now.
    int waiting() const;

private:
    struct Handed {
        std::string warning;
        LoggedFrame frame;
        bool isWarning = false;
        bool done = false;
    };

    void hand(Handed& item);
    void keep(const Handed& item);
    Q_INVOKABLE void serve();

    Mode mode_;
    mutable std::mutex mutex_;
    std::condition_variable served_;
    std::deque<Handed*> queue_;
    int waiting_ = 0;
    std::vector<std::string> warnings_;
    std::vector<LoggedFrame> frames_;
};

// The payload bytes of a level query's request: "2d 03 4d 49 20" or "... 21".
std::vector<std::uint8_t> levelQueryPayload(int selector);

// q93sim (with --verbose, so it logs every connection) on TCP or on a pseudo-terminal that
// COM5 is mapped to, and the tcp.txt settings that reach it.
struct SimLine {
    const char* name;
    bool tcp;
    bool ack;
};
inline void PrintTo(const SimLine& line, std::ostream* out) {
    *out << line.name;
}

class SimEncoderLine {
public:
    explicit SimEncoderLine(const SimLine& line, const std::vector<std::string>& extra = {});

    bool ready() const { return sim_->ready(); }
    std::string error() const { return sim_->error() + "\n" + sim_->stderrText(); }
    const ConnectionSettings& settings() const { return settings_; }
    // What the simulator has logged so far.
    std::string log() const { return sim_->stderrText(); }

private:
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<ConfigHome> config_;
    ConnectionSettings settings_;
};

// How often `needle` occurs in `text`.
int occurrences(const std::string& text, const std::string& needle);

}  // namespace q93::test
