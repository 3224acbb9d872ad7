#include "bench/soak_run.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "bench/soak_encoder.h"
#include "bench/soak_files.h"
#include "bench/soak_transfer.h"
#include "tests/support/config_home.h"
#include "tests/support/temp_dir.h"

namespace q93::soak {
namespace {

// The serial encoder node's port; the INI file maps it to the simulator's pseudo-terminal.
constexpr const char* kSerialPort = "COM5";
constexpr int kFastestSpeedIndex = 5;  // 38400 baud
// After a failed serial transfer the user reads the message box before starting the next
// one; an answer still on its way has arrived by then and goes with the port's flush.
constexpr auto kMessageBoxDwell = std::chrono::milliseconds(250);
// The memory is taken as warmed up after this many transfers, or a fifth of a shorter run.
constexpr int kWarmUpTransfers = 200;

// The requests a transfer sends in the outcome the plan counts on.
int predictedRequests(const Planned& t, const Expected& expected) {
    const int failStep = expected.accepted.front().failStep;
    return failStep > 0 ? failStep : requestCount(t.kind);
}

class Soak {
public:
    explicit Soak(const SoakOptions& options)
        : options_(options),
          files_(work_.path() / "LocationData"),
          rng_(options.seed ^ 0x5eed),
          runner_(files_, rng_),
          warmUpAt_(std::max(1, std::min(kWarmUpTransfers, options.transfers / 5))) {}

    void run() {
        for (const Segment& segment :
             planSoak({options_.transfers, options_.seed, options_.tcp, options_.pty})) {
            std::size_t next = 0;
            while (next < segment.transfers.size())
                next = runPart(segment, next);
        }
        if (done_ < warmUpAt_)
            warm = probeProcess();
        // Memory is compared while the soak's own objects still stand, as at the warm-up.
        last = probeProcess();
    }

    SoakTally tally;
    ProcessProbe warm;
    ProcessProbe last;

private:
    std::vector<std::string> faultArguments(const Segment& segment, std::size_t from) const;
    std::size_t runPart(const Segment& segment, std::size_t from);
    void pointNodesAt(const SoakEncoder& encoder, const LineStyle& line);
    void saved(const std::string& problem) {
        if (!problem.empty())
            tally.unexpected("save: " + problem);
    }

    SoakOptions options_;
    test::TempDir work_;
    test::ConfigHome config_;
    LocationFiles files_;
    std::mt19937_64 rng_;
    TransferRunner runner_;
    int warmUpAt_;
    int done_ = 0;
};

// Each fault goes to the request the plan says its step will be, counting the requests of
// the transfers before it as their expected outcomes send them.
std::vector<std::string> Soak::faultArguments(const Segment& segment, std::size_t from) const {
    std::vector<std::string> args;
    int requests = 0;
    for (std::size_t i = from; i < segment.transfers.size(); ++i) {
        const Planned& t = segment.transfers[i];
        const Expected expected = expectedOutcome(linkMode(t.link, segment.line), t.kind, t.fault);
        if (t.fault.kind != FaultKind::None)
            args.insert(args.end(), {"--fault", faultArgument(t.fault, requests + t.fault.step)});
        requests += predictedRequests(t, expected);
    }
    return args;
}

void Soak::pointNodesAt(const SoakEncoder& encoder, const LineStyle& line) {
    if (options_.tcp) {
        saved(files_.saveConnection(Link::Tcp, {encoder.process().host(),
                                                std::to_string(encoder.process().port()),
                                                "TCP/IP",
                                                kFastestSpeedIndex,
                                                1,
                                                {}}));
    }
    if (options_.pty) {
        saved(files_.saveConnection(
            Link::Pty,
            {"127.0.0.1", "0", kSerialPort, kFastestSpeedIndex, line.serialAck ? 1 : 0, {}}));
        config_.writeIni("[Ports]\n" + std::string(kSerialPort) + "=" +
                         encoder.process().ptyPath() + "\n");
    }
}

// One run of the simulator for the transfers from `from` on; it ends early when a transfer
// sent another number of requests than planned, since the later faults would then hit
// other requests. The index to go on from.
std::size_t Soak::runPart(const Segment& segment, std::size_t from) {
    SoakEncoder encoder(work_.path() / "encoder", segment.line, faultArguments(segment, from),
                        options_.tcp, options_.pty);
    tally.simulatorStarted();
    if (!encoder.ready()) {
        tally.unexpected("q93sim did not start: " + encoder.error());
        return segment.transfers.size();
    }
    pointNodesAt(encoder, segment.line);
    std::size_t next = segment.transfers.size();
    for (std::size_t i = from; i < segment.transfers.size(); ++i) {
        const Planned& t = segment.transfers[i];
        const LinkMode mode = linkMode(t.link, segment.line);
        const Expected expected = expectedOutcome(mode, t.kind, t.fault);
        const TransferReport report = runner_.run(t, expected, encoder);
        tally.add(++done_, t, mode, expected, report);
        if (options_.verbose) {
            std::printf("%s: %s, %.3f s (%s)\n", SoakTally::describe(done_, t, mode).c_str(),
                        SoakTally::describeResult(report.result, report.messages).c_str(),
                        report.seconds, describeLine(segment.line).c_str());
            std::fflush(stdout);
        }
        if (done_ == warmUpAt_)
            warm = probeProcess();
        if (report.result != 0 && t.link == Link::Pty)
            std::this_thread::sleep_for(kMessageBoxDwell);
        if (report.requests != predictedRequests(t, expected)) {
            next = i + 1;
            break;
        }
    }
    for (const std::string& line : encoder.stop())
        tally.unexpected("q93sim: " + line);
    return next;
}

}  // namespace

SoakTally runSoak(const SoakOptions& options) {
    const ProcessProbe start = probeProcess();
    SoakTally tally;
    ProcessProbe warm;
    ProcessProbe last;
    {
        Soak soak(options);
        soak.run();
        tally = soak.tally;
        warm = soak.warm;
        last = soak.last;
    }
    // Descriptors and threads once every simulator run and connection is gone.
    tally.leaks(start, probeProcess(), warm, last);
    return tally;
}

}  // namespace q93::soak
