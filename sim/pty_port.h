#pragma once

#include <string>

#include "sim/encoder_service.h"
#include "sim/paced_writer.h"
#include "base/stop_signal.h"

namespace q93::sim {

// The encoder's serial port as a pseudo-terminal: the tool opens the slave by its name
// (/dev/pts/N) as it would /dev/ttyS0; the encoder reads and writes the master. The slave
// is kept open here too, so the line stays up while the tool opens and closes it per
// operation. Raw mode; output optionally paced at a baud rate.
class PtyPort {
public:
    PtyPort(EncoderService& service, const Pacing& pacing, bool acknowledge, const StopSignal& stop)
        : service_(service), pacing_(pacing), acknowledge_(acknowledge), stop_(stop) {}
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    bool open(std::string* error);
    const std::string& path() const { return path_; }

    // Serves the line until the stop is requested.
    void run();

private:
    EncoderService& service_;
    Pacing pacing_;
    bool acknowledge_;
    const StopSignal& stop_;
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace q93::sim
