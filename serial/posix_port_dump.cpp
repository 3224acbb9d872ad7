#include <cstdio>

#include "serial/posix_comm_port.h"

namespace q93::serial {
namespace {

template <typename... Args>
std::string formatted(const char* format, Args... args) {
    char line[256];
    std::snprintf(line, sizeof line, format, args...);
    return line;
}

}  // namespace

void PosixCommPort::dumpSettings(const DumpOutput& output) {
    QueueStatus queues;
    getQueueStatus(queues, 0);
    output(formatted("Port type: POSIX termios  BaudRate: %-6u  ByteSize: %1d  Parity: %1d",
                     dcb.BaudRate, dcb.ByteSize, dcb.Parity));
    output(formatted("StopBits: %1d  fBinary: %1d  fRtsControl: %1d", dcb.StopBits, dcb.fBinary,
                     dcb.fRtsControl));
    output(formatted(
        "Parity: %1d  OutCtsFlow: %1d  OutDsrFlow: %1d  DtrControl: %1d  OutX: %1d  InX: %1d",
        dcb.fParity, dcb.fOutxCtsFlow, dcb.fOutxDsrFlow, dcb.fDtrControl, dcb.fOutX, dcb.fInX));
    output(formatted("Null: %1d  XonChar: %02x  XoffChar: %02x", dcb.fNull, dcb.XonChar,
                     dcb.XoffChar));
    output(formatted("XonLim: %-5u XoffLim: %-5u EofChr: %02x  EvtChr: %02x", dcb.XonLim,
                     dcb.XoffLim, dcb.EofChar, dcb.EvtChar));
    output(formatted("RX sz/ct: %5d/%-5d  TX sz/ct: %5d/%-5d  BLOCK SENT:%d  BLOCK RECEIVED:%d",
                     queues.rxSize, queues.rxWaiting, queues.txSize, queues.txWaiting,
                     queues.flags & kQueueSentXoff, (queues.flags & kQueueOutputHeld) >> 1));
}

}  // namespace q93::serial
