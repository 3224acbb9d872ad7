#include <cstdio>

#include "cli/ctl_command.h"

namespace q93::ctl {

const char* usageText() {
    return "usage: q93ctl [connection] COMMAND [ARGS]\n"
           "connection (the five values of an encoder's tcp.txt):\n"
           "  --port NAME        COM1..COM66 or TCP/IP (default COM2)\n"
           "  --ip ADDRESS       encoder address for TCP/IP\n"
           "  --tcp-port N       encoder TCP port\n"
           "  --speed INDEX      0..5 = 1200..38400 baud (default 3, 9600 baud)\n"
           "  --ack 0|1          the encoder acknowledges serial commands (default 1)\n"
           "  --encoder SITE/ENC take the five values from ./LocationData/SITE/ENC/tcp.txt;\n"
           "                     files default to that folder; the options above override\n"
           "commands:\n"
           "  frame [--seq N] TEXT   print the wire frame of command TEXT with sequence byte N\n"
           "                         (default 0): upper-case hex pairs separated by one blank\n"
           "  show FILE              print a preset (200 B) or device (296 B) file as\n"
           "                         name=value lines\n"
           "  read-preset N [--out FILE]  read preset N (1..8) into a 200-byte preset file;\n"
           "                         starts from FILE's content when FILE exists, else from\n"
           "                         zeros\n"
           "  write-preset N [--in FILE]  send the 28 preset parameters held in FILE as preset N\n"
           "  read-device [--out FILE]    read the device settings into a 296-byte device file\n"
           "                         (same start rule); print the four status values as\n"
           "                         name=value lines\n"
           "  write-device [--in FILE]    send the 12 device settings held in FILE\n"
           "  rtc-read               print the encoder clock as YYYY-MM-DD HH:MM:SS +H:MM\n"
           "  rtc-write (--pc | --time \"YYYY-MM-DD HH:MM:SS\" [--offset +H:MM|-H:MM])\n"
           "                         set the encoder clock from the PC (offset 0:00) or as given\n"
           "  levels [--count N]     run both level queries N times (default 1); print the 8\n"
           "                         readings of each round as name=value lines\n"
           "  --help                 this text\n"
           "Files are written only when the whole transfer succeeded. The progress text goes\n"
           "to stderr when stderr is a terminal.\n"
           "exit status: 0 success; 1 failure, with the message on stderr; 2 usage error\n";
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "q93ctl: %s\n(q93ctl --help lists the commands)\n", message.c_str());
    return kExitUsage;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "q93ctl: %s\n", message.c_str());
    return kExitFailure;
}

}  // namespace q93::ctl
