// tree_bench: how long the location tree takes to build at start-up for a large network,
// beside a plain recursive listing of the same folders in the same run.
//   build/bin/tree_bench [RUNS]      (QT_QPA_PLATFORM=offscreen when there is no display)
#include <unistd.h>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "screen/pages/property_sheet.h"
#include "screen/window/location_tree.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSites = 100;
constexpr int kEncodersPerSite = 10;

void writeFile(const fs::path& path, std::size_t size) {
    std::ofstream(path, std::ios::binary) << std::string(size, '\0');
}

fs::path layOut() {
    const fs::path root = fs::temp_directory_path() / ("tree_bench." + std::to_string(::getpid()));
    for (int s = 0; s < kSites; ++s) {
        for (int e = 0; e < kEncodersPerSite; ++e) {
            const fs::path folder = root / "LocationData" / ("Site" + std::to_string(s)) /
                                    ("Encoder" + std::to_string(e));
            fs::create_directories(folder);
            std::ofstream(folder / "tcp.txt", std::ios::binary)
                << "10.0." << s << "." << e << "\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n";
            writeFile(folder / "device.dat", 296);
            for (int n = 1; n <= 8; ++n)
                writeFile(folder / ("Preset-" + std::to_string(n) + ".dat"), 200);
        }
    }
    return root;
}

// What any program must do at least: visit every folder and file once.
std::size_t plainListing(const fs::path& root) {
    std::size_t entries = 0;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it)
        ++entries;
    return entries;
}

template <typename F>
double medianMs(int runs, F&& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path root = layOut();
    const std::string data = (root / "LocationData").string() + "/";

    q93::MyPropertySheet sheet(nullptr);
    q93::LocationTree tree(&sheet);
    std::size_t entries = 0;
    const double listing = medianMs(runs, [&] { entries = plainListing(root / "LocationData"); });
    const double building = medianMs(runs, [&] { tree.Build(data); });

    std::printf(
        "tree_bench: %d sites x %d encoders (tcp.txt and 9 files each), %zu entries, "
        "median of %d runs\n",
        kSites, kEncodersPerSite, entries, runs);
    std::printf("  tree built (%d nodes):   %8.2f ms\n",
                tree.topLevelItemCount() * (1 + kEncodersPerSite * 9), building);
    std::printf("  plain recursive listing: %8.2f ms\n", listing);
    std::printf("  ratio:                   %8.2f (goal <= 3)\n", building / listing);
    fs::remove_all(root);
    return 0;
}
