#include "fleet/transfer_rows.h"

#include <cstddef>
#include <span>

#include "protocol/device_transfer.h"
#include "protocol/parameter_fields.h"
#include "protocol/preset_transfer.h"

namespace q93 {
namespace {

// Where a member lies in its block, to find its name in the table of stored fields.
template <typename Block, typename Member>
std::size_t offsetOf(Member Block::*member) {
    static const Block block{};
    return static_cast<std::size_t>(reinterpret_cast<const char*>(&(block.*member)) -
                                    reinterpret_cast<const char*>(&block));
}

std::string nameAt(std::size_t offset, std::span<const FieldInfo> fields) {
    for (const FieldInfo& field : fields) {
        if (field.offset == offset)
            return field.name;
    }
    return "?";
}

template <typename Step>
std::size_t stepOffset(const Step& step) {
    return step.real != nullptr ? offsetOf(step.real) : offsetOf(step.integer);
}

template <typename Steps>
void addRows(std::vector<std::string>& rows, Steps steps, std::span<const FieldInfo> fields) {
    for (const auto& step : steps)
        rows.push_back(nameAt(stepOffset(step), fields));
}

// The status values are read but never stored, so no file table names them.
const FieldInfo kStatusFields[] = {
    {"currentInput", offsetof(DeviceStatus, currentInput), FieldType::Int32, 1},
    {"digitalChannels", offsetof(DeviceStatus, digitalChannels), FieldType::Int32, 1},
    {"analogChannels", offsetof(DeviceStatus, analogChannels), FieldType::Int32, 1},
    {"aesFrameStatus", offsetof(DeviceStatus, aesFrameStatus), FieldType::Int32, 1},
};

std::vector<std::string> buildRows(Transfer transfer) {
    std::vector<std::string> rows{""};
    switch (transfer) {
        case Transfer::ReadDevice:
            addRows(rows, deviceReadSteps(), deviceFields());
            addRows(rows, statusReadSteps(), kStatusFields);
            break;
        case Transfer::WriteDevice:
            addRows(rows, deviceWriteSteps(), deviceFields());
            break;
        case Transfer::ReadPreset:
            addRows(rows, presetReadSteps(), presetFields());
            break;
        case Transfer::WritePreset:
            addRows(rows, presetWriteSteps(), presetFields());
            break;
        case Transfer::SetClock:
        case Transfer::ReadClock:
            rows.push_back("clock");
            break;
    }
    return rows;
}

}  // namespace

const std::vector<std::string>& transferRows(Transfer transfer) {
    static const std::vector<std::string> tables[] = {
        buildRows(Transfer::ReadDevice), buildRows(Transfer::WriteDevice),
        buildRows(Transfer::ReadPreset), buildRows(Transfer::WritePreset),
        buildRows(Transfer::SetClock),   buildRows(Transfer::ReadClock),
    };
    return tables[static_cast<int>(transfer)];
}

std::string stepText(const std::string& transfer, Transfer table, int rowsSent) {
    const std::vector<std::string>& rows = transferRows(table);
    const int count = static_cast<int>(rows.size()) - 1;
    if (rowsSent <= 0)
        return transfer + ", opening the link";
    if (rowsSent > count || count == 1)
        return transfer;
    return transfer + ", step " + std::to_string(rowsSent) + " of " + std::to_string(count) + " (" +
           rows[static_cast<std::size_t>(rowsSent)] + ")";
}

}  // namespace q93
