// q93sim: the simulated encoder. A thin front end: options, the model, the transports.
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/stop_signal.h"
#include "sim/encoder_fleet.h"
#include "sim/encoder_model.h"
#include "sim/encoder_service.h"
#include "sim/encoder_store.h"
#include "sim/fault_plan.h"
#include "sim/pty_port.h"
#include "sim/sim_log.h"
#include "sim/sim_options.h"
#include "sim/tcp_server.h"

using namespace q93::sim;
using q93::StopSignal;

namespace {

// --silent, --clock-ahead, --ignore-set and --clamp: encoders of a fleet (or the one encoder) that
// stand apart.
void setApart(const SimOptions& options, const std::function<EncoderModel&(int)>& model,
              const std::function<FaultPlan&(int)>& plan) {
    for (const int k : options.silentEncoders) {
        plan(k).silence();
        logLine("encoder" + std::to_string(k) + " is silent");
    }
    for (const auto& [k, seconds] : options.clockAheadSeconds) {
        auto lock = model(k).lock();
        model(k).skewClock(seconds);
        logLine("encoder" + std::to_string(k) + "'s clock runs " + std::to_string(seconds) +
                " s ahead");
    }
    for (const auto& [k, quirks] : options.writeQuirks) {
        auto lock = model(k).lock();
        model(k).setWriteQuirks(quirks);
        for (const std::string& field : quirks.ignored)
            logLine("encoder" + std::to_string(k) + " ignores sets of " + field);
        for (const auto& [field, ceiling] : quirks.ceilings)
            logLine("encoder" + std::to_string(k) + " clamps " + field + " at " +
                    std::to_string(ceiling));
    }
}

// --encoders N and --store-root: a fleet on consecutive TCP ports.
int serveFleet(const SimOptions& options, StopSignal& stop) {
    const FaultPlan plan(options.faults);
    EncoderFleet fleet(options.encoders, options.faults, {plan.delayMs(), plan.trickleMs(), 0},
                       stop);
    for (const Fault& fault : options.faults)
        logLine("fault " + describeFault(fault) + " (each encoder)");
    setApart(
        options, [&fleet](int k) -> EncoderModel& { return fleet.model(k); },
        [&fleet](int k) -> FaultPlan& { return fleet.plan(k); });
    std::string error;
    if (!options.storeRoot.empty() && !fleet.openStores(options.storeRoot, &error)) {
        logLine(error);
        return 1;
    }
    if (!fleet.listen(options.tcpHost, options.tcpPort, &error)) {
        logLine(error);
        return 1;
    }
    for (int k = 1; k <= fleet.size(); ++k)
        std::printf("tcp %s:%d\n", fleet.server(k).host().c_str(), fleet.server(k).port());
    std::fflush(stdout);
    fleet.run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Tests and scripts read the first line while the program runs.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    SimOptions options;
    std::string error;
    if (!parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, &error)) {
        std::fprintf(stderr, "q93sim: %s\nTry 'q93sim --help'.\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    setVerbose(options.verbose);

    StopSignal stop;
    stop.installSignalHandlers();
    if (options.encoders > 1 || !options.storeRoot.empty())
        return serveFleet(options, stop);

    EncoderModel model;
    FaultPlan plan(options.faults);
    for (const Fault& fault : plan.faults())
        logLine("fault " + describeFault(fault));
    setApart(
        options, [&model](int) -> EncoderModel& { return model; },
        [&plan](int) -> FaultPlan& { return plan; });

    std::optional<EncoderStore> store;
    if (!options.storeDir.empty()) {
        store.emplace(options.storeDir);
        if (!store->open(model, &error)) {
            logLine(error);
            return 1;
        }
    }
    EncoderService service(model, plan, store ? &*store : nullptr);

    const Pacing linePacing{plan.delayMs(), plan.trickleMs(), 0};
    Pacing serialPacing = linePacing;
    serialPacing.baud = options.baud;

    TcpServer tcp(service, linePacing, stop);
    PtyPort pty(service, serialPacing, options.serialAck, stop);
    if (options.tcp) {
        if (!tcp.listen(options.tcpHost, options.tcpPort, &error)) {
            logLine(error);
            return 1;
        }
        std::printf("tcp %s:%d\n", tcp.host().c_str(), tcp.port());
    }
    if (options.pty) {
        if (!pty.open(&error)) {
            logLine(error);
            return 1;
        }
        std::printf("pty %s\n", pty.path().c_str());
    }
    std::fflush(stdout);

    if (options.tcp && options.pty) {
        std::thread serial([&pty] { pty.run(); });
        tcp.run();
        serial.join();
    } else if (options.tcp) {
        tcp.run();
    } else {
        pty.run();
    }
    logVerbose("stopped after " + std::to_string(plan.requestsSeen()) + " request(s)");
    return 0;
}
