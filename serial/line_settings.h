#pragma once

#include <cstdint>

#include "serial/comm_port.h"

namespace q93::serial {

class PortStream;

// A port's baud, parity, data and stop bits together with the values found when it was
// attached, which restore (and destruction) put back.
class LineSettings {
public:
    explicit LineSettings(PortStream* stream = nullptr);
    ~LineSettings();
    LineSettings(const LineSettings&) = delete;
    LineSettings& operator=(const LineSettings&) = delete;

    // Takes the stream's port, keeps the port's current values as the saved ones and
    // applies the current ones.
    int attach(PortStream& stream);
    // 0, or CL_ERR_FAIL when not attached or the port refuses the values.
    int apply();
    int init(std::int32_t baud, char parity, int dataBits, int stopBits);
    // Each applies its new value and keeps the old one when the port refuses it; returns
    // the value in force.
    std::int32_t setBaud(std::int32_t baud);
    char setParity(char parity);
    int setDataBits(int dataBits);
    int setStopBits(int stopBits);
    int restore();
    void dump(const DumpOutput& output) const;

    std::int32_t baud() const { return baud_; }
    char parity() const { return parity_; }
    int dataBits() const { return dataBits_; }
    int stopBits() const { return stopBits_; }
    std::int32_t savedBaud() const { return savedBaud_; }
    char savedParity() const { return savedParity_; }
    int savedDataBits() const { return savedDataBits_; }
    int savedStopBits() const { return savedStopBits_; }

private:
    template <typename T>
    T setField(T& field, T value);

    std::int32_t baud_ = 1200;
    char parity_ = 'N';
    int dataBits_ = 8;
    int stopBits_ = 1;
    std::int32_t savedBaud_ = 1200;
    char savedParity_ = 'N';
    int savedDataBits_ = 8;
    int savedStopBits_ = 1;
    CommPort* port_ = nullptr;
};

}  // namespace q93::serial
