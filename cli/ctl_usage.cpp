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
           "fleet commands, over the encoders under ./LocationData (SITE names all of a\n"
           "site's encoders, SITE/ENC one; none named: every encoder):\n"
           "  list [--json]          every site and encoder: folder, label, the five values of\n"
           "                         tcp.txt, which of device.dat and Preset-1..8.dat exist\n"
           "  add SITE/ENC [connection] [--force]\n"
           "                         create the encoder folder and write its tcp.txt from the\n"
           "                         connection options (before the command or after the name);\n"
           "                         an existing encoder only with --force (its .dat files stay)\n"
           "  backup [SITE[/ENC]]... [--jobs N] [--json]\n"
           "                         read the device settings and the eight presets of each\n"
           "                         encoder into its folder; all nine files are replaced\n"
           "                         together, and only when all nine reads succeeded; exit 1\n"
           "                         when any encoder failed\n"
           "  restore SITE/ENC [--device] [--presets LIST]\n"
           "                         send the stored files back (all nine when neither option);\n"
           "                         LIST such as 1,3,5-8\n"
           "  diff SITE/ENC [--device] [--presets LIST] [--json]\n"
           "                         read from the encoder and print each field that differs\n"
           "                         from the stored files, as the pages show it (one decimal,\n"
           "                         levels in kHz or dBu as the stored device's unit says):\n"
           "                         FILE FIELD stored=V encoder=V [unit=U]; exit 0 when equal,\n"
           "                         3 when they differ, 1 on failure\n"
           "  clock [SITE[/ENC]]... --pc [--jobs N] [--json]\n"
           "                         set each encoder's clock from the PC, read it back and\n"
           "                         print the difference in seconds\n"
           "  ports [--json]         the serial devices here (/dev/serial/by-id, ttyS*, ttyUSB*,\n"
           "                         ttyACM*, and every device the INI file maps), the COMn that\n"
           "                         reach each, whether this user can open it (it is opened\n"
           "                         once, briefly), and where not the reason and the fix; a\n"
           "                         [Settings] value a port refuses or reads as none is named\n"
           "                         on stderr\n"
           "  map-port COMn DEVICE   write COMn=DEVICE into section [Ports] of the INI file,\n"
           "                         keeping every other line; a device's /dev/serial/by-id\n"
           "                         name is written in its place when it has one; a DEVICE\n"
           "                         with a control character, or that exists and is no\n"
           "                         character device, is refused (exit 2)\n"
           "  --jobs N               read N encoders at once (default 1), each in a worker\n"
           "                         process; encoders on one serial port take turns; output\n"
           "                         stays in the order of the tree\n"
           "plain output: one line per encoder, \"SITE/ENC OK [name=value...]\" or\n"
           "  \"SITE/ENC FAILED step=... message=...\"; values with blanks in double quotes\n"
           "--json output, one document on stdout (members in this order):\n"
           "  list:   {command, sites: [{site, encoders: [{name: \"SITE/ENC\", folder, label,\n"
           "          connection: {ipAddress, tcpPort, portName, speedIndex, readAck} or null,\n"
           "          device: bool, presets: [numbers]}]}]}\n"
           "  backup, clock: {command, encoders: [{name, ok: bool, step and message when not\n"
           "          ok; clock: difference in seconds}], failed: count}\n"
           "  diff:   {command, name, ok, step and message when not ok; else equal: bool,\n"
           "          differences: [{file, field, stored, encoder, unit}]}\n"
           "  ports:  {command, iniFile, settings: [{key, value, allowed, refused: bool}],\n"
           "          ports: [{device, stableNames: [], comPorts: [],\n"
           "          canOpen: bool, reason and fix when not, heldBy: [{pid, command}]}]}\n"
           "  --help                 this text\n"
           "Files are written only when the whole transfer succeeded. The progress text goes\n"
           "to stderr when stderr is a terminal.\n"
           "exit status: 0 success; 1 failure, with the message on stderr; 2 usage error;\n"
           "3 diff found differences\n";
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
