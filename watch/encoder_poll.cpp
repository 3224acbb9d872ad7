#include "watch/encoder_poll.h"

#include <ctime>
#include <functional>
#include <thread>

#include "base/user_seam.h"
#include "protocol/clock_transfer.h"
#include "protocol/device_connection.h"
#include "protocol/device_transfer.h"
#include "protocol/level_query.h"
#include "protocol/transfer_steps.h"
#include "store/encoder_lock.h"
#include "store/location_store.h"
#include "watch/clock_offset.h"

namespace q93::watch {
namespace {

// The read device's progress text; no one sees it in a poll, but the frame wants one.
constexpr int kReadingDevice = 117;
// Between two exchanges the lock stays free for longer than a waiter's retry, so that a
// transfer waiting for the encoder gets it after the exchange under way.
constexpr std::chrono::milliseconds kTurnGap = kEncoderLockRetry + std::chrono::milliseconds(5);

timespec realNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

double secondsOf(const timespec& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

// Takes the warnings a failing exchange shows, instead of letting them reach stderr.
class Poll : public UserSeam {
public:
    Poll(const std::string& folder, std::chrono::milliseconds lockWait,
         const std::function<bool()>& stopping)
        : folder_(folder), lockWait_(lockWait), stopping_(stopping) {
        installThreadUserSeam(this);
    }
    ~Poll() override { installThreadUserSeam(nullptr); }
    Poll(const Poll&) = delete;
    Poll& operator=(const Poll&) = delete;

    void showWarning(const std::string& text) override {
        warnings_ += warnings_.empty() ? text : " " + text;
    }

    // One exchange under the encoder's lock, on a connection of its own.
    bool exchange(const std::string& what, const std::function<int(DeviceConnection&)>& body) {
        if (stopping_ && stopping_())
            return fail(what, "stopped");
        if (exchanges_++ > 0)
            std::this_thread::sleep_for(kTurnGap);
        std::string unread;
        if (!settingsRead_ && !readSettings(&unread))
            return fail("tcp.txt", unread);
        if (!settings_.doubt.empty())
            return fail("tcp.txt", doubtfulConnectionText(folder_ + "tcp.txt", settings_.doubt));
        EncoderLock lock;
        std::string error;
        if (!lock.acquire(folder_, lockWait_, &error, stopping_))
            return fail(what, error);
        DeviceConnection connection;
        connection.SetParameters(settings_.portName, settings_.ipAddress, settings_.tcpPort,
                                 settings_.speedIndex, settings_.readAck);
        warnings_.clear();
        if (body(connection) == 0)
            return true;
        // A level query without its answer, and a serial port that would not open for the
        // clock read, show nothing themselves.
        return fail(what, warnings_.empty() ? "no answer" : warnings_);
    }

    // One exchange inside the frame of a transfer: link opened, short form, link closed.
    bool framed(const std::string& what, const std::function<bool(DeviceConnection&)>& step) {
        return exchange(what, [&step](DeviceConnection& connection) {
            return steps::runTransfer(connection, kReadingDevice, true, 0,
                                      [&] { return step(connection); });
        });
    }

    const std::string& link() const { return link_; }
    const std::string& failure() const { return failure_; }

private:
    // Read without the lock: tcp.txt is replaced whole, never written in place, and the link
    // it names labels the encoder even when the lock does not come. false with why not; a
    // doubtful file reads, and is refused by the caller.
    bool readSettings(std::string* failure) {
        std::string reason;
        const ConnectionFault fault = ReadTransferSettings(folder_, settings_, &reason);
        if (fault == ConnectionFault::Missing || fault == ConnectionFault::Unreadable) {
            *failure = connectionFaultText(folder_, fault, reason);
            return false;
        }
        settingsRead_ = true;
        link_ = settings_.portName == "TCP/IP" ? "tcp" : "serial";
        return true;
    }

    bool fail(const std::string& what, const std::string& message) {
        failure_ = what + ": " + message;
        return false;
    }

    std::string folder_;
    std::chrono::milliseconds lockWait_;
    std::function<bool()> stopping_;
    ConnectionSettings settings_;
    bool settingsRead_ = false;
    int exchanges_ = 0;
    std::string link_;
    std::string warnings_;
    std::string failure_;
};

bool readClock(Poll& poll, EncoderHealth& health) {
    ClockValues clock;
    timespec answeredAt{};
    const bool read = poll.exchange("read clock", [&](DeviceConnection& connection) {
        const int result = ReadRtc(connection, clock);
        answeredAt = realNow();
        return result;
    });
    if (read)
        health.clockOffsetSeconds = clockOffsetSeconds(clock, answeredAt);
    return read;
}

bool readStatus(Poll& poll, EncoderHealth& health) {
    const auto table = statusReadSteps();
    for (std::size_t row = 0; row < table.size(); ++row) {
        const bool read = poll.framed(
            "read status " + std::to_string(row + 1), [&](DeviceConnection& connection) {
                return steps::runReadSteps(connection, table.subspan(row, 1), health.status);
            });
        if (!read)
            return false;
    }
    return true;
}

bool readLevels(Poll& poll, EncoderHealth& health) {
    LevelReadings readings;
    for (int selector = 0; selector < 2; ++selector) {
        const bool read = poll.framed("level query " + std::to_string(selector),
                                      [selector, &readings](DeviceConnection& connection) {
                                          return QueryLevels(connection, selector, readings) == 0;
                                      });
        if (!read)
            return false;
    }
    for (std::size_t i = 0; i < health.levelSet0.size(); ++i)
        health.levelSet0[i] = readings.levelSet0[i].load();
    for (std::size_t i = 0; i < health.levelSet1.size(); ++i)
        health.levelSet1[i] = readings.levelSet1[i].load();
    return true;
}

}  // namespace

EncoderHealth pollEncoder(const std::string& encoderFolder, std::chrono::milliseconds lockWait,
                          const std::function<bool()>& stopping) {
    const timespec started = realNow();
    EncoderHealth health;
    {
        Poll poll(encoderFolder, lockWait, stopping);
        health.up = readClock(poll, health) && readStatus(poll, health) && readLevels(poll, health);
        health.link = poll.link();
        health.failure = poll.failure();
    }
    const timespec finished = realNow();
    health.finishedAt = secondsOf(finished);
    health.pollSeconds = secondsOf(finished) - secondsOf(started);
    return health;
}

}  // namespace q93::watch
