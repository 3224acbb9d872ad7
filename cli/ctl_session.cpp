#include "cli/ctl_session.h"

#include "cli/handshake_warning.h"
#include "cli/lock_options.h"
#include "cli/serial_open_cause.h"

namespace q93::ctl {

std::chrono::milliseconds CtlSession::lockWait() const {
    return ctl::lockWait();
}

std::string CtlSession::lockHint() const {
    return lockWaitHint();
}

void CtlSession::beforeOpen(DeviceConnection& connection) {
    warnOfXonXoff(connection);
}

std::vector<std::string> CtlSession::openCauses(DeviceConnection& connection) {
    return serialOpenCause(connection);
}

}  // namespace q93::ctl
