#include "sim/sim_options.h"

#include <algorithm>
#include <charconv>

namespace q93::sim {

namespace {

bool readInt(const std::string& text, int& value) {
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// "K:SECONDS" of --clock-ahead.
bool parseEncoderSeconds(const std::string& text, int& encoder, int& seconds) {
    const std::size_t colon = text.find(':');
    return colon != std::string::npos && readInt(text.substr(0, colon), encoder) &&
           readInt(text.substr(colon + 1), seconds);
}

bool parseHostPort(const std::string& text, std::string& host, int& port) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    host = text.substr(0, colon);
    return readInt(text.substr(colon + 1), port) && port >= 0 && port <= 65535;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& args, SimOptions& options, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (name.rfind("--", 0) == 0) {
            const std::size_t eq = name.find('=');
            if (eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
        }
        auto value = [&](std::string& out) {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--verbose" || name == "-v") {
            options.verbose = true;
        } else if (name == "--pty") {
            options.pty = true;
        } else if (name == "--tcp") {
            if (!value(v) || !parseHostPort(v, options.tcpHost, options.tcpPort)) {
                return fail("--tcp needs HOST:PORT, for example 127.0.0.1:0");
            }
            options.tcp = true;
        } else if (name == "--serial-ack") {
            if (!value(v) || (v != "0" && v != "1"))
                return fail("--serial-ack needs 0 or 1");
            options.serialAck = v == "1";
        } else if (name == "--store") {
            if (!value(v) || v.empty())
                return fail("--store needs a folder");
            options.storeDir = v;
        } else if (name == "--store-root") {
            if (!value(v) || v.empty())
                return fail("--store-root needs a folder");
            options.storeRoot = v;
        } else if (name == "--encoders") {
            if (!value(v) || !readInt(v, options.encoders) || options.encoders < 1 ||
                options.encoders > kMaxEncoders) {
                return fail("--encoders needs a number from 1 to " + std::to_string(kMaxEncoders));
            }
        } else if (name == "--fault") {
            if (!value(v))
                return fail("--fault needs a FAULT");
            std::string why;
            const std::optional<Fault> fault = parseFault(v, &why);
            if (!fault)
                return fail(why);
            options.faults.push_back(*fault);
        } else if (name == "--baud") {
            if (!value(v) || !readInt(v, options.baud) || options.baud < 50 ||
                options.baud > 4000000) {
                return fail("--baud needs a rate from 50 to 4000000");
            }
        } else if (name == "--silent") {
            int k = 0;
            if (!value(v) || !readInt(v, k) || k < 1 || k > kMaxEncoders)
                return fail("--silent needs an encoder number from 1");
            options.silentEncoders.insert(k);
        } else if (name == "--clock-ahead") {
            int k = 0;
            int seconds = 0;
            if (!value(v) || !parseEncoderSeconds(v, k, seconds) || k < 1 || k > kMaxEncoders ||
                seconds < -kMaxClockAhead || seconds > kMaxClockAhead) {
                return fail("--clock-ahead needs K:SECONDS, SECONDS within a year either way");
            }
            options.clockAheadSeconds[k] = seconds;
        } else if (name == "--ignore-set") {
            int k = 0;
            std::string field;
            std::string why;
            if (!value(v))
                return fail("--ignore-set needs [K:]FIELD, for example 3:pilotLevel");
            if (!parseIgnoreSet(v, k, field, &why))
                return fail(why);
            if (options.writeQuirks[k].ceilings.count(field) != 0)
                return fail("--ignore-set and --clamp both name " + field + " of encoder " +
                            std::to_string(k));
            options.writeQuirks[k].ignored.insert(field);
        } else if (name == "--clamp") {
            int k = 0;
            std::string field;
            double ceiling = 0;
            std::string why;
            if (!value(v))
                return fail("--clamp needs [K:]FIELD=MAX, for example 3:pilotLevel=6.0");
            if (!parseClamp(v, k, field, ceiling, &why))
                return fail(why);
            if (options.writeQuirks[k].ignored.count(field) != 0)
                return fail("--ignore-set and --clamp both name " + field + " of encoder " +
                            std::to_string(k));
            options.writeQuirks[k].ceilings[field] = ceiling;
        } else {
            return fail("unknown option '" + args[i] + "'");
        }
    }
    if (!options.storeDir.empty() && !options.storeRoot.empty())
        return fail("--store and --store-root exclude each other");
    if (options.encoders > 1 && !options.storeDir.empty())
        return fail("--encoders above 1 keeps each encoder's memory under --store-root");
    if ((options.encoders > 1 || !options.storeRoot.empty()) && options.pty)
        return fail("--encoders and --store-root serve TCP only");
    const int highest =
        std::max(options.silentEncoders.empty() ? 0 : *options.silentEncoders.rbegin(),
                 options.clockAheadSeconds.empty() ? 0 : options.clockAheadSeconds.rbegin()->first);
    if (highest > options.encoders)
        return fail("--silent and --clock-ahead name encoder " + std::to_string(highest) + " of " +
                    std::to_string(options.encoders));
    const int quirky = options.writeQuirks.empty() ? 0 : options.writeQuirks.rbegin()->first;
    if (quirky > options.encoders)
        return fail("--ignore-set and --clamp name encoder " + std::to_string(quirky) + " of " +
                    std::to_string(options.encoders));
    if (!options.tcp && !options.pty)
        options.tcp = true;
    return true;
}

std::string helpText() {
    std::string text =
        "q93sim: a simulated Q93 FM stereo encoder on TCP and on a pseudo-terminal.\n"
        "\n"
        "usage: q93sim [--tcp HOST:PORT] [--pty] [--serial-ack 0|1] [--store DIR]\n"
        "              [--fault FAULT]... [--baud N] [--verbose]\n"
        "       q93sim --encoders N [--tcp HOST:PORT] [--store-root DIR] [--fault FAULT]...\n"
        "              [--silent K]... [--clock-ahead K:SECONDS]...\n"
        "       and either form: [--ignore-set [K:]FIELD]... [--clamp [K:]FIELD=MAX]...\n"
        "\n"
        "  --tcp HOST:PORT    listen; port 0 picks a free one; prints \"tcp HOST:PORT\" on stdout\n"
        "                     when listening (the default is --tcp 127.0.0.1:0 when neither\n"
        "                     --tcp nor --pty is given)\n"
        "  --pty              open a pseudo-terminal; prints \"pty /dev/pts/N\" on stdout when "
        "ready\n"
        "                     (with --tcp too, the tcp line comes first)\n"
        "  --serial-ack 0|1   acknowledge every serial command (default 1); on TCP every command\n"
        "                     is acknowledged\n"
        "  --store DIR        load device.dat and Preset-1.dat..Preset-8.dat from DIR at start\n"
        "                     (missing files are written with the factory values); save the\n"
        "                     changed file after every write\n"
        "  --encoders N       serve N encoders (1 to 500) on N consecutive ports from PORT (port\n"
        "                     0: the first run of N free ports), printing one \"tcp HOST:PORT\"\n"
        "                     line each in order; each has its own memory and its own faults,\n"
        "                     their N counting that encoder's requests only\n"
        "  --store-root DIR   like --store, encoder k in DIR/encoder<k> (k from 1)\n"
        "  --fault FAULT      inject a fault, see below; may be repeated\n"
        "  --silent K         encoder K (from 1; 1 without --encoders) takes connections and\n"
        "                     requests and never replies to any; may be repeated\n"
        "  --clock-ahead K:SECONDS\n"
        "                     encoder K's clock starts SECONDS ahead of the host's local time\n"
        "                     (negative: behind); may be repeated\n"
        "  --ignore-set [K:]FIELD\n"
        "                     encoder K (1 without K:) acknowledges and answers every set of\n"
        "                     FIELD as usual but keeps the value it held, in every preset;\n"
        "                     may be repeated\n"
        "  --clamp [K:]FIELD=MAX\n"
        "                     encoder K (1 without K:) stores MAX for a set of FIELD above MAX,\n"
        "                     acknowledged as usual; may be repeated\n"
        "                     FIELD: a parameter named as in the factory values below, indexed\n"
        "                     ones included (sca1Gain, modChkAnalogLevel, ...); the baud and\n"
        "                     response registers, the delays and the correction values are\n"
        "                     refused. MAX: a number, whole for the byte and word fields\n"
        "  --baud N           pace serial output at N baud (10 bits a byte)\n"
        "  --verbose, -v      one line on stderr for every request\n"
        "  --help, -h         this text\n"
        "\n"
        "stdout is line-buffered; runs until SIGINT or SIGTERM and then exits 0.\n"
        "Exit status 2 for a command-line mistake, 1 when a transport or the store cannot be\n"
        "opened.\n"
        "\n"
        "Faults (N is the N-th request):\n";
    text += faultHelp();
    text +=
        "\n"
        "What is answered: every request of the preset and device transfers, the clock (17 01 0d\n"
        "read, 0d yy mm dd hh mi ss 00 oc write), the level query (2d 03 4d 49 20 | 21) and the\n"
        "memory query of the four status values. Answers repeat the request's head, then the\n"
        "value. A preset parameter asked or set without a preset byte means the active\n"
        "preset; the count byte of a request is not checked. Unknown commands (and preset\n"
        "bytes outside 1-8, indexes out of range) are acknowledged, not answered, and named on\n"
        "stderr. Frames with a bad checksum or a wrong length byte are not answered at all\n"
        "(a line on stderr).\n"
        "\n"
        "Factory values (without --store, or for files missing from the store):\n"
        "  presets 1-8: inputSource 1,2,3,1,2,3,0,1 (analog, digital, auto digital, ..., off,\n"
        "    analog); inputLevel 40.0 kHz; aesSensitivity -10.0 dBFS; scaMode 0;\n"
        "    sca1Gain 1.5 dB; sca2Gain -2.0 dB; mpxGain 0.0 dB; auxOutput 1 (MPX);\n"
        "    pilotStatus 1 (sine); pilotLevel 6.75 kHz; pilotPhase 0.0; peakLimiterOn 1;\n"
        "    maxDeviation 75.0 kHz; powerLimiterOn 1; maxModulationOutput 0.0 dBr; testMode 0;\n"
        "    preemphasis 1 (50 us); testTone 3 (1 kHz); testToneLevel 40.0 kHz;\n"
        "    headphoneLevel -20.0 dB; operationMode 0 (stereo); modChkSignaling 1;\n"
        "    modChkDigitalOffTime 10 s; modChkDigitalOnTime 5 s; modChkDigitalLevel -40.0 dBFS;\n"
        "    modChkAnalogOffTime 10 s; modChkAnalogOnTime 5 s; modChkAnalogLevel 2.0 kHz\n"
        "  device: frontBaud 4 (19200); dte1Baud, dte2Baud, dte3Baud 3 (9600);\n"
        "    frontResponse 1 (Request); dte1-3Response 0 (None); activePreset 0 (preset 1);\n"
        "    levelUnit 0 (kHz); language 1 (German); sensitivity40k 6.0 dBu\n"
        "  status (memory 7f24, 7f40, 7f3c, 7f44): currentInput follows the active preset's\n"
        "    input source (0 off, 1 analog, 2 digital); digitalChannels 3 and analogChannels 3\n"
        "    (L / R); aesFrameStatus 1 (frame present); any other address reads 0\n"
        "  clock: the host's local time at start, offset code 00; runs on from every write\n"
        "  levels: selector 0 left and right deviation, about 25 to 65 kHz; selector 1 MPX peak\n"
        "    deviation (~68 kHz), modulation power (~-1 dBr), pilot deviation (pilotLevel),\n"
        "    analog left and right input (~-4 dBu) and AES/EBU input (~-12 dBFS); all wander\n"
        "    smoothly over a few seconds\n";
    return text;
}

}  // namespace q93::sim
