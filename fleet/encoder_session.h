#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "base/frame_log.h"
#include "base/user_seam.h"
#include "fleet/stored_encoder.h"
#include "fleet/transfer_rows.h"
#include "protocol/clock_values.h"
#include "protocol/connection_settings.h"
#include "protocol/parameter_set.h"
#include "store/encoder_lock.h"

namespace q93 {

// Where a job tells how far it has come, for the progress line.
class StepReporter {
public:
    virtual ~StepReporter() = default;
    virtual void step(const std::string& text) = 0;
    // True once the job is to give up at its next step, its outcome no longer wanted.
    virtual bool stopping() const { return false; }
};

// How an encoder's job ended.
struct JobFailure {
    std::string step;     // "read preset 3, step 10 of 28 (pilotLevel)", "tcp.txt", ...
    std::string message;  // the warnings the transfer showed, in order
};

class DeviceConnection;

// The transfers of one stored encoder on a worker thread, one fresh connection each, through
// the core procedures the window runs. While it lives it is its thread's user seam and
// frame logger: the warnings become the failure's message instead of going to the screen,
// and the frames sent tell at which row of its table a transfer stopped. Each tool says
// through the virtual members how long it waits for the lock and what it adds about a port
// that would not open.
class EncoderSession : public UserSeam, public FrameLogger {
public:
    EncoderSession(const StoredEncoder& encoder, StepReporter& reporter);
    ~EncoderSession() override;
    EncoderSession(const EncoderSession&) = delete;
    EncoderSession& operator=(const EncoderSession&) = delete;

    // Takes the encoder's lock, waiting up to lockWait() while another process uses the
    // encoder, and reads tcp.txt; every transfer needs both first. The lock is held until
    // the session ends, so that what a job reads and the files it writes belong together.
    bool loadConnection();

    // Each runs one procedure on the caller's blocks; they hold the start (the stored file,
    // so that what is never transferred keeps its value) and receive what was read.
    bool readDevice(DeviceParameters& device);
    bool readPreset(int number, PresetParameters& preset);
    bool writeDevice(const DeviceParameters& device);
    bool writePreset(int number, const PresetParameters& preset);
    // Read the block back after a write and compare every transferred field with what was
    // sent; false when the read fails or a field is not held, the fields named.
    bool verifyDevice(const DeviceParameters& sent);
    bool verifyPreset(int number, const PresetParameters& sent);
    bool setClock(const ClockValues& clock);
    bool readClock(ClockValues& clock);

    // Records a failure of the job's own (a file it cannot read or write).
    bool fail(const std::string& step, const std::string& message);
    const JobFailure& failure() const { return failure_; }
    const StoredEncoder& encoder() const { return encoder_; }

    void showWarning(const std::string& text) override;
    void logFrame(const std::uint8_t* bytes, int length, int direction) override;

protected:
    // How long loadConnection waits for another user of the encoder, and what the failure
    // then adds on how to go on.
    virtual std::chrono::milliseconds lockWait() const { return kTransferLockWait; }
    virtual std::string lockHint() const { return "; try again once it has ended"; }
    // Called with each connection before it opens, and after it failed: the causes of a
    // serial port that would not open, each a sentence.
    virtual void beforeOpen(DeviceConnection&) {}
    virtual std::vector<std::string> openCauses(DeviceConnection&) { return {}; }

private:
    template <typename Procedure>
    bool transfer(const std::string& step, Transfer table, Procedure procedure);

    StoredEncoder encoder_;
    StepReporter& reporter_;
    EncoderLock lock_;
    ConnectionSettings settings_;
    JobFailure failure_;
    std::string warnings_;
    int framesSent_ = 0;
};

}  // namespace q93
