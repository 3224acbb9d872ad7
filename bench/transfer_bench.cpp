// Times the preset read, the preset write and the device read against q93sim, over TCP on
// loopback and over a pseudo-terminal paced at 38400 baud, each beside its floor: over TCP
// a plain blocking-socket client doing the same exchanges, over the serial line the wire
// time of the bytes exchanged at 10 bits a byte.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/frame_log.h"
#include "base/user_seam.h"
#include "bench/floor_client.h"
#include "protocol/device_connection.h"
#include "protocol/device_transfer.h"
#include "protocol/preset_transfer.h"
#include "tests/support/sim_process.h"

namespace q93::bench {
namespace {

using Seconds = double;
constexpr int kSerialBaud = 38400;
constexpr const char* kBenchPort = "COM5";

// Counts the bytes of every frame either link reports, and those the encoder sent.
class ByteCounter : public FrameLogger {
public:
    void logFrame(const std::uint8_t*, int length, int direction) override {
        bytes += length;
        if (direction == kFrameReceived)
            received += length;
    }
    long bytes = 0;
    long received = 0;
};

// Keeps warnings for the summary instead of printing them mid-table.
class QuietSeam : public UserSeam {
public:
    void showWarning(const std::string& text) override { warnings.push_back(text); }
    std::vector<std::string> warnings;
};

Seconds median(std::vector<Seconds> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

Seconds timed(const std::function<int()>& run, bool& failed) {
    const auto start = std::chrono::steady_clock::now();
    failed = failed || run() != 0;
    return std::chrono::duration<Seconds>(std::chrono::steady_clock::now() - start).count();
}

struct Transfer {
    const char* name;
    int (*procedure)(DeviceConnection&, ParameterSet&);
    std::vector<Exchange> exchanges;
};

std::vector<Transfer> transfers() {
    return {{"read preset",
             [](DeviceConnection& c, ParameterSet& set) { return ReadPreset(c, set.preset); },
             presetReadExchanges(1)},
            {"write preset",
             [](DeviceConnection& c, ParameterSet& set) { return WritePreset(c, set.preset); },
             presetWriteExchanges(1)},
            {"read device",
             [](DeviceConnection& c, ParameterSet& set) {
                 return ReadDevice(c, set.device, set.status);
             },
             deviceReadExchanges()}};
}

void printRow(const char* name, const char* link, Seconds measured, Seconds floor,
              const char* note) {
    std::printf("%-13s %-22s %10.2f %10.2f %7.2f  %s\n", name, link, measured * 1e3, floor * 1e3,
                floor > 0 ? measured / floor : 0.0, note);
}

bool benchTcp(int runs) {
    test::SimProcess sim({"--tcp", "127.0.0.1:0"});
    if (!sim.ready())
        return std::fprintf(stderr, "q93sim: %s\n", sim.error().c_str()), false;
    bool failed = false;
    // One set through every run: a write sends what the reads before it brought.
    ParameterSet set;
    for (const Transfer& transfer : transfers()) {
        std::vector<Seconds> link, floor;
        for (int i = 0; i < runs; ++i) {
            DeviceConnection connection;
            connection.SetParameters("TCP/IP", sim.host(), std::to_string(sim.port()), 5, 1);
            set.preset.presetNumber = 1;
            link.push_back(timed([&] { return transfer.procedure(connection, set); }, failed));
            const Seconds plain = plainTcpSeconds(sim.host(), sim.port(), transfer.exchanges);
            failed = failed || plain < 0;
            floor.push_back(plain);
        }
        printRow(transfer.name, "tcp loopback", median(link), median(floor), "goal 1.5 for reads");
    }
    return !failed;
}

// Maps the bench's serial port name onto the simulator's pseudo-terminal.
void mapPort(const std::filesystem::path& config, const std::string& pty) {
    std::filesystem::create_directories(config / "q93config");
    std::ofstream(config / "q93config" / "Q93Config.ini") << "[Ports]\n"
                                                          << kBenchPort << "=" << pty << "\n";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

bool benchSerial(int runs, bool ack, const std::vector<Transfer>& measured) {
    test::SimProcess sim(
        {"--pty", "--baud", std::to_string(kSerialBaud), "--serial-ack", ack ? "1" : "0"});
    if (!sim.ready())
        return std::fprintf(stderr, "q93sim: %s\n", sim.error().c_str()), false;
    const auto config =
        std::filesystem::temp_directory_path() / ("q93bench-" + std::to_string(sim.pid()));
    mapPort(config, sim.ptyPath());
    bool failed = false;
    ParameterSet set;
    for (const Transfer& transfer : measured) {
        std::vector<Seconds> link;
        ByteCounter counter;
        installFrameLogger(&counter);
        for (int i = 0; i < runs; ++i) {
            DeviceConnection connection;
            connection.SetParameters(kBenchPort, "", "", 5, ack ? 1 : 0);
            set.preset.presetNumber = 1;
            link.push_back(timed([&] { return transfer.procedure(connection, set); }, failed));
        }
        installFrameLogger(nullptr);
        const auto wireTime = [runs](long bytes) {
            return static_cast<Seconds>(bytes) / runs * 10.0 / kSerialBaud;
        };
        // A pseudo-terminal paces only what the simulator sends; the requests arrive at once.
        char note[96];
        std::snprintf(note, sizeof note, "%s", "100 ms a step without acknowledgements");
        if (ack) {
            std::snprintf(note, sizeof note, "goal 1.2 for reads; %.2f against the paced answers",
                          median(link) / wireTime(counter.received));
        }
        printRow(transfer.name, ack ? "pty 38400, ack" : "pty 38400, no ack", median(link),
                 wireTime(counter.bytes), note);
    }
    std::filesystem::remove_all(config);
    return !failed;
}

}  // namespace
}  // namespace q93::bench

int main(int argc, char** argv) {
    using namespace q93::bench;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    QuietSeam seam;
    q93::installUserSeam(&seam);
    std::printf("median of %d runs (the write without acknowledgements: of 3)\n", runs);
    std::printf("%-13s %-22s %10s %10s %7s\n", "transfer", "link", "median ms", "floor ms",
                "ratio");
    bool ok = benchTcp(runs);
    ok = benchSerial(runs, true, transfers()) && ok;
    std::vector<Transfer> write = transfers();
    write.erase(write.begin() + 2);
    write.erase(write.begin());
    ok = benchSerial(3, false, write) && ok;
    q93::installUserSeam(nullptr);
    for (const std::string& warning : seam.warnings)
        std::fprintf(stderr, "%s\n", warning.c_str());
    return ok ? 0 : 1;
}
