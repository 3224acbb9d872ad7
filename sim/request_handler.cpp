#include "sim/request_handler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sim/parameter_table.h"

namespace q93::sim {

namespace {

constexpr std::uint8_t kParameterCode = 0x2D;
constexpr std::uint8_t kRegisterQuery = 0x17;
constexpr std::uint8_t kResponseGroup = 0x3B;
constexpr std::uint8_t kBaudGroup = 0x3C;
constexpr std::uint8_t kClockCode = 0x0D;
constexpr std::uint8_t kMemoryId = 0x02;
constexpr std::uint8_t kLevels0Id = 0x20;
constexpr std::uint8_t kLevels1Id = 0x21;
// 2d cnt 4d 49 id: the head every parameter command and answer starts with.
constexpr std::size_t kParameterHead = 5;

Reply unknown(const Payload& request, const std::string& why) {
    Reply r;
    r.known = false;
    r.what = "unknown command " + hexBytes(request) + " (" + why + ")";
    return r;
}

// Sets the count byte: the number of payload bytes after it.
Payload withCount(Payload answer) {
    answer[1] = static_cast<std::uint8_t>(answer.size() - 2);
    return answer;
}

void appendFloat(Payload& out, float value) {
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

// The field a register command names: group 3b holds the response modes, 3c the baud
// rates; port 04 is the Front port, 01 to 03 are DTE1 to DTE3.
std::int32_t* registerField(DeviceParameters& d, std::uint8_t group, std::uint8_t port) {
    std::int32_t* baud[] = {&d.frontBaud, &d.dte1Baud, &d.dte2Baud, &d.dte3Baud};
    std::int32_t* response[] = {&d.frontResponse, &d.dte1Response, &d.dte2Response, &d.dte3Response};
    int slot = -1;
    if (port == 0x04) slot = 0;
    if (port >= 0x01 && port <= 0x03) slot = port;
    if (slot < 0) return nullptr;
    if (group == kBaudGroup) return baud[slot];
    if (group == kResponseGroup) return response[slot];
    return nullptr;
}

const char* portName(std::uint8_t port) {
    switch (port) {
        case 0x04: return "Front";
        case 0x01: return "DTE1";
        case 0x02: return "DTE2";
        case 0x03: return "DTE3";
        default: return "?";
    }
}

}  // namespace

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    std::string out;
    char text[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(text, sizeof text, "%02x", bytes[i]);
        if (i > 0) out.push_back(' ');
        out += text;
    }
    return out;
}

const std::vector<RequestHandler::Form>& RequestHandler::forms() {
    static const std::vector<Form> table = {
        {"parameter command 2d cnt 4d 49 id ...", {kParameterCode}, 5, &RequestHandler::parameterCommand},
        {"register query 17 02 3b|3c port", {kRegisterQuery, 0x02}, 4, &RequestHandler::registerQuery},
        {"clock query 17 01 0d", {kRegisterQuery, 0x01, kClockCode}, 3, &RequestHandler::clockQuery},
        {"register set 3b port v", {kResponseGroup}, 3, &RequestHandler::registerSet},
        {"register set 3c port v", {kBaudGroup}, 3, &RequestHandler::registerSet},
        {"clock set 0d yy mm dd hh mi ss 00 oc", {kClockCode}, 9, &RequestHandler::clockSet},
    };
    return table;
}

std::vector<std::string> RequestHandler::formNames() {
    std::vector<std::string> names;
    for (const Form& form : forms()) names.emplace_back(form.name);
    return names;
}

Reply RequestHandler::handle(const Payload& request) {
    for (const Form& form : forms()) {
        if (request.size() < form.prefix.size()) continue;
        if (!std::equal(form.prefix.begin(), form.prefix.end(), request.begin())) continue;
        if (request.size() < form.minLength) return unknown(request, "too short");
        return (this->*form.answer)(request);
    }
    return unknown(request, "no such command");
}

Reply RequestHandler::parameterCommand(const Payload& request) {
    if (request[2] != 0x4D || request[3] != 0x49) return unknown(request, "no 4d 49 after the count");
    const std::uint8_t id = request[4];
    if (id == kLevels0Id || id == kLevels1Id) return levelQuery(request);
    if (id == kMemoryId) return memoryQuery(request);
    if (isReadId(id)) return parameterQuery(request);
    if (isWriteId(id)) return parameterSet(request);
    return unknown(request, "no parameter with this id");
}

// Answers repeat the request's head (2d cnt 4d 49 id, the preset byte in the long form, the
// index of the Mod Check groups) and then carry the value, so that the tool finds it at
// offset 10 (short form), 11 (long form) or 12 (indexed). The SCA gains are the exception:
// their answer leaves the index out, so the value lies at offset 11 as the tool expects.
Reply RequestHandler::parameterQuery(const Payload& request) {
    const std::uint8_t id = request[4];
    const std::size_t rest = request.size() - kParameterHead;
    const bool indexed = readIdIsIndexed(id);
    const ParameterRow* row = nullptr;
    int presetNumber = 0;
    std::size_t headLength = kParameterHead;
    if (indexed) {
        if (rest != 2) return unknown(request, "indexed query needs preset and index");
        row = findReadRow(id, request[6]);
        if (row == nullptr) return unknown(request, "index out of range");
        presetNumber = request[5];
        headLength = id == 0x42 ? kParameterHead + 1 : kParameterHead + 2;
    } else {
        row = findReadRow(id, -1);
        if (rest > 1) return unknown(request, "too long for a query");
        if (rest == 1) {
            presetNumber = request[5];
            headLength = kParameterHead + 1;
        }
    }
    if (row->scope == Scope::Preset) {
        if (rest == 0) presetNumber = model_.activePresetNumber();
        if (presetNumber < 1 || presetNumber > kPresetCount) return unknown(request, "preset byte out of range");
    }
    const void* record = row->scope == Scope::Preset ? static_cast<const void*>(&model_.preset(presetNumber))
                                                     : static_cast<const void*>(&model_.device());
    Reply r;
    r.known = true;
    Payload answer(request.begin(), request.begin() + static_cast<std::ptrdiff_t>(headLength));
    const std::vector<std::uint8_t> value = encodeField(record, *row);
    answer.insert(answer.end(), value.begin(), value.end());
    r.answer = withCount(std::move(answer));
    r.what = std::string("query ") + row->name +
             (row->scope == Scope::Preset ? " of preset " + std::to_string(presetNumber) : "");
    return r;
}

Reply RequestHandler::parameterSet(const Payload& request) {
    const std::uint8_t id = request[4];
    const std::size_t rest = request.size() - kParameterHead;
    const bool indexed = writeIdIsIndexed(id);
    const ParameterRow* row = nullptr;
    int presetNumber = 0;
    std::size_t valueAt = kParameterHead;
    if (indexed) {
        if (rest < 2) return unknown(request, "indexed set needs preset and index");
        row = findWriteRow(id, request[6]);
        if (row == nullptr) return unknown(request, "index out of range");
        if (rest != 2 + static_cast<std::size_t>(wireSize(row->wire))) return unknown(request, "wrong value size");
        presetNumber = request[5];
        valueAt = kParameterHead + 2;
    } else {
        row = findWriteRow(id, -1);
        const auto size = static_cast<std::size_t>(wireSize(row->wire));
        if (rest == size + 1) {
            presetNumber = request[5];
            valueAt = kParameterHead + 1;
        } else if (rest != size) {
            return unknown(request, "wrong value size");
        }
    }
    if (row->scope == Scope::Preset) {
        if (valueAt == kParameterHead) presetNumber = model_.activePresetNumber();
        if (presetNumber < 1 || presetNumber > kPresetCount) return unknown(request, "preset byte out of range");
    }
    Reply r;
    r.known = true;
    void* record = row->scope == Scope::Preset ? static_cast<void*>(&model_.preset(presetNumber))
                                               : static_cast<void*>(&model_.device());
    // What the field held, for an encoder that keeps it whatever it is told (--ignore-set).
    std::uint8_t before[sizeof(double)];
    std::memcpy(before, static_cast<const std::uint8_t*>(record) + row->offset,
                fieldStorageSize(*row));
    decodeField(record, *row, request.data() + valueAt);
    const std::string quirk = model_.writeQuirks().apply(*row, record, before);
    if (row->scope == Scope::Preset) {
        r.changedPreset = presetNumber;
        r.what = std::string("set ") + row->name + " of preset " + std::to_string(presetNumber);
    } else {
        r.changedDevice = true;
        r.what = std::string("set ") + row->name;
    }
    if (!quirk.empty()) r.what += " (" + quirk + ")";
    return r;
}

// Levels: 2d cnt 4d 49 20|21 and then 2 or 6 floats from offset 10.
Reply RequestHandler::levelQuery(const Payload& request) {
    Payload answer(request.begin(), request.begin() + kParameterHead);
    if (request[4] == kLevels0Id) {
        for (float v : model_.levels0()) appendFloat(answer, v);
    } else {
        for (float v : model_.levels1()) appendFloat(answer, v);
    }
    Reply r;
    r.known = true;
    r.answer = withCount(std::move(answer));
    r.what = request[4] == kLevels0Id ? "level query 0" : "level query 1";
    return r;
}

// Memory: 2d cnt 4d 49 02 a3 a2 a1 a0 00 00 00 v, the value at offset 17.
Reply RequestHandler::memoryQuery(const Payload& request) {
    if (request.size() != kParameterHead + 4) return unknown(request, "memory query needs four address bytes");
    const std::uint32_t address = std::uint32_t{request[5]} << 24 | std::uint32_t{request[6]} << 16 |
                                  std::uint32_t{request[7]} << 8 | request[8];
    Payload answer(request.begin(), request.end());
    answer.insert(answer.end(), {0x00, 0x00, 0x00, model_.memoryByte(address)});
    Reply r;
    r.known = true;
    r.answer = withCount(std::move(answer));
    char text[48];
    std::snprintf(text, sizeof text, "memory query %08x", address);
    r.what = text;
    return r;
}

// 17 02 3b|3c port: answered 3b|3c port v, the value at offset 7.
Reply RequestHandler::registerQuery(const Payload& request) {
    if (request.size() != 4) return unknown(request, "register query is 17 02 group port");
    std::int32_t* field = registerField(model_.device(), request[2], request[3]);
    if (field == nullptr) return unknown(request, "no such register");
    Reply r;
    r.known = true;
    r.answer = Payload{request[2], request[3], static_cast<std::uint8_t>(*field)};
    r.what = std::string(request[2] == kBaudGroup ? "query baud of " : "query response of ") +
             portName(request[3]);
    return r;
}

Reply RequestHandler::registerSet(const Payload& request) {
    if (request.size() != 3) return unknown(request, "register set is group port value");
    std::int32_t* field = registerField(model_.device(), request[0], request[1]);
    if (field == nullptr) return unknown(request, "no such register");
    *field = request[2];
    Reply r;
    r.known = true;
    r.changedDevice = true;
    r.what = std::string(request[0] == kBaudGroup ? "set baud of " : "set response of ") +
             portName(request[1]);
    return r;
}

// 17 01 0d: answered 0d yy mm dd hh mi ss 00 oc.
Reply RequestHandler::clockQuery(const Payload& request) {
    if (request.size() != 3) return unknown(request, "clock query is 17 01 0d");
    const ClockValues c = model_.clock();
    Reply r;
    r.known = true;
    r.answer = Payload{kClockCode,
                       static_cast<std::uint8_t>(c.year),
                       static_cast<std::uint8_t>(c.month),
                       static_cast<std::uint8_t>(c.day),
                       static_cast<std::uint8_t>(c.hour),
                       static_cast<std::uint8_t>(c.minute),
                       static_cast<std::uint8_t>(c.second),
                       0x00,
                       static_cast<std::uint8_t>(c.offsetCode)};
    r.what = "clock query";
    return r;
}

Reply RequestHandler::clockSet(const Payload& request) {
    if (request.size() != 9) return unknown(request, "clock set is 0d and eight bytes");
    ClockValues c;
    c.year = request[1];
    c.month = request[2];
    c.day = request[3];
    c.hour = request[4];
    c.minute = request[5];
    c.second = request[6];
    c.offsetCode = request[8];
    model_.setClock(c);
    Reply r;
    r.known = true;
    char text[64];
    std::snprintf(text, sizeof text, "set clock %02d-%02d-%02d %02d:%02d:%02d offset %02x", c.year,
                  c.month, c.day, c.hour, c.minute, c.second, c.offsetCode);
    r.what = text;
    return r;
}

}  // namespace q93::sim
