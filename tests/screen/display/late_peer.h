#pragma once

#include <mutex>
#include <thread>

#include "protocol/connection_settings.h"
#include "tests/link/tcp_loopback_server.h"

namespace q93::test {

// The settings of an encoder reached over TCP at 127.0.0.1:port.
ConnectionSettings tcpEncoder(int port);

// What the peer's n-th level query reads: left 10 + n kHz, right 5 + n kHz, and in the
// second set the MPX deviation 50 + n kHz first.
double leftReading(int n);
double rightReading(int n);
double mpxReading(int n);

// An encoder on 127.0.0.1 that acknowledges every level query at once and answers it, but
// answers one of them only after 1.5 s, past the link's take of about a second.
// `holdsLine`: meanwhile it answers nothing else, as an encoder that works through its
// requests in order would; otherwise the next queries are answered at once and the late
// answer comes in among them.
class LatePeer {
public:
    LatePeer(int lateQuery, bool holdsLine);
    ~LatePeer();
    int port() const { return server_.port(); }

private:
    Bytes reply(const Bytes& request);

    const int lateQuery_;
    const bool holdsLine_;
    int queries_ = 0;  // on the server's thread only
    std::mutex lateMutex_;
    std::thread late_;  // guarded by lateMutex_
    LoopbackServer server_;
};

}  // namespace q93::test
