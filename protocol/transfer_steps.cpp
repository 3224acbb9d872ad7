#include "protocol/transfer_steps.h"

#include <cstdio>

#include "base/string_table.h"
#include "base/user_seam.h"
#include "protocol/command_formatters.h"

namespace q93::steps {

int send(DeviceConnection& connection, const Request& request) {
    switch (request.ask) {
        case Ask::Query:
            return connection.query(static_cast<std::uint8_t>(request.what));
        case Ask::QueryIndexed:
            return connection.queryIndexed(static_cast<std::uint8_t>(request.what), request.index);
        case Ask::Memory:
            return connection.memoryQuery(request.what);
        case Ask::Text:
            return connection.Transact(request.text);
    }
    return -1;
}

double take(DeviceConnection& connection, Take take, std::uint8_t code, int offset) {
    switch (take) {
        case Take::Byte:
            return connection.ReadByteAnswer(code);
        case Take::ByteAt:
            return connection.ReadByteAt(code, offset);
        case Take::Word:
            return connection.ReadWordAnswer(code, offset);
        case Take::Float:
            return connection.ReadFloatAnswer(code, offset);
    }
    return -1.0;
}

int put(DeviceConnection& connection, Put put, std::uint8_t id, std::uint8_t index,
        const char* format, double real, std::int32_t integer) {
    switch (put) {
        case Put::Byte:
            connection.setByte(id, integer);
            break;
        case Put::Float:
            connection.set32(id, floatBits(real));
            break;
        case Put::IndexedFloat:
            connection.setIndexed32(id, index, floatBits(real));
            break;
        case Put::Indexed16:
            connection.setIndexed16(id, index, integer);
            break;
        case Put::Register:
            connection.commandText = registerWriteText(format, integer);
            break;
    }
    return connection.Transact(connection.commandText);
}

void reportOpenFailure(const DeviceConnection& connection) {
    if (connection.useTcp != 0)
        return;
    char text[512];
    std::snprintf(text, sizeof text, LoadResString(111), connection.portName.c_str());
    showWarning(text);
}

int runTransfer(DeviceConnection& connection, int progressTextId, bool shortForm, int presetNumber,
                const std::function<bool()>& steps) {
    ProgressPopup popup;
    if (connection.open() != 0) {
        reportOpenFailure(connection);
        return -1;
    }
    popup.showText(LoadResString(progressTextId));
    connection.shortForm = shortForm ? 1 : 0;
    if (!shortForm) {
        connection.presetByte = static_cast<std::uint8_t>(presetNumber);
    }
    if (!steps())
        return -1;
    connection.close();
    popup.hide();
    return 0;
}

}  // namespace q93::steps
