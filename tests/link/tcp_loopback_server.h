#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace q93::test {

using Bytes = std::vector<std::uint8_t>;

// The wire form of an answer with the given payload: built, checksummed and stuffed as the
// encoder sends it.
Bytes encoderFrame(const Bytes& payload, std::uint8_t sequence = 0);

// A scriptable peer on 127.0.0.1 for the TCP link: accepts one client, un-stuffs every
// request frame it receives and sends back what the responder returns for its payload.
class LoopbackServer {
public:
    using Responder = std::function<Bytes(const Bytes& requestPayload)>;

    explicit LoopbackServer(Responder responder = nullptr);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    // Sends bytes to the client once it has connected (waits up to a second for it).
    void send(const Bytes& bytes);
    // Ends the client's connection from this side.
    void dropClient();
    // The payloads of the requests received so far.
    std::vector<Bytes> requests();

private:
    void serve();
    void handle(const Bytes& frame);

    Responder responder_;
    int listener_ = -1;
    int port_ = 0;
    int client_ = -1;
    int wake_[2] = {-1, -1};
    std::mutex mutex_;
    std::vector<Bytes> requests_;
    std::thread thread_;
};

// A closed port on 127.0.0.1: bound and released, so nothing listens there.
int closedLoopbackPort();

}  // namespace q93::test
