// A preset or device file of any length read into a record that held other values: the
// stored form of the record then begins with the file's bytes and keeps the old values
// after them.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <numeric>

#include "fuzz/fuzz_support.h"
#include "protocol/parameter_files.h"

namespace {

using namespace q93;

template <typename Record, typename Decode, typename Encode>
void checkRead(const std::uint8_t* data, std::size_t size, Decode decode, Encode encode) {
    // The record holds a pattern before the read, so that values kept past a short file
    // cannot pass for zeros.
    static const Record before = [&] {
        Record record{};
        std::uint8_t pattern[sizeof(Record)];
        std::iota(std::begin(pattern), std::end(pattern), std::uint8_t{0x5A});
        decode(pattern, sizeof pattern, record);
        return record;
    }();
    Record record = before;
    decode(data, size, record);
    const auto stored = encode(record);
    const auto old = encode(before);
    const std::size_t taken = std::min(size, stored.size());
    FUZZ_CHECK(std::equal(data, data + taken, stored.begin()));
    FUZZ_CHECK(std::equal(old.begin() + taken, old.end(), stored.begin() + taken));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkRead<PresetParameters>(data, size, decodePreset, encodePreset);
    checkRead<DeviceParameters>(data, size, decodeDevice, encodeDevice);
    return 0;
}
