#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "link/tcp_client.h"
#include "link/tcp_link.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/support/recording_seam.h"

namespace q93 {
namespace {

// A listener on 127.0.0.1 that never accepts, with its backlog filled: the kernel drops
// every further connection attempt without an answer, as a firewall or a dead route does.
class SilentListener {
public:
    SilentListener() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            listen(listener_, 0) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port_ = ntohs(address.sin_port);
        // Fill until an attempt stays unanswered; the number the queue takes depends on
        // the kernel, so it is found rather than assumed.
        for (int attempt = 0; attempt < 64 && !full_; ++attempt)
            full_ = fillOne(address);
    }
    ~SilentListener() {
        for (int fd : fillers_)
            ::close(fd);
        stopListening();
    }

    int port() const { return port_; }
    bool full() const { return full_; }
    // Refuses from now on, so that an attempt still being retried ends.
    void stopListening() {
        if (listener_ >= 0)
            ::close(listener_);
        listener_ = -1;
    }

private:
    // true when this attempt got no answer within a quarter of a second.
    bool fillOne(const sockaddr_in& address) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        fillers_.push_back(fd);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return false;
        if (errno != EINPROGRESS)
            return false;
        pollfd waiting{fd, POLLOUT, 0};
        return ::poll(&waiting, 1, 250) == 0;
    }

    int listener_ = -1;
    int port_ = 0;
    bool full_ = false;
    std::vector<int> fillers_;
};

TEST(TcpConnect, AnUnansweredConnectFailsAsARefusedOneDoes) {
    setLanguage(Language::English);
    test::RecordingSeam seam;
    SilentListener silent;
    ASSERT_TRUE(silent.full());
    TcpLink link;
    auto opened =
        std::async(std::launch::async, [&] { return link.open("", "127.0.0.1", silent.port()); });
    // Far beyond the link's own wait, well short of the kernel's: a link without a bound
    // of its own is let go by refusing it, and fails here.
    const bool ended = opened.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    if (!ended)
        silent.stopListening();
    EXPECT_TRUE(ended);
    EXPECT_EQ(opened.get(), -1);
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"No connection to '/127.0.0.1' on port '" +
                                                      std::to_string(silent.port()) + "'!"});
}

struct TextsCase {
    std::string hostName;
    std::string ipText;
    std::string lookUp;
    std::string parse;
};

TEST(TcpConnect, OnlyTheTextsThatFitGoToLookUpAndNumericParse) {
    const std::string name22 = "encoder-" + std::string(9, 'x') + ".site";
    const std::string name254(kMaxHostName, 'n');
    const std::string name255(kMaxHostName + 1, 'n');
    const TextsCase cases[] = {
        {"10.0.0.1", "10.0.0.1", "10.0.0.1", "10.0.0.1"},
        {"", "127.0.0.1", "", "127.0.0.1"},
        {name22, name22, name22, ""},
        {name254, name254, name254, ""},
        {name255, name255, "", ""},
        {name255, "127.0.0.1", "", ""},
    };
    for (const TextsCase& row : cases) {
        SCOPED_TRACE(row.hostName.size());
        const AddressTexts texts = addressTexts(row.hostName, row.ipText);
        EXPECT_EQ(texts.lookUp, row.lookUp);
        EXPECT_EQ(texts.parse, row.parse);
    }
}

TEST(TcpConnect, AnAddressTextLongerThanAnIpTextStillConnects) {
    test::LoopbackServer server;
    TcpClient client;
    // The last part written with leading zeros: 27 characters for 127.0.0.1.
    client.hostName = "127.0.0." + std::string(18, '0') + "1";
    client.ipText = client.hostName;
    client.tcpPort = server.port();
    ASSERT_GT(client.hostName.size(), kMaxIpText);
    EXPECT_EQ(client.connect(), 0);
}

}  // namespace
}  // namespace q93
