#pragma once

#include <random>
#include <string>
#include <vector>

#include "base/frame_log.h"
#include "bench/soak_encoder.h"
#include "bench/soak_expect.h"
#include "bench/soak_files.h"
#include "bench/soak_plan.h"
#include "tests/support/recording_seam.h"

namespace q93::soak {

// Counts the requests the links send.
class RequestCounter : public FrameLogger {
public:
    void logFrame(const std::uint8_t*, int length, int direction) override {
        if (direction == kFrameSent && length > 0)
            ++sent;
    }
    int sent = 0;
};

struct TransferReport {
    int result = 0;
    std::vector<std::string> messages;
    int requests = 0;
    double seconds = 0;
    // The outcome of the expected ones that came, or -1 when none did.
    int matched = -1;
    // Everything else that is not as it should be: values, requests sent, stored files.
    std::vector<std::string> problems;
};

// Runs transfers as the main window does, from the encoder node's tcp.txt and stored files,
// and checks each against what it must do: the result and the message, the values read or what
// the encoder holds after a write, the number of requests sent, and that no stored file
// changed without a save.
class TransferRunner {
public:
    TransferRunner(LocationFiles& files, std::mt19937_64& rng);
    ~TransferRunner();
    TransferRunner(const TransferRunner&) = delete;
    TransferRunner& operator=(const TransferRunner&) = delete;

    TransferReport run(const Planned& transfer, const Expected& expected, SoakEncoder& encoder);

private:
    void readPreset(const Planned& t, SoakEncoder& encoder);
    void writePreset(const Planned& t, SoakEncoder& encoder);
    void readDevice(const Planned& t, SoakEncoder& encoder);
    void writeDevice(const Planned& t, SoakEncoder& encoder);
    void readClock(const Planned& t, SoakEncoder& encoder);
    void writeClock(const Planned& t, SoakEncoder& encoder);
    void queryLevels(const Planned& t, SoakEncoder& encoder);

    // Runs the procedure on a connection set up from the node's tcp.txt and matches what came
    // against the expected outcomes; the outcome that came, or nullptr.
    template <typename Procedure>
    const Outcome* call(Link link, Procedure procedure);
    void problem(const std::string& text) { report_.problems.push_back(text); }
    void saveProblem(const std::string& text);
    void checkPopup(Kind kind);

    LocationFiles& files_;
    std::mt19937_64& rng_;
    test::RecordingSeam seam_;
    RequestCounter counter_;
    const Expected* expected_ = nullptr;
    TransferReport report_;
};

}  // namespace q93::soak
