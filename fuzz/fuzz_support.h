#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// A promise of the code under test that an input broke: reported and aborted, so that the
// fuzzer keeps the input as a crash. assert() is compiled out in the builds fuzzers use.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace q93::fuzz {

// Cuts bytes into pieces of 1 to 16 bytes, as a socket may deliver them; the sizes follow
// from seed, so that a saved input replays the same cuts.
template <typename Feed>
void feedInPieces(const std::uint8_t* bytes, std::size_t count, std::uint8_t seed, Feed feed) {
    std::uint32_t state = seed + 1u;
    for (std::size_t at = 0; at < count;) {
        state = state * 1103515245u + 12345u;
        const std::size_t piece = std::min<std::size_t>(1 + (state >> 16) % 16, count - at);
        feed(bytes + at, piece);
        at += piece;
    }
}

// For readers that take a path: a folder of the process's own, made on first use and
// removed when the process ends normally. In memory where the system offers it, as a disk
// holds the fuzzer to a few hundred files a second.
class ScratchDir {
public:
    ScratchDir() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                              : tmp != nullptr && tmp[0] == '/'         ? tmp
                                                                        : "/tmp";
        pattern += "/q93fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // Writes the bytes as file `name` in the folder and returns its path.
    std::string write(const char* name, const void* bytes, std::size_t count) const {
        const std::string path = path_ + "/" + name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        FUZZ_CHECK(file != nullptr);
        FUZZ_CHECK(std::fwrite(bytes, 1, count, file) == count);
        FUZZ_CHECK(std::fclose(file) == 0);
        return path;
    }

private:
    std::string path_;
};

}  // namespace q93::fuzz
