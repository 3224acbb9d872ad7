#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "base/user_seam.h"
#include "protocol/connection_settings.h"
#include "protocol/device_connection.h"

namespace q93::watch {

// The exchanges of one watch read of a stored encoder (a poll, a settings read), each under
// the encoder's lock on its own, on a connection of its own. Between two exchanges the lock
// stays free for longer than a waiter's retry, so that a transfer of another program waits
// for one exchange at most. Takes the warnings a failing exchange shows, instead of letting
// them reach stderr; keeps what it reads to itself, so that reads may run on several threads.
class EncoderExchanges : public UserSeam {
public:
    EncoderExchanges(const std::string& folder, std::chrono::milliseconds lockWait,
                     const std::function<bool()>& stopping);
    ~EncoderExchanges() override;
    EncoderExchanges(const EncoderExchanges&) = delete;
    EncoderExchanges& operator=(const EncoderExchanges&) = delete;

    void showWarning(const std::string& text) override;

    // One exchange under the encoder's lock, on a connection of its own.
    bool exchange(const std::string& what, const std::function<int(DeviceConnection&)>& body);

    // One exchange inside the frame of a transfer: link opened, the form a transfer of
    // `progressTextId` uses (the long one addressed to preset `presetNumber` when not
    // `shortForm`), link closed.
    bool framed(const std::string& what, const std::function<bool(DeviceConnection&)>& step,
                int progressTextId = kReadingDevice, bool shortForm = true, int presetNumber = 0);

    const std::string& link() const { return link_; }
    const std::string& failure() const { return failure_; }

    // The read device's progress text; no one sees it in a watch, but the frame wants one.
    static constexpr int kReadingDevice = 117;
    static constexpr int kReadingPreset = 115;

private:
    bool readSettings(std::string* failure);
    bool fail(const std::string& what, const std::string& message);

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

}  // namespace q93::watch
