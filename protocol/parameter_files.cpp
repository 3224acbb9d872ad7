#include "protocol/parameter_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "base/regular_file.h"
#include "base/replace_file.h"
#include "protocol/parameter_fields.h"

namespace q93 {
namespace {

void putLittleEndian(std::uint8_t* at, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t getLittleEndian(const std::uint8_t* at, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= std::uint64_t{at[i]} << (8 * i);
    return value;
}

// Starts from the record's own bytes so that reserved gaps travel unchanged, then writes
// every named field in little-endian order.
template <std::size_t N>
std::array<std::uint8_t, N> encodeBlock(const void* record, std::span<const FieldInfo> fields) {
    std::array<std::uint8_t, N> out;
    std::memcpy(out.data(), record, N);
    const auto* in = static_cast<const std::uint8_t*>(record);
    for (const FieldInfo& field : fields) {
        const std::size_t size = field.type == FieldType::Int32 ? 4 : 8;
        for (int i = 0; i < field.count; ++i) {
            const std::size_t at = field.offset + static_cast<std::size_t>(i) * size;
            std::uint64_t value = 0;
            if (size == 4) {
                std::uint32_t word;
                std::memcpy(&word, in + at, 4);
                value = word;
            } else {
                std::memcpy(&value, in + at, 8);
            }
            putLittleEndian(out.data() + at, value, size);
        }
    }
    return out;
}

template <std::size_t N>
void decodeBlock(const std::array<std::uint8_t, N>& stored, void* record,
                 std::span<const FieldInfo> fields) {
    auto* out = static_cast<std::uint8_t*>(record);
    std::memcpy(out, stored.data(), N);
    for (const FieldInfo& field : fields) {
        const std::size_t size = field.type == FieldType::Int32 ? 4 : 8;
        for (int i = 0; i < field.count; ++i) {
            const std::size_t at = field.offset + static_cast<std::size_t>(i) * size;
            const std::uint64_t value = getLittleEndian(stored.data() + at, size);
            if (size == 4) {
                const auto word = static_cast<std::uint32_t>(value);
                std::memcpy(out + at, &word, 4);
            } else {
                std::memcpy(out + at, &value, 8);
            }
        }
    }
}

template <typename Record, std::size_t N>
void decodePartial(const std::uint8_t* bytes, std::size_t length, Record& record,
                   std::span<const FieldInfo> fields) {
    std::array<std::uint8_t, N> image = encodeBlock<N>(&record, fields);
    std::memcpy(image.data(), bytes, std::min(length, N));
    decodeBlock<N>(image, &record, fields);
}

// A stored file opened for reading: only a regular file, and without waiting on a FIFO.
std::FILE* openStored(const std::string& path, std::string* error) {
    const int fd = openRegularFile(path, error);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        *error = "cannot read '" + path + "': " + std::strerror(errno);
        ::close(fd);
    }
    return file;
}

template <std::size_t N>
int readRaw(const std::string& path, std::array<std::uint8_t, N>& into) {
    std::string ignored;
    std::FILE* file = openStored(path, &ignored);
    if (file == nullptr)
        return -1;
    const std::size_t got = std::fread(into.data(), 1, N, file);
    std::fclose(file);
    return static_cast<int>(got);
}

// All of a file that must hold exactly N bytes: one byte more is read to see a longer one.
template <std::size_t N>
bool readWhole(const std::string& path, const char* kind, std::array<std::uint8_t, N>& into,
               std::string* error) {
    std::FILE* file = openStored(path, error);
    if (file == nullptr)
        return false;
    const std::size_t got = std::fread(into.data(), 1, N, file);
    const bool longer = got == N && std::fgetc(file) != EOF;
    const int readError = std::ferror(file) != 0 ? errno : 0;
    struct stat info {};
    const bool sized = ::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    std::fclose(file);
    if (readError != 0) {
        *error = "cannot read '" + path + "': " + std::strerror(readError);
        return false;
    }
    if (got == N && !longer)
        return true;
    const std::string size = sized    ? std::to_string(info.st_size)
                             : longer ? "more than " + std::to_string(N)
                                      : std::to_string(got);
    *error = "'" + path + "' holds " + size + " bytes; a " + kind + " file holds exactly " +
             std::to_string(N) + " bytes";
    return false;
}

template <std::size_t N>
std::string_view asText(const std::array<std::uint8_t, N>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), N};
}

}  // namespace

PresetBytes encodePreset(const PresetParameters& preset) {
    return encodeBlock<kPresetBlockSize>(&preset, presetFields());
}

DeviceBytes encodeDevice(const DeviceParameters& device) {
    return encodeBlock<kDeviceBlockSize>(&device, deviceFields());
}

void decodePreset(const std::uint8_t* bytes, std::size_t length, PresetParameters& preset) {
    decodePartial<PresetParameters, kPresetBlockSize>(bytes, length, preset, presetFields());
}

void decodeDevice(const std::uint8_t* bytes, std::size_t length, DeviceParameters& device) {
    decodePartial<DeviceParameters, kDeviceBlockSize>(bytes, length, device, deviceFields());
}

int readPresetFile(const std::string& path, PresetParameters& preset) {
    PresetBytes bytes{};
    const int got = readRaw(path, bytes);
    if (got > 0)
        decodePreset(bytes.data(), static_cast<std::size_t>(got), preset);
    return got;
}

int readDeviceFile(const std::string& path, DeviceParameters& device) {
    DeviceBytes bytes{};
    const int got = readRaw(path, bytes);
    if (got > 0)
        decodeDevice(bytes.data(), static_cast<std::size_t>(got), device);
    return got;
}

bool readWholePresetFile(const std::string& path, PresetParameters& preset, std::string* error) {
    PresetBytes bytes{};
    if (!readWhole(path, "preset", bytes, error))
        return false;
    decodePreset(bytes.data(), bytes.size(), preset);
    return true;
}

bool readWholeDeviceFile(const std::string& path, DeviceParameters& device, std::string* error) {
    DeviceBytes bytes{};
    if (!readWhole(path, "device", bytes, error))
        return false;
    decodeDevice(bytes.data(), bytes.size(), device);
    return true;
}

bool writePresetFile(const std::string& path, const PresetParameters& preset) {
    return replaceFile(path, asText(encodePreset(preset)));
}

bool writeDeviceFile(const std::string& path, const DeviceParameters& device) {
    return replaceFile(path, asText(encodeDevice(device)));
}

int presetNumberFromPath(const std::string& path) {
    const std::string tail = path.size() > 5 ? path.substr(path.size() - 5) : path;
    return std::atoi(tail.c_str());
}

}  // namespace q93
