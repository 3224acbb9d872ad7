// The INI reader on any file, asked for the keys the program reads: the value is the
// default or a piece of one line of the file, within the value limit, and it reads back as
// written once the writer has set it.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ini_file.h"
#include "base/ini_writer.h"
#include "fuzz/fuzz_support.h"
#include "link/serial_settings.h"

namespace {

struct Key {
    const char* section;
    const char* name;
};

constexpr Key kKeys[] = {{"Settings", "DataBits"}, {"Settings", "Parity"},
                         {"Settings", "StopBits"}, {"Settings", "Handshake"},
                         {"Ports", "COM1"},        {"Ports", "COM5"}};
constexpr std::size_t kKeyCount = std::size(kKeys);
constexpr std::string_view kDefault = "default";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q93;
    if (size == 0)
        return 0;
    static const fuzz::ScratchDir scratch;
    const Key& key = kKeys[data[0] % kKeyCount];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::string path = scratch.write("Q93Config.ini", text.data(), text.size());
    const std::string value = readProfileString(path, key.section, key.name, kDefault);
    FUZZ_CHECK(value.size() <= kProfileValueMaxLength);
    FUZZ_CHECK(value.find('\n') == std::string::npos);
    FUZZ_CHECK(value == kDefault || text.find(value) != std::string_view::npos);
    const char parity = parityFromProfile(value);
    FUZZ_CHECK(parity == 'N' || parity == 'E' || parity == 'O');
    const int number = profileInteger(value);
    FUZZ_CHECK(profileInteger(std::to_string(number)) == number);

    const std::string written = withProfileString(text, key.section, key.name, "written");
    const std::string writtenPath = scratch.write("written.ini", written.data(), written.size());
    FUZZ_CHECK(readProfileString(writtenPath, key.section, key.name, kDefault) == "written");
    return 0;
}
