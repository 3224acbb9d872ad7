#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "serial/comm_records.h"

namespace q93::serial {

// Receives the text lines of the dump operations, one call per line.
using DumpOutput = std::function<void(const std::string& line)>;

// A serial port as the library sees it. The operations are listed in the slot order the
// library has always had; an implementation that leaves one of the first 22 unfilled stops
// the program with a "Library Error" message when it is reached, as it always did.
class CommPort {
public:
    virtual ~CommPort() = default;
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    // Yield hook called inside every wait loop; a negative result aborts the wait.
    virtual int idle() { abstractSlot(__FILE__, __LINE__); }
    virtual int refreshModemStatus() { abstractSlot(__FILE__, __LINE__); }
    virtual int initialise(int /*portIndex*/) { abstractSlot(__FILE__, __LINE__); }
    virtual int openDevice() { abstractSlot(__FILE__, __LINE__); }
    virtual int closeDevice() { abstractSlot(__FILE__, __LINE__); }
    virtual int getQueueStatus(QueueStatus& /*record*/, int /*kind*/) {
        abstractSlot(__FILE__, __LINE__);
    }
    virtual int setQueueSizes(int /*rxSize*/, int /*xoffLimit*/, int /*txSize*/) {
        abstractSlot(__FILE__, __LINE__);
    }
    virtual int setFlowControl(int /*inbound*/, int /*outbound*/) {
        abstractSlot(__FILE__, __LINE__);
    }
    virtual int getFlowControl(int& /*inbound*/, int& /*outbound*/) {
        abstractSlot(__FILE__, __LINE__);
    }
    virtual int breakControl(int /*state*/) { abstractSlot(__FILE__, __LINE__); }
    // Switches DTR, RTS or break (value 0/1), or queries any line (value -1): 0, 1 or 2.
    virtual int lineControl(int /*line*/, int /*value*/) { abstractSlot(__FILE__, __LINE__); }
    virtual int setLineSettings(std::int32_t /*baud*/, char /*parity*/, int /*dataBits*/,
                                int /*stopBits*/) {
        abstractSlot(__FILE__, __LINE__);
    }
    virtual void getLineSettings(std::int32_t& /*baud*/, char& /*parity*/, int& /*dataBits*/,
                                 int& /*stopBits*/) {
        abstractSlot(__FILE__, __LINE__);
    }
    virtual LineStatus getLineStatus(LineStatus& /*record*/) { abstractSlot(__FILE__, __LINE__); }
    virtual int writeChar(int /*c*/) { abstractSlot(__FILE__, __LINE__); }
    virtual int writeString(const char* /*text*/) { abstractSlot(__FILE__, __LINE__); }
    virtual int write(const std::uint8_t* /*buffer*/, int /*length*/) {
        abstractSlot(__FILE__, __LINE__);
    }
    virtual int sendImmediate(int /*c*/) { abstractSlot(__FILE__, __LINE__); }
    virtual int readChar() { abstractSlot(__FILE__, __LINE__); }
    virtual int read(std::uint8_t* /*buffer*/, int /*max*/) { abstractSlot(__FILE__, __LINE__); }
    virtual int flush(int /*direction*/, int /*count*/) { abstractSlot(__FILE__, __LINE__); }
    virtual void dumpSettings(const DumpOutput& /*output*/) { abstractSlot(__FILE__, __LINE__); }
    // Two slots kept free for extensions; nothing fills them yet.
    virtual int extensionOne();
    virtual int extensionTwo();

    // The code of the most recent stored failure since the previous take, or 0; clears it.
    int takeLastError();
    int getLastError() const { return lastError; }
    int getPortIndex() const { return portIndex; }

protected:
    CommPort() = default;
    // Failures stick until taken: a later success must not hide an earlier failure from a
    // caller that only looks at the end of a sequence.
    int storeError(int code) {
        lastError = code;
        return code;
    }

    std::int32_t portIndex = 0;  // 0 is COM1
    std::int32_t lastError = 0;

private:
    [[noreturn]] static void abstractSlot(const char* file, int line);
};

}  // namespace q93::serial
