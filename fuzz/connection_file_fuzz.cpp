// tcp.txt of any content: the reader always succeeds on a readable file, keeps each text
// within its line buffer and without a line break at its end, and reads back what it read
// once that is written out again in the file's own form.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "fuzz/fuzz_support.h"
#include "protocol/connection_settings.h"

namespace {

constexpr std::size_t kLineChars = 19;

bool fullLine(const std::string* text) {
    return text->size() == kLineChars;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q93;
    static const fuzz::ScratchDir scratch;
    ConnectionSettings read{"previous", "1", "COM1", 7, 9};
    FUZZ_CHECK(readConnectionSettings(scratch.write("tcp.txt", data, size), read));
    const std::string* texts[] = {&read.ipAddress, &read.tcpPort, &read.portName};
    for (const std::string* text : texts) {
        FUZZ_CHECK(text->size() <= kLineChars);
        FUZZ_CHECK(text->find('\n') == std::string::npos);
        FUZZ_CHECK(text->empty() || text->back() != '\r');
    }
    // A full line buffer leaves the rest of its line for the next read, so such a text does
    // not come back alone.
    if (std::any_of(std::begin(texts), std::end(texts), fullLine))
        return 0;

    // The form writeConnectionSettings gives, without its rename, which costs a sync.
    const std::string stored = read.ipAddress + "\r\n" + read.tcpPort + "\r\n" + read.portName +
                               "\r\n" + std::to_string(read.speedIndex) + "\r\n" +
                               std::to_string(read.readAck) + "\r\n";
    ConnectionSettings again;
    FUZZ_CHECK(
        readConnectionSettings(scratch.write("again.txt", stored.data(), stored.size()), again));
    FUZZ_CHECK(again.ipAddress == read.ipAddress && again.tcpPort == read.tcpPort &&
               again.portName == read.portName);
    FUZZ_CHECK(again.speedIndex == read.speedIndex && again.readAck == read.readAck);
    return 0;
}
