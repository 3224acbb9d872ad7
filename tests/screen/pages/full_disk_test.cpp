#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "protocol/connection_settings.h"
#include "protocol/parameter_files.h"
#include "protocol/parameter_set.h"
#include "tests/screen/pages/page_test_support.h"
#include "tests/support/temp_dir.h"

namespace q93::test {
namespace {

// A disk that takes no more than a few bytes of any file: every write past them fails as
// on a full disk (EFBIG instead of ENOSPC, the same path through the writers).
class FullDisk {
public:
    FullDisk() {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = previous_;
        tight.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, signal_);
    }

private:
    rlimit previous_{};
    void (*signal_)(int) = nullptr;
};

int filesIn(const std::filesystem::path& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

using FullDiskWrite = SheetTest;

TEST_P(FullDiskWrite, LeavesEveryStoredFileAsItWasAndReportsTheFailure) {
    struct Writer {
        const char* name;
        std::function<bool(const std::string&)> write;  // false: reported as failed
    };
    const Writer writers[] = {
        {"Preset-3.dat", [](auto& path) { return writePresetFile(path, PresetParameters{}); }},
        {"device.dat", [](auto& path) { return writeDeviceFile(path, DeviceParameters{}); }},
        {"tcp.txt",
         [](auto& path) {
             return writeConnectionSettings(
                 path, ConnectionSettings{"127.0.0.1", "5000", "TCP/IP", 3, 1});
         }},
        {"Preset-1.dat",
         [this](auto& path) {
             sheet->ShowPresetPages();
             return sheet->WritePresetFile(path);
         }},
        {"device.dat",
         [this](auto& path) {
             sheet->ShowDevicePages();
             return sheet->WriteDeviceFile(path);
         }},
    };
    const std::string old = "the settings stored before, longer than the full disk takes";
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        TempDir folder;
        const std::string path = folder.file(writer.name);
        writeFileBytes(path, old);
        {
            const FullDisk full;
            EXPECT_FALSE(writer.write(path));
        }
        EXPECT_EQ(readFileBytes(path), old);
        EXPECT_EQ(filesIn(folder.path()), 1);  // nothing half-written left beside it

        writer.write(path);  // with room again the same write goes through
        EXPECT_NE(readFileBytes(path), old);
        EXPECT_EQ(filesIn(folder.path()), 1);
    }
}

Q93_PAGES_BOTH_LANGUAGES(FullDiskWrite);

}  // namespace
}  // namespace q93::test
