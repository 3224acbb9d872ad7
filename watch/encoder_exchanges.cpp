#include "watch/encoder_exchanges.h"

#include <thread>

#include "protocol/transfer_steps.h"
#include "store/encoder_lock.h"
#include "store/location_store.h"

namespace q93::watch {
namespace {

constexpr std::chrono::milliseconds kTurnGap = kEncoderLockRetry + std::chrono::milliseconds(5);

}  // namespace

EncoderExchanges::EncoderExchanges(const std::string& folder, std::chrono::milliseconds lockWait,
                                   const std::function<bool()>& stopping)
    : folder_(folder), lockWait_(lockWait), stopping_(stopping) {
    installThreadUserSeam(this);
}

EncoderExchanges::~EncoderExchanges() {
    installThreadUserSeam(nullptr);
}

void EncoderExchanges::showWarning(const std::string& text) {
    warnings_ += warnings_.empty() ? text : " " + text;
}

bool EncoderExchanges::exchange(const std::string& what,
                                const std::function<int(DeviceConnection&)>& body) {
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

bool EncoderExchanges::framed(const std::string& what,
                              const std::function<bool(DeviceConnection&)>& step,
                              int progressTextId, bool shortForm, int presetNumber) {
    return exchange(what, [&](DeviceConnection& connection) {
        return steps::runTransfer(connection, progressTextId, shortForm, presetNumber,
                                  [&] { return step(connection); });
    });
}

// Read without the lock: tcp.txt is replaced whole, never written in place, and the link
// it names labels the encoder even when the lock does not come. false with why not; a
// doubtful file reads, and is refused by the caller.
bool EncoderExchanges::readSettings(std::string* failure) {
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

bool EncoderExchanges::fail(const std::string& what, const std::string& message) {
    failure_ = what + ": " + message;
    return false;
}

}  // namespace q93::watch
