#include "serial/line_settings.h"

#include <cstdio>

#include "serial/comm_errors.h"
#include "serial/port_stream.h"

namespace q93::serial {

LineSettings::LineSettings(PortStream* stream) {
    if (stream != nullptr)
        attach(*stream);
}

LineSettings::~LineSettings() {
    restore();
}

int LineSettings::attach(PortStream& stream) {
    port_ = &stream.port();
    port_->getLineSettings(savedBaud_, savedParity_, savedDataBits_, savedStopBits_);
    return apply();
}

int LineSettings::apply() {
    if (port_ == nullptr)
        return CL_ERR_FAIL;
    return port_->setLineSettings(baud_, parity_, dataBits_, stopBits_) < 0 ? CL_ERR_FAIL : 0;
}

int LineSettings::init(std::int32_t baud, char parity, int dataBits, int stopBits) {
    baud_ = baud;
    parity_ = parity;
    dataBits_ = dataBits;
    stopBits_ = stopBits;
    return apply();
}

template <typename T>
T LineSettings::setField(T& field, T value) {
    const T old = field;
    field = value;
    if (apply() != 0)
        field = old;
    return field;
}

std::int32_t LineSettings::setBaud(std::int32_t baud) {
    return setField(baud_, baud);
}

char LineSettings::setParity(char parity) {
    return setField(parity_, parity);
}

int LineSettings::setDataBits(int dataBits) {
    return setField(dataBits_, dataBits);
}

int LineSettings::setStopBits(int stopBits) {
    return setField(stopBits_, stopBits);
}

int LineSettings::restore() {
    if (port_ == nullptr)
        return 0;
    baud_ = savedBaud_;
    parity_ = savedParity_;
    dataBits_ = savedDataBits_;
    stopBits_ = savedStopBits_;
    return apply();
}

void LineSettings::dump(const DumpOutput& output) const {
    char line[160];
    std::snprintf(line, sizeof line,
                  "Old Port - Baud: %6ld    Parity: %c    Data: %d    Stop: %d    ",
                  static_cast<long>(savedBaud_), savedParity_, savedDataBits_, savedStopBits_);
    output(line);
    std::snprintf(line, sizeof line,
                  "New Port - Baud: %6ld    Parity: %c    Data: %d    Stop: %d    ",
                  static_cast<long>(baud_), parity_, dataBits_, stopBits_);
    output(line);
}

}  // namespace q93::serial
