#include "sim/encoder_fleet.h"

#include <unistd.h>

#include <fstream>
#include <thread>

namespace q93::sim {
namespace {

// A run of free ports is looked for this many times before giving up.
constexpr int kPortRunAttempts = 200;
constexpr int kHighestPort = 65535;
// Fleets are put on ports from here up to the system's range of ephemeral ports.
constexpr int kLowestFleetPort = 10000;

// Client connections take their local ports from the ephemeral range, and every connection
// a client closed keeps its port there for a minute: after one backup of a hundred encoders
// thousands of them lie scattered over it, and a run of free ports is seldom found there.
// Below it, only servers take ports.
int firstEphemeralPort() {
    std::ifstream range("/proc/sys/net/ipv4/ip_local_port_range");
    int low = 32768;
    range >> low;
    return low;
}

}  // namespace

EncoderFleet::EncoderFleet(int count, const std::vector<Fault>& faults, const Pacing& pacing,
                           const StopSignal& stop)
    : pacing_(pacing), stop_(stop) {
    for (int k = 1; k <= count; ++k) {
        auto member = std::make_unique<Member>();
        for (const Fault& fault : faults)
            member->plan.add(fault);
        members_.push_back(std::move(member));
    }
}

std::string EncoderFleet::storeFolder(const std::string& root, int k) {
    return (std::filesystem::path(root) / ("encoder" + std::to_string(k))).string();
}

bool EncoderFleet::openStores(const std::string& root, std::string* error) {
    for (int k = 1; k <= size(); ++k) {
        Member& member = *members_[static_cast<std::size_t>(k - 1)];
        member.store.emplace(storeFolder(root, k));
        if (!member.store->open(member.model, error))
            return false;
    }
    return true;
}

bool EncoderFleet::listenFrom(const std::string& host, int firstPort, std::string* error) {
    for (const auto& member : members_)
        member->tcp.reset();
    for (int k = 1; k <= size(); ++k) {
        Member& member = *members_[static_cast<std::size_t>(k - 1)];
        member.service = std::make_unique<EncoderService>(member.model, member.plan,
                                                          member.store ? &*member.store : nullptr);
        member.tcp = std::make_unique<TcpServer>(*member.service, pacing_, stop_);
        member.tcp->setLogName("encoder" + std::to_string(k) + " ");
        const int port = k == 1 ? firstPort : server(1).port() + k - 1;
        if (port > kHighestPort) {
            *error = "no run of " + std::to_string(size()) + " ports below " +
                     std::to_string(kHighestPort + 1);
            return false;
        }
        if (!member.tcp->listen(host, port, error))
            return false;
    }
    return true;
}

bool EncoderFleet::listen(const std::string& host, int firstPort, std::string* error) {
    // A port given is taken as it is.
    if (firstPort != 0)
        return listenFrom(host, firstPort, error);
    const int span = firstEphemeralPort() - kLowestFleetPort - size();
    if (span <= 0)
        return listenFrom(host, 0, error);
    // Two fleets started together should not try the same ports one after the other.
    int offset = static_cast<int>(::getpid() * 7919L % span);
    for (int attempt = 0; attempt < kPortRunAttempts; ++attempt) {
        if (listenFrom(host, kLowestFleetPort + offset, error))
            return true;
        offset = (offset + size()) % span;
    }
    return false;
}

void EncoderFleet::run() {
    std::vector<std::thread> threads;
    for (const auto& member : members_)
        threads.emplace_back([&server = *member->tcp] { server.run(); });
    for (std::thread& thread : threads)
        thread.join();
}

}  // namespace q93::sim
