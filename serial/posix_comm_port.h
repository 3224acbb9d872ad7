#pragma once

#include <cstdint>

#include "serial/comm_port.h"
#include "serial/device_control.h"

namespace q93::serial {

// Bits of lineErrors, as the library has always numbered them.
inline constexpr std::uint32_t kErrRxOverflow = 0x01;
inline constexpr std::uint32_t kErrOverrun = 0x02;
inline constexpr std::uint32_t kErrParity = 0x04;
inline constexpr std::uint32_t kErrFraming = 0x08;
inline constexpr std::uint32_t kErrBreak = 0x10;

// Bits of modemStatus and the masks of modemBit.
inline constexpr std::uint8_t kModemCts = 0x10;
inline constexpr std::uint8_t kModemDsr = 0x20;
inline constexpr std::uint8_t kModemRing = 0x40;
inline constexpr std::uint8_t kModemCarrier = 0x80;

// Event mask bits understood by waitEvent.
inline constexpr std::uint32_t kEventRxChar = 0x0001;
inline constexpr std::uint32_t kEventTxEmpty = 0x0004;

// A serial port on a POSIX terminal device (termios and ioctl), opened non-blocking and
// exclusive. Every line, flow and character setting lives in the device-control record
// `dcb`; commitDeviceControl writes it to the terminal.
class PosixCommPort : public CommPort {
public:
    // Opens and configures port `portIndex` unless attach is non-zero. Never fails
    // outwardly: the creator must call takeLastError before using the port.
    PosixCommPort(int portIndex, int rxQueueSize, int txQueueSize, int attach);
    ~PosixCommPort() override;

    int idle() override;
    int refreshModemStatus() override;
    int initialise(int portIndex) override;
    int openDevice() override;
    int closeDevice() override;
    int getQueueStatus(QueueStatus& record, int kind) override;
    int setQueueSizes(int rxSize, int xoffLimit, int txSize) override;
    int setFlowControl(int inbound, int outbound) override;
    int getFlowControl(int& inbound, int& outbound) override;
    int breakControl(int state) override;
    int lineControl(int line, int value) override;
    int setLineSettings(std::int32_t baud, char parity, int dataBits, int stopBits) override;
    void getLineSettings(std::int32_t& baud, char& parity, int& dataBits, int& stopBits) override;
    LineStatus getLineStatus(LineStatus& record) override;
    int writeChar(int c) override;
    int writeString(const char* text) override;
    int write(const std::uint8_t* buffer, int length) override;
    int sendImmediate(int c) override;
    int readChar() override;
    int read(std::uint8_t* buffer, int max) override;
    int flush(int direction, int count) override;
    void dumpSettings(const DumpOutput& output) override;

    virtual int setEventChar(int c);
    virtual int getEventMask(std::uint32_t& mask);
    virtual int setEventMask(std::uint32_t mask);
    // Blocks until one of the masked events happens; mask receives the events seen.
    virtual int waitEvent(std::uint32_t& mask);
    virtual int modemBit(int mask);
    // The library code of the last failing terminal call.
    virtual int translateLastError();
    // The errno of the last failing system call, 0 when the last failure was the library's
    // own refusal: what a user is told about a device that would not open.
    int lastSystemError() const { return systemError; }

    // Waits up to timeoutMs for a received byte; true when one is waiting.
    bool waitForInput(int timeoutMs);
    bool isDeviceOpen() const { return fd >= 0; }
    const DeviceControl& deviceControl() const { return dcb; }

private:
    struct SavedTimeouts {
        cc_t vmin = 0;
        cc_t vtime = 0;
    };

    int commitDeviceControl();
    bool framingIgnoredByPseudoTerminal(const termios& wanted);
    void configureDefaults();
    void driveOutputLines();
    bool setModemLine(int bit, bool on);
    bool readModemLines(std::uint8_t& status);
    void collectLineErrors();
    int bytesWaiting(unsigned long request);
    int failPlatform(int legacy);
    int failSystemCall();
    int storeTranslated();

    DeviceControl dcb;
    SavedTimeouts savedTimeouts;
    int fd = -1;
    std::int32_t inFlow = 0;
    std::int32_t outFlow = 0;
    std::int32_t rtsState = 0;
    std::int32_t dtrState = 0;
    std::uint16_t breakState = 0;
    std::uint32_t lineErrors = 0;
    std::uint8_t modemStatus = 0;
    bool modemStatusAvailable = false;
    std::uint32_t savedEventMask = 0;
    std::uint32_t eventMask = 0;
    std::int32_t txQueueSize = 0;
    std::int32_t rxQueueSize = 0;
    int platformError = 0;  // legacy code of the last failing terminal call
    int systemError = 0;    // its errno, when it came from the system
    bool openedDevice = false;
    // Error counters the driver reported last, so that only new errors are ORed in.
    int lastOverruns = 0, lastParityErrors = 0, lastFramingErrors = 0, lastBreaks = 0,
        lastBufferOverruns = 0;
};

}  // namespace q93::serial
