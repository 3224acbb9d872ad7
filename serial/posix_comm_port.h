#pragma once

#include <termios.h>

#include <cstdint>

#include "serial/comm_port.h"
#include "serial/device_control.h"

namespace q93::serial {

// A serial port on a POSIX terminal device (termios and ioctl), opened non-blocking and
// exclusive. Every line, flow and character setting lives in the device-control record;
// one commit writes it to the terminal.
class PosixCommPort : public CommPort {
public:
    // Opens port `portIndex` (the device devicePathForPort names) and sets the library
    // defaults: 19200 baud, 8 data bits, no parity, 1 stop bit, DTR and RTS on. Never fails
    // outwardly: the creator must call takeLastError before using the port.
    PosixCommPort(int portIndex, int rxQueueSize, int txQueueSize);
    // Purges both queues, drops DTR and RTS and closes the device.
    ~PosixCommPort() override;

    PortSettings settings() const override;
    int apply(const PortSettings& wanted) override;
    int bytesWaiting() override;
    int readChar() override;
    // A non-blocking terminal takes what fits and keeps nothing pending: at most the room
    // left in the transmit queue of txQueueSize bytes is written.
    int write(const std::uint8_t* buffer, int length) override;
    int flush(Queue queue) override;
    bool waitForInput(int timeoutMs) override;

    // The errno of the last failing system call, 0 when the last failure was the library's
    // own refusal: what a user is told about a device that would not open.
    int lastSystemError() const { return systemError_; }
    bool isDeviceOpen() const { return fd_ >= 0; }
    const DeviceControl& deviceControl() const { return dcb_; }

private:
    int openDevice();
    void closeDevice();
    void configureDefaults();
    int commit(const DeviceControl& next);
    bool framingIgnoredByPseudoTerminal(const termios& wanted);
    void driveOutputLines();
    bool setModemLine(int bit, bool on);
    int queued(unsigned long request);
    int refuse(int code);
    int failSystemCall();

    DeviceControl dcb_;
    int fd_ = -1;
    int portIndex_ = 0;  // 0 is COM1
    int rxQueueSize_ = 0;
    int txQueueSize_ = 0;
    int inFlow_ = FLOW_NONE;
    int outFlow_ = FLOW_NONE;
    int systemError_ = 0;
    bool openedDevice_ = false;
};

}  // namespace q93::serial
