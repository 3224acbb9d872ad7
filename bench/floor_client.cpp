#include "bench/floor_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "protocol/command_formatters.h"
#include "protocol/device_transfer.h"
#include "protocol/frame_codec.h"
#include "protocol/preset_transfer.h"

namespace q93::bench {
namespace {

using namespace q93::steps;

std::string requestText(const Request& request, CommandForm form) {
    const auto id = static_cast<std::uint8_t>(request.what);
    switch (request.ask) {
        case Ask::Query:
            return queryText(id, form);
        case Ask::QueryIndexed:
            return queryIndexedText(id, request.index, form);
        case Ask::Memory:
            return memoryQueryText(request.what);
        case Ask::Text:
            return request.text;
    }
    return {};
}

template <typename Block>
void addReads(std::vector<Exchange>& out, std::span<const ReadStep<Block>> table,
              CommandForm form) {
    for (const auto& step : table)
        out.push_back({requestText(step.request, form), 2});
}

}  // namespace

std::vector<Exchange> presetReadExchanges(int presetNumber) {
    std::vector<Exchange> out;
    addReads(out, presetReadSteps(), {false, static_cast<std::uint8_t>(presetNumber)});
    return out;
}

std::vector<Exchange> deviceReadExchanges() {
    std::vector<Exchange> out;
    addReads(out, deviceReadSteps(), {true, 0});
    addReads(out, statusReadSteps(), {true, 0});
    return out;
}

std::vector<Exchange> presetWriteExchanges(int presetNumber) {
    const CommandForm form{false, static_cast<std::uint8_t>(presetNumber)};
    std::vector<Exchange> out;
    for (const auto& step : presetWriteSteps()) {
        std::string text;
        switch (step.put) {
            case Put::Byte:
                text = setByteText(step.id, 1, form);
                break;
            case Put::Float:
                text = set32Text(step.id, floatBits(1.0), form);
                break;
            case Put::IndexedFloat:
                text = setIndexed32Text(step.id, step.index, floatBits(1.0), form);
                break;
            case Put::Indexed16:
                text = setIndexed16Text(step.id, step.index, 10, form);
                break;
            case Put::Register:
                text = registerWriteText(step.format, 1);
                break;
        }
        out.push_back({text, 1});
    }
    return out;
}

double plainTcpSeconds(const std::string& host, int port, const std::vector<Exchange>& exchanges) {
    // Timed from the connect to the close, as a transfer opens and closes its link.
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, host.c_str(), &peer.sin_addr);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1.0;
    }
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    FrameCodec codec;
    bool answered = true;
    for (const Exchange& exchange : exchanges) {
        codec.buildFrame(exchange.text);
        ::send(fd, codec.wireFrame(), static_cast<std::size_t>(codec.wireLength()), 0);
        int ends = 0;
        while (answered && ends < exchange.framesBack) {
            std::uint8_t chunk[1024];
            const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
            if (got <= 0)
                answered = false;
            for (ssize_t i = 0; i < got; ++i)
                ends += chunk[i] == kEndByte ? 1 : 0;
        }
    }
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return answered ? seconds : -1.0;
}

}  // namespace q93::bench
