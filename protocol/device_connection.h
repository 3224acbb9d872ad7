#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "link/link.h"
#include "link/serial_link.h"
#include "link/tcp_link.h"
#include "protocol/frame_codec.h"

namespace q93 {

// The two fixed German texts of the protocol, shown whatever the user's language.
inline constexpr const char* kNoAnswerText = "Keine Antwort vom Gerät ( Timeout )!";
inline constexpr const char* kWrongAnswerFormat =
    "Falsche Antwort vom Gerät ( %02x anstatt %02x ).";

// Bits per second for the baud indices 0..5; any other index (the connection dialog stores
// -1 when no speed was chosen) falls back to the default speed.
inline constexpr std::int32_t kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400};
inline constexpr std::int32_t kDefaultBaudRate = 9600;
std::int32_t baudRateForIndex(int index);

// The connection of one operation with the encoder: the frame buffers, the link its settings
// choose, and the exchange of a request with its acknowledgement and answer. Created, used
// and destroyed by one command on one thread; failures are shown where they happen and close
// the link.
class DeviceConnection {
public:
    DeviceConnection();
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    // Takes the settings and chooses the link they name.
    void SetParameters(const std::string& port, const std::string& ip, const std::string& tcp,
                       int baudIndex, int ackFlag);
    // Opens the link portName names ("TCP/IP" the TCP link, any other name the serial port);
    // 0, or -1 when the serial port cannot be opened or the TCP connect failed. The TCP link
    // shows its own message; a serial failure is the caller's to report (reportOpenFailure).
    int open();
    int close();

    // Sends one request and waits for its acknowledgement (always on TCP, on the serial line
    // when expectAck is set); 0, or -1 after the timeout message with the link closed.
    int Transact(const std::string& text);

    // Data answers. Each sets answerError to 0, and on failure to -1 after showing the
    // message and closing the link; the returned -1 is also a possible value.
    int ReadByteAnswer(std::uint8_t expectedCode);
    int ReadByteAt(std::uint8_t expectedCode, int offset);
    int ReadWordAnswer(std::uint8_t expectedCode, int offset);
    double ReadFloatAnswer(std::uint8_t expectedCode, int offset);

    // Receives one frame through the active link into the wire buffer and un-stuffs it;
    // false when none arrived or it is not a complete frame of at least `minLength` bytes.
    bool receiveAnswer(int minLength);
    // Drops whatever the active link holds that no request is waiting for: frames queued by
    // the TCP reader, bytes waiting in the serial port's input.
    void discardPendingAnswers();

    // Command formatters: write commandText in the short or long form; those that send
    // return Transact's result, the others 0.
    int query(std::uint8_t id);
    int queryIndexed(std::uint8_t id, std::uint8_t index);
    int memoryQuery(std::uint32_t address);
    int setByte(std::uint8_t id, std::int32_t value);
    int set32(std::uint8_t id, std::uint32_t value);
    int setIndexed32(std::uint8_t id, std::uint8_t index, std::uint32_t value);
    int setIndexed16(std::uint8_t id, std::uint8_t index, std::int32_t value);

    FrameCodec& codec() { return codec_; }
    Link& link() { return *link_; }
    // The chosen link as what it is; nullptr when the settings chose the other one.
    SerialLink* serialLink() { return dynamic_cast<SerialLink*>(link_.get()); }
    const SerialLink* serialLink() const { return dynamic_cast<const SerialLink*>(link_.get()); }
    TcpLink* tcpLink() { return dynamic_cast<TcpLink*>(link_.get()); }

    std::string portName = "COM2";
    std::string ipAddress;
    std::string tcpPort;
    std::int32_t answerError = 0;
    // Defined start values for a connection opened without SetParameters (the measurement
    // loop): the tree's default speed index 3, and acknowledgements on as the tree's
    // default flag 2 means, so a silent port fails at the first exchange.
    std::int32_t baudRate = kDefaultBaudRate;
    std::int32_t expectAck = 1;
    std::int32_t shortForm = 0;
    std::int32_t useTcp = 0;
    std::string commandText;
    // Presets are numbered from 1; 0 addresses none, and every preset transfer sets it.
    std::uint8_t presetByte = 0;

private:
    void chooseLink();
    bool checkAnswer(std::uint8_t expectedCode, int lastOffset);
    std::optional<int> answerByteAt(std::uint8_t expectedCode, int offset);
    void noAnswer();
    int receiveRaw(std::uint8_t* buffer, int& length);

    FrameCodec codec_;
    // Never null: a serial link until the settings name TCP/IP.
    std::unique_ptr<Link> link_;
};

}  // namespace q93
