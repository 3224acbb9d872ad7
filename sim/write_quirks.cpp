#include "sim/write_quirks.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace q93::sim {

namespace {

// Fields of the records that no parameter command sets: the baud and response registers,
// the delays and the correction values. Named apart so that a mistake about them says so.
constexpr const char* kNotParameterCommands[] = {
    "frontBaud",          "dte1Baud",           "dte2Baud",         "dte3Baud",
    "frontResponse",      "dte1Response",       "dte2Response",     "dte3Response",
    "delayAnalogDigital", "delayDigitalAnalog", "correctionValues",
};

bool readNumber(const std::string& text, int& value) {
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool readReal(const std::string& text, double& value) {
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// "K:REST" or "REST": the encoder number (1 without a prefix) and the rest.
bool splitEncoder(const std::string& option, const std::string& text, int& encoder,
                  std::string& rest, std::string* why) {
    const std::size_t colon = text.find(':');
    encoder = 1;
    rest = text;
    if (colon == std::string::npos)
        return true;
    rest = text.substr(colon + 1);
    if (!readNumber(text.substr(0, colon), encoder) || encoder < 1) {
        *why = option + " needs an encoder number from 1 before ':', not '" +
               text.substr(0, colon) + "'";
        return false;
    }
    return true;
}

bool checkField(const std::string& option, const std::string& field, std::string* why) {
    if (findRowByName(field) != nullptr)
        return true;
    for (const char* name : kNotParameterCommands) {
        if (field == name) {
            *why = option + " covers the fields of the parameter commands; " + field +
                   " is not set by one";
            return false;
        }
    }
    *why =
        option + ": unknown field '" + field + "' (fields are named as in --help's factory values)";
    return false;
}

}  // namespace

std::size_t fieldStorageSize(const ParameterRow& row) {
    return row.wire == Wire::Float ? sizeof(double) : sizeof(std::int32_t);
}

const ParameterRow* findRowByName(const std::string& name) {
    for (const ParameterRow& row : parameterTable()) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

std::string WriteQuirks::apply(const ParameterRow& row, void* record, const void* before) const {
    auto* at = static_cast<std::uint8_t*>(record) + row.offset;
    if (ignored.count(row.name) != 0) {
        std::memcpy(at, before, fieldStorageSize(row));
        return "ignored";
    }
    const auto ceiling = ceilings.find(row.name);
    if (ceiling == ceilings.end())
        return "";
    if (row.wire == Wire::Float) {
        double value;
        std::memcpy(&value, at, sizeof value);
        if (value <= ceiling->second)
            return "";
        std::memcpy(at, &ceiling->second, sizeof ceiling->second);
    } else {
        std::int32_t value;
        std::memcpy(&value, at, sizeof value);
        if (value <= ceiling->second)
            return "";
        const auto stored = static_cast<std::int32_t>(ceiling->second);
        std::memcpy(at, &stored, sizeof stored);
    }
    return "clamped";
}

bool parseIgnoreSet(const std::string& text, int& encoder, std::string& field, std::string* why) {
    return splitEncoder("--ignore-set", text, encoder, field, why) &&
           checkField("--ignore-set", field, why);
}

bool parseClamp(const std::string& text, int& encoder, std::string& field, double& ceiling,
                std::string* why) {
    std::string rest;
    if (!splitEncoder("--clamp", text, encoder, rest, why))
        return false;
    const std::size_t eq = rest.find('=');
    if (eq == std::string::npos) {
        *why = "--clamp needs [K:]FIELD=MAX, for example 3:pilotLevel=6.0";
        return false;
    }
    field = rest.substr(0, eq);
    if (!checkField("--clamp", field, why))
        return false;
    const std::string max = rest.substr(eq + 1);
    const ParameterRow& row = *findRowByName(field);
    if (row.wire == Wire::Float) {
        if (!readReal(max, ceiling)) {
            *why = "--clamp needs a number for MAX of " + field + ", not '" + max + "'";
            return false;
        }
        return true;
    }
    // Byte and word fields hold whole numbers within what their wire form carries.
    const int highest = row.wire == Wire::Byte ? 0xFF : 0xFFFF;
    int whole = 0;
    if (!readNumber(max, whole) || whole < 0 || whole > highest) {
        *why = "--clamp needs a whole number from 0 to " + std::to_string(highest) +
               " for MAX of " + field + ", not '" + max + "'";
        return false;
    }
    ceiling = whole;
    return true;
}

}  // namespace q93::sim
