#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/stop_signal.h"
#include "sim/encoder_model.h"
#include "sim/encoder_service.h"
#include "sim/encoder_store.h"
#include "sim/fault_plan.h"
#include "sim/paced_writer.h"
#include "sim/tcp_server.h"

namespace q93::sim {

// A fleet of simulated encoders in one process, standing for a network of sites in tests
// and demos. Encoder k (from 1) has its own memory, its own copy of the faults (so close:1
// silences every one of them on its first request), its own store folder when a root is
// given, and its own TCP port; the ports follow one another, so a client can reach encoder
// k at the first port plus k - 1.
class EncoderFleet {
public:
    EncoderFleet(int count, const std::vector<Fault>& faults, const Pacing& pacing,
                 const StopSignal& stop);

    // Loads (or creates with factory values) root/encoder<k> for each encoder.
    bool openStores(const std::string& root, std::string* error);
    // Listens on `count` consecutive ports from firstPort; with 0, on the first such run
    // of free ports found.
    bool listen(const std::string& host, int firstPort, std::string* error);

    int size() const { return static_cast<int>(members_.size()); }
    const TcpServer& server(int k) const { return *members_[static_cast<std::size_t>(k - 1)]->tcp; }
    // Encoder k's memory and faults, to set one encoder apart before the fleet runs.
    EncoderModel& model(int k) { return members_[static_cast<std::size_t>(k - 1)]->model; }
    FaultPlan& plan(int k) { return members_[static_cast<std::size_t>(k - 1)]->plan; }
    static std::string storeFolder(const std::string& root, int k);

    // Serves every encoder until the stop, each server on a thread of its own.
    void run();

private:
    struct Member {
        EncoderModel model;
        FaultPlan plan;
        std::optional<EncoderStore> store;
        std::unique_ptr<EncoderService> service;
        std::unique_ptr<TcpServer> tcp;
    };
    bool listenFrom(const std::string& host, int firstPort, std::string* error);

    Pacing pacing_;
    const StopSignal& stop_;
    std::vector<std::unique_ptr<Member>> members_;
};

}  // namespace q93::sim
