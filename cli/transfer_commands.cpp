#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include "base/regular_file.h"
#include "cli/command_words.h"
#include "cli/connection_options.h"
#include "cli/range_refusal.h"
#include "cli/serial_open_cause.h"
#include "store/stored_blocks.h"
#include "protocol/device_transfer.h"
#include "protocol/parameter_files.h"
#include "protocol/parameter_ranges.h"
#include "protocol/preset_transfer.h"
#include "protocol/read_back.h"

namespace q93::ctl {
namespace {

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The flags of a write command: --force and --verify.
struct WriteFlags {
    bool force = false;
    bool verify = false;
};

// Splits the words of a read (`write` null) or write command, taking a write's flags.
bool splitTransferWords(const Arguments& args, const char* fileOption, WriteFlags* write,
                        CommandWords& words, std::string* error) {
    const Arguments flags = write ? Arguments{"--force", "--verify"} : Arguments{};
    if (!splitWords(args, {fileOption}, flags, words, error))
        return false;
    if (write) {
        write->force = words.option("--force") != nullptr;
        write->verify = words.option("--verify") != nullptr;
    }
    return true;
}

// The preset number and the file of a preset command; a usage message when either is off.
bool presetWords(const Arguments& args, const char* fileOption, int& number, std::string& path,
                 WriteFlags* write, std::string* error) {
    CommandWords words;
    if (!splitTransferWords(args, fileOption, write, words, error))
        return false;
    if (words.positional.size() != 1 || !parseNumber(words.positional[0], 1, 8, number)) {
        return *error = "give one preset number 1..8", false;
    }
    path = fileFor(words.option(fileOption), "Preset-" + std::to_string(number) + ".dat");
    if (path.empty())
        return *error = std::string("give ") + fileOption + " FILE or --encoder", false;
    return true;
}

bool deviceWords(const Arguments& args, const char* fileOption, std::string& path,
                 WriteFlags* write, std::string* error) {
    CommandWords words;
    if (!splitTransferWords(args, fileOption, write, words, error))
        return false;
    if (!words.positional.empty())
        return *error = "unexpected '" + words.positional[0] + "'", false;
    path = fileFor(words.option(fileOption), "device.dat");
    if (path.empty())
        return *error = std::string("give ") + fileOption + " FILE or --encoder", false;
    return true;
}

int runTransfer(const std::function<int(DeviceConnection&)>& procedure, const char* what) {
    CtlSeam seam;
    DeviceConnection connection;
    configure(connection, connectionOptions());
    return transferExitStatus(procedure(connection), seam, connection, what);
}

// The end of a write's --verify once the block was read back: 1, the fields named, when the
// encoder does not hold what was sent.
int notHeldStatus(const std::vector<FieldNotHeld>& notHeld) {
    return notHeld.empty() ? kExitSuccess : failure(notHeldText(notHeld));
}

void printStatus(const DeviceStatus& status) {
    std::printf("currentInput=%d\ndigitalChannels=%d\nanalogChannels=%d\naesFrameStatus=%d\n",
                status.currentInput, status.digitalChannels, status.analogChannels,
                status.aesFrameStatus);
}

}  // namespace

int runReadPresetCommand(const Arguments& args) {
    int number = 0;
    std::string path, error;
    if (!presetWords(args, "--out", number, path, nullptr, &error))
        return usageError(error);
    // The file is judged before the exchange: what cannot be replaced is refused before
    // anything is asked of the encoder.
    if (const std::string refusal = fileRefusal(path); !refusal.empty())
        return failure(refusal);
    ParameterSet set;
    if (exists(path) && readPresetFile(path, set.preset) < 0) {
        return failure("cannot read '" + path + "'");
    }
    set.preset.presetNumber = number;
    const int status = runTransfer(
        [&set](DeviceConnection& c) { return ReadPreset(c, set.preset); }, "reading the preset");
    if (status != kExitSuccess)
        return status;
    if (!writePresetFile(path, set.preset))
        return failure("cannot write '" + path + "'");
    return kExitSuccess;
}

int runWritePresetCommand(const Arguments& args) {
    int number = 0;
    WriteFlags flags;
    std::string path, error;
    if (!presetWords(args, "--in", number, path, &flags, &error))
        return usageError(error);
    ParameterSet set;
    if (!readWholePresetFile(path, set.preset, &error))
        return failure(error);
    if (!maySend("'" + path + "'", presetOutOfRange(set.preset, sensitivityBeside(path)),
                 flags.force))
        return kExitFailure;
    set.preset.presetNumber = number;
    const int status = runTransfer(
        [&set](DeviceConnection& c) { return WritePreset(c, set.preset); }, "writing the preset");
    if (status != kExitSuccess || !flags.verify)
        return status;
    PresetParameters held = set.preset;
    const int read = runTransfer([&held](DeviceConnection& c) { return ReadPreset(c, held); },
                                 "reading the preset back");
    return read != kExitSuccess ? read : notHeldStatus(presetFieldsNotHeld(set.preset, held));
}

int runReadDeviceCommand(const Arguments& args) {
    std::string path, error;
    if (!deviceWords(args, "--out", path, nullptr, &error))
        return usageError(error);
    // The file is judged before the exchange: what cannot be replaced is refused before
    // anything is asked of the encoder.
    if (const std::string refusal = fileRefusal(path); !refusal.empty())
        return failure(refusal);
    ParameterSet set;
    if (exists(path) && readDeviceFile(path, set.device) < 0) {
        return failure("cannot read '" + path + "'");
    }
    const int status =
        runTransfer([&set](DeviceConnection& c) { return ReadDevice(c, set.device, set.status); },
                    "reading the device");
    if (status != kExitSuccess)
        return status;
    if (!writeDeviceFile(path, set.device))
        return failure("cannot write '" + path + "'");
    printStatus(set.status);
    return kExitSuccess;
}

int runWriteDeviceCommand(const Arguments& args) {
    WriteFlags flags;
    std::string path, error;
    if (!deviceWords(args, "--in", path, &flags, &error))
        return usageError(error);
    ParameterSet set;
    if (!readWholeDeviceFile(path, set.device, &error))
        return failure(error);
    if (!maySend("'" + path + "'", deviceOutOfRange(set.device), flags.force))
        return kExitFailure;
    const int written = runTransfer(
        [&set](DeviceConnection& c) { return WriteDevice(c, set.device); }, "writing the device");
    if (written != kExitSuccess || !flags.verify)
        return written;
    DeviceParameters held = set.device;
    DeviceStatus status;
    const int read = runTransfer([&](DeviceConnection& c) { return ReadDevice(c, held, status); },
                                 "reading the device back");
    return read != kExitSuccess ? read : notHeldStatus(deviceFieldsNotHeld(set.device, held));
}

}  // namespace q93::ctl
