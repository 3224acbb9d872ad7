#pragma once

#include "fleet/encoder_session.h"

namespace q93::ctl {

// An encoder session of q93ctl: it waits for the lock as --lock-wait says, warns of an Xon/Xoff
// handshake on stderr, and explains a serial port that would not open as the single-encoder
// commands do.
class CtlSession final : public EncoderSession {
public:
    using EncoderSession::EncoderSession;

protected:
    std::chrono::milliseconds lockWait() const override;
    std::string lockHint() const override;
    void beforeOpen(DeviceConnection& connection) override;
    std::vector<std::string> openCauses(DeviceConnection& connection) override;
};

}  // namespace q93::ctl
