// soak: thousands of transfers of every kind against q93sim, over TCP on loopback and over a
// pseudo-terminal, with random faults in the encoder's replies. After every transfer the
// result and the message the user saw are held against what the tool must do with the
// fault, the values against what the encoder holds, and the stored files against their
// last save; at the end the process must hold no more descriptors, threads or memory than
// before. Exit status 1 when anything was not as it should be.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/soak_run.h"

namespace {

const char* const kUsage =
    "usage: soak [--transfers N] [--seed S] [--tcp-only | --pty-only] [--verbose]\n"
    "  --transfers N  transfers to run (default 5000)\n"
    "  --seed S       seed of the plan of transfers and faults (default 1)\n"
    "  --tcp-only     only over TCP on 127.0.0.1\n"
    "  --pty-only     only over q93sim's pseudo-terminal\n"
    "  --verbose      one line for every transfer\n";

bool parseNumber(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

bool parseOptions(int argc, char** argv, q93::soak::SoakOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long long value = 0;
        if ((arg == "--transfers" || arg == "--seed") && i + 1 < argc &&
            parseNumber(argv[i + 1], value)) {
            ++i;
            if (arg == "--seed") {
                options.seed = value;
            } else if (value >= 1 && value <= 1000000) {
                options.transfers = static_cast<int>(value);
            } else {
                return false;
            }
        } else if (arg == "--tcp-only") {
            options.pty = false;
        } else if (arg == "--pty-only") {
            options.tcp = false;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else {
            return false;
        }
    }
    return options.tcp || options.pty;
}

}  // namespace

int main(int argc, char** argv) {
    q93::soak::SoakOptions options;
    if (!parseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // q93sim syncs its store to the disk after every set command; on tmpfs that costs nothing,
    // and a soak sends thousands of them.
    if (std::filesystem::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0)
        setenv("TMPDIR", "/dev/shm", 0);
    std::printf(
        "soak: %d transfers, seed %llu, %s\n", options.transfers,
        static_cast<unsigned long long>(options.seed),
        options.tcp && options.pty ? "tcp and pty" : (options.tcp ? "tcp only" : "pty only"));
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const q93::soak::SoakTally tally = q93::soak::runSoak(options);
    tally.print(stdout,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return tally.failed() ? 1 : 0;
}
