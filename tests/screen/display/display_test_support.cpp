#include "tests/screen/display/display_test_support.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "protocol/frame_codec.h"

// Qt is not built for ThreadSanitizer: its own threads (the pool its image and painting code
// splits large images over) hand memory over under locks the sanitizer cannot see. Only
// what instrumented code does is checked; ThreadSanitizer reads this at start-up, before
// the options in TSAN_OPTIONS.
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1";
}

namespace q93::test {
namespace {

// Taken by the first seam, which the tests create on the GUI thread.
std::thread::id guiThread() {
    static const std::thread::id id = std::this_thread::get_id();
    return id;
}

bool onGuiThread() {
    return std::this_thread::get_id() == guiThread();
}

constexpr const char* kSimPortName = "COM5";

}  // namespace

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

GuiThreadSeam::GuiThreadSeam(Mode mode) : mode_(mode) {
    guiThread();
    installUserSeam(this);
    installFrameLogger(this);
}

GuiThreadSeam::~GuiThreadSeam() {
    installFrameLogger(nullptr);
    installUserSeam(nullptr);
}

void GuiThreadSeam::showWarning(const std::string& text) {
    Handed item;
    item.warning = text;
    item.isWarning = true;
    hand(item);
}

void GuiThreadSeam::logFrame(const std::uint8_t* bytes, int length, int direction) {
    Handed item;
    std::vector<std::uint8_t> frame(bytes, bytes + std::max(0, length));
    const int unstuffed =
        unstuffFrame(frame.data(), static_cast<int>(frame.size()), static_cast<int>(frame.size()));
    if (unstuffed > 5)
        item.frame.payload.assign(frame.begin() + 5, frame.begin() + std::max(5, unstuffed - 3));
    item.frame.direction = direction;
    item.frame.onGuiThread = onGuiThread();
    hand(item);
}

void GuiThreadSeam::hand(Handed& item) {
    const bool blocks = (mode_ == Mode::BlockWarnings && item.isWarning) ||
                        (mode_ == Mode::BlockFrames && !item.isWarning);
    std::unique_lock lock(mutex_);
    if (!blocks || onGuiThread()) {
        keep(item);
        return;
    }
    queue_.push_back(&item);
    ++waiting_;
    // Posted under the lock serve() takes, so ThreadSanitizer sees the hand-over ordered.
    QMetaObject::invokeMethod(this, "serve", Qt::QueuedConnection);
    served_.wait(lock, [&item] { return item.done; });
    --waiting_;
}

void GuiThreadSeam::keep(const Handed& item) {
    if (item.isWarning) {
        warnings_.push_back(item.warning);
    } else {
        frames_.push_back(item.frame);
    }
}

void GuiThreadSeam::serve() {
    std::lock_guard lock(mutex_);
    for (Handed* item : queue_) {
        keep(*item);
        item->done = true;
    }
    queue_.clear();
    served_.notify_all();
}

std::vector<std::string> GuiThreadSeam::warnings() const {
    std::lock_guard lock(mutex_);
    return warnings_;
}

std::vector<LoggedFrame> GuiThreadSeam::frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

int GuiThreadSeam::waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

std::vector<std::uint8_t> levelQueryPayload(int selector) {
    return {0x2D, 0x03, 0x4D, 0x49, static_cast<std::uint8_t>(selector == 0 ? 0x20 : 0x21)};
}

SimEncoderLine::SimEncoderLine(const SimLine& line, const std::vector<std::string>& extra) {
    std::vector<std::string> args{"--verbose"};
    if (line.tcp) {
        args.insert(args.end(), {"--tcp", "127.0.0.1:0"});
    } else {
        args.insert(args.end(), {"--pty", "--serial-ack", line.ack ? "1" : "0"});
    }
    args.insert(args.end(), extra.begin(), extra.end());
    sim_ = std::make_unique<SimProcess>(args);
    if (line.tcp) {
        settings_ = tcpEncoder(sim_->port());
    } else {
        config_ = std::make_unique<ConfigHome>("[Ports]\n" + std::string(kSimPortName) + "=" +
                                               sim_->ptyPath() + "\n");
        settings_.portName = kSimPortName;
        settings_.speedIndex = 5;
        settings_.readAck = line.ack ? 1 : 0;
    }
}

int occurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size()))
        ++count;
    return count;
}

}  // namespace q93::test
