#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "protocol/parameter_files.h"
#include "tests/e2e/ctl_run.h"
#include "tests/e2e/watch_process.h"
#include "tests/support/lock_holder_process.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

using test::WatchProcess;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Sample lines of the exposition text by "name{labels}".
std::map<std::string, double> samples(const std::string& text) {
    std::map<std::string, double> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t space = line.rfind(' ');
        if (line.empty() || line[0] == '#' || space == std::string::npos)
            continue;
        found[line.substr(0, space)] = std::stod(line.substr(space + 1));
    }
    return found;
}

std::string labels(const std::string& site, const std::string& encoder) {
    return "{site=\"" + site + "\",encoder=\"" + encoder + "\",link=\"tcp\"}";
}

struct Scrape {
    std::string contentType;
    std::string body;
};

Scrape scrape(int port, time_t timeoutSeconds = 5) {
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(timeoutSeconds);
    client.set_read_timeout(timeoutSeconds);
    const auto response = client.Get("/metrics");
    if (!response || response->status != 200)
        return {};
    return {response->get_header_value("Content-Type"), response->body};
}

// Scrapes until `count` encoders show q93_up, for up to `within`.
Scrape scrapeUntilPolled(int port, std::size_t count, Clock::duration within) {
    Scrape last;
    for (const auto deadline = Clock::now() + within; Clock::now() < deadline;
         std::this_thread::sleep_for(100ms)) {
        last = scrape(port);
        // Every encoder is listed, as down, from the start: only the count of finished polls
        // says that each has had its first.
        const auto metrics = samples(last.body);
        const auto polls = metrics.find("q93_watch_polls_total");
        if (polls != metrics.end() && polls->second >= static_cast<double>(count))
            break;
    }
    return last;
}

// Connections to the watch that send nothing, or one byte of a request now and then.
class Clients {
public:
    Clients(int port, int count) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (int i = 0; i < count; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (fd < 0)
                break;
            if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
                ::close(fd);
                break;
            }
            fds_.push_back(fd);
        }
    }
    ~Clients() {
        stop_ = true;
        if (trickler_.joinable())
            trickler_.join();
        for (const int fd : fds_)
            ::close(fd);
    }
    std::size_t open() const { return fds_.size(); }
    // The first `count` send a request's bytes one at a time, each within the watch's idle
    // time-out, so that none is ever closed for silence.
    void trickle(std::size_t count) {
        trickler_ = std::thread([this, count] {
            const std::string request = "GET /metrics HTTP/1.1\r\nHost: x\r\nX-Slow: ";
            for (std::size_t sent = 0; !stop_; ++sent) {
                for (std::size_t i = 0; i < count && i < fds_.size(); ++i)
                    ::send(fds_[i], &request[std::min(sent, request.size() - 1)], 1, MSG_NOSIGNAL);
                for (int wait = 0; wait < 10 && !stop_; ++wait)
                    std::this_thread::sleep_for(100ms);
            }
        });
    }

private:
    std::vector<int> fds_;
    std::thread trickler_;
    std::atomic<bool> stop_{false};
};

// Every file under a folder with its bytes and its modification time.
std::map<std::string, std::pair<std::string, fs::file_time_type>> treeState(const fs::path& root) {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> state;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        state[entry.path().string()] = {
            entry.is_regular_file() ? test::readFileBytes(entry.path().string()) : "",
            entry.last_write_time()};
    }
    return state;
}

void addEncoder(const fs::path& work, const std::string& name, int port) {
    const auto added = test::runCtl(
        {"add", name, "--port", "TCP/IP", "--ip", "127.0.0.1", "--tcp-port", std::to_string(port)},
        work.string());
    ASSERT_EQ(added.exitCode, 0) << added.err;
}

// Twenty encoders on four sites, polled eight at a time: three never answer, one runs its
// clock ten seconds ahead. The metrics a plain HTTP client reads say so, pass promtool's
// lint, and the stored files stay as they were.
TEST(Watch, ServesEveryEncodersHealthAsPrometheusMetrics) {
    const std::set<int> silent = {3, 8, 14};
    constexpr int kDrifting = 11;
    test::SimProcess sim({"--encoders", "20", "--silent", "3", "--silent", "8", "--silent", "14",
                          "--clock-ahead", std::to_string(kDrifting) + ":10"});
    ASSERT_TRUE(sim.ready()) << sim.error() << sim.stderrText();
    test::TempDir work;
    std::vector<std::pair<std::string, std::string>> names;
    for (const char* site : {"Alpha", "Bravo", "Charlie", "Delta"}) {
        for (int e = 1; e <= 5; ++e) {
            names.emplace_back(site, "E" + std::to_string(e));
            addEncoder(work.path(), std::string(site) + "/E" + std::to_string(e),
                       sim.port() + static_cast<int>(names.size()) - 1);
        }
    }
    const auto before = treeState(work.path() / "LocationData");

    WatchProcess watch(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "1"});
    ASSERT_GT(watch.port(), 0) << watch.errText();
    const Scrape got = scrapeUntilPolled(watch.port(), names.size(), 10s);
    EXPECT_EQ(got.contentType, "text/plain; version=0.0.4; charset=utf-8");
    const std::map<std::string, double> metrics = samples(got.body);

    int up = 0;
    for (std::size_t k = 1; k <= names.size(); ++k) {
        const std::string of = labels(names[k - 1].first, names[k - 1].second);
        SCOPED_TRACE(of);
        ASSERT_TRUE(metrics.count("q93_up" + of)) << got.body << watch.errText();
        const double expected = silent.count(static_cast<int>(k)) != 0 ? 0 : 1;
        EXPECT_EQ(metrics.at("q93_up" + of), expected);
        up += metrics.at("q93_up" + of) == 1 ? 1 : 0;
        if (expected == 0) {
            EXPECT_FALSE(metrics.count("q93_clock_offset_seconds" + of));
            continue;
        }
        const double offset = metrics.at("q93_clock_offset_seconds" + of);
        EXPECT_NEAR(offset, static_cast<int>(k) == kDrifting ? 10.0 : 0.0, 1.0);
        EXPECT_EQ(metrics.at("q93_aes_frame_status" + of), 1);
        EXPECT_TRUE(metrics.count("q93_level{" + of.substr(1, of.size() - 2) +
                                  ",set=\"levelSet1\",index=\"6\"}"));
    }
    EXPECT_EQ(up, 17);
    EXPECT_GE(metrics.at("q93_watch_polls_total"), 20);
    EXPECT_GE(metrics.at("q93_watch_poll_errors_total"), 3);

    const std::string textFile = (work.path() / "metrics.txt").string();
    test::writeFileBytes(textFile, got.body);
    const auto lint =
        test::runProgram({"/bin/sh", "-c", "promtool check metrics < \"$0\"", textFile});
    EXPECT_EQ(lint.exitCode, 0) << lint.out << lint.err;
    EXPECT_EQ(lint.out + lint.err, "");

    // Ending it is the behaviour here: SIGTERM ends the watch within one time-out (1 s).
    const auto [status, took] = watch.stop();
    EXPECT_EQ(status, 0) << watch.errText();
    EXPECT_LT(took, 2s);
    EXPECT_EQ(treeState(work.path() / "LocationData"), before);
}

// Another program holds the encoder: a poll waits for it as --lock-wait says, names the
// holder when the wait runs out, and reports the encoder once the lock is free.
TEST(Watch, APollWaitsForTheEncodersLockThenReports) {
    test::SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    test::TempDir work;
    addEncoder(work.path(), "Hilltop/Tower", sim.port());
    const std::string folder = (work.path() / "LocationData" / "Hilltop" / "Tower").string() + "/";
    const std::string of = labels("Hilltop", "Tower");

    test::LockHolderProcess holder(folder, 2000ms);
    ASSERT_TRUE(holder.held());
    WatchProcess impatient(work.path(), {"--lock-wait", "0.3", "watch", "--listen", "127.0.0.1:0",
                                         "--interval", "60"});
    WatchProcess patient(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "60"});
    ASSERT_GT(impatient.port(), 0) << impatient.errText();
    ASSERT_GT(patient.port(), 0) << patient.errText();

    const auto gaveUp = samples(scrapeUntilPolled(impatient.port(), 1, 3s).body);
    EXPECT_EQ(gaveUp.at("q93_up" + of), 0);
    EXPECT_NE(impatient.errText().find("is in use by process " + std::to_string(holder.pid())),
              std::string::npos)
        << impatient.errText();
    EXPECT_FALSE(samples(scrape(patient.port()).body).count("q93_up" + of));

    holder.waitForEnd();
    const auto reported = samples(scrapeUntilPolled(patient.port(), 1, 3s).body);
    EXPECT_EQ(reported.at("q93_up" + of), 1);
    EXPECT_GE(reported.at("q93_poll_duration_seconds" + of), 1.0);
}

// Scrapes until `wanted` holds for the samples, for up to `within`; the last samples.
std::map<std::string, double> scrapeUntil(
    int port, const std::function<bool(const std::map<std::string, double>&)>& wanted,
    Clock::duration within) {
    std::map<std::string, double> last;
    for (const auto deadline = Clock::now() + within; Clock::now() < deadline;
         std::this_thread::sleep_for(100ms)) {
        last = samples(scrape(port).body);
        if (wanted(last))
            break;
    }
    return last;
}

// The watch reads the tree every round: an encoder added to the watched site after the start
// is polled and shown, one whose folder is removed drops out with its series, one of another
// site stays out, and stderr names each change once.
TEST(Watch, EncodersAddedOrRemovedAfterTheStartArePolledOrDropped) {
    test::SimProcess sim({"--encoders", "3"});
    ASSERT_TRUE(sim.ready()) << sim.error() << sim.stderrText();
    test::TempDir work;
    addEncoder(work.path(), "Hilltop/Tower", sim.port());
    WatchProcess watch(work.path(),
                       {"watch", "Hilltop", "--listen", "127.0.0.1:0", "--interval", "1"});
    ASSERT_GT(watch.port(), 0) << watch.errText();
    const std::string tower = "q93_up" + labels("Hilltop", "Tower");
    const std::string mast = "q93_up" + labels("Hilltop", "Mast 2");
    const std::string other = "q93_up" + labels("Valley", "Tower");
    ASSERT_EQ(scrapeUntil(
                  watch.port(), [&](const auto& m) { return m.count(tower) != 0; }, 5s)
                  .count(tower),
              1u)
        << watch.errText();

    addEncoder(work.path(), "Hilltop/Mast 2", sim.port() + 1);
    addEncoder(work.path(), "Valley/Tower", sim.port() + 2);
    const auto added = scrapeUntil(
        watch.port(), [&](const auto& m) { return m.count(mast) != 0 && m.at(mast) == 1; }, 8s);
    ASSERT_TRUE(added.count(mast)) << watch.errText();
    EXPECT_EQ(added.at(mast), 1);
    EXPECT_EQ(added.at(tower), 1);
    EXPECT_FALSE(added.count(other));

    fs::remove_all(work.path() / "LocationData" / "Hilltop" / "Tower");
    const auto removed = scrapeUntil(
        watch.port(), [&](const auto& m) { return m.count(tower) == 0; }, 8s);
    EXPECT_FALSE(removed.count(tower)) << watch.errText();
    for (const auto& [series, value] : removed)
        EXPECT_EQ(series.find("encoder=\"Tower\""), std::string::npos) << series;
    EXPECT_EQ(removed.at(mast), 1);

    const std::string err = watch.errText();
    EXPECT_EQ(err.find("added \"Hilltop/Mast 2\"\n"), err.rfind("added \"Hilltop/Mast 2\"\n"))
        << err;
    EXPECT_NE(err.find("added \"Hilltop/Mast 2\"\n"), std::string::npos) << err;
    EXPECT_NE(err.find("removed Hilltop/Tower\n"), std::string::npos) << err;
    EXPECT_EQ(err.find("Valley"), std::string::npos) << err;
    EXPECT_EQ(watch.stop().first, 0) << watch.errText();
}

// A hand-edited tcp.txt whose last line does not fit reads as the same values, yet the poll
// takes none of them: the encoder shows down, and stderr says why.
TEST(Watch, APollRefusesADoubtfulTcpTxt) {
    test::SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    test::TempDir work;
    addEncoder(work.path(), "Hilltop/Tower", sim.port());
    const fs::path file = work.path() / "LocationData" / "Hilltop" / "Tower" / "tcp.txt";
    std::string settings = test::readFileBytes(file.string());
    settings.insert(settings.rfind('\n', settings.size() - 2) + 1, std::string(18, '0'));
    test::writeFileBytes(file.string(), settings);

    WatchProcess watch(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "60"});
    ASSERT_GT(watch.port(), 0) << watch.errText();
    const auto polled = samples(scrapeUntilPolled(watch.port(), 1, 5s).body);
    ASSERT_TRUE(polled.count("q93_up" + labels("Hilltop", "Tower"))) << watch.errText();
    EXPECT_EQ(polled.at("q93_up" + labels("Hilltop", "Tower")), 0);
    EXPECT_NE(watch.errText().find("Hilltop/Tower does not answer: tcp.txt: "
                                   "'./LocationData/Hilltop/Tower/tcp.txt' is doubtful: "
                                   "line 5 longer than 18 characters"),
              std::string::npos)
        << watch.errText();
}

// A site that cannot be listed is polled as down with the reason, never left out; while the
// store itself cannot be listed every encoder stays (stderr says why, once), none is
// dropped or added again.
TEST(Watch, WhatCannotBeListedShowsDownAndAStoreThatCannotBeListedDropsNothing) {
    test::SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    test::TempDir work;
    addEncoder(work.path(), "Hilltop/Tower", sim.port());
    const fs::path store = work.path() / "LocationData";
    fs::create_symlink("Loop", store / "Loop");
    WatchProcess watch(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "1"});
    ASSERT_GT(watch.port(), 0) << watch.errText();
    const std::string loop = "q93_up{site=\"Loop\",encoder=\"\",link=\"unknown\"}";
    const std::string tower = "q93_up" + labels("Hilltop", "Tower");
    const auto towerIs = [&](double up) {
        return [&, up](const std::map<std::string, double>& m) {
            return m.count(loop) != 0 && m.count(tower) != 0 && m.at(tower) == up;
        };
    };
    const auto first = scrapeUntil(watch.port(), towerIs(1), 5s);
    ASSERT_TRUE(towerIs(1)(first)) << watch.errText();
    EXPECT_EQ(first.at(loop), 0);
    const auto errHolds = [&](const std::string& part) { return watch.errHolds(part, 8s); };
    EXPECT_TRUE(
        errHolds("Loop/ does not answer: cannot list './LocationData/Loop/': Too many "
                 "levels of symbolic links\n"))
        << watch.errText();

    fs::rename(store, work.path() / "away");
    test::writeFileBytes(store.string(), "not a folder");
    const std::string unlisted = "cannot list './LocationData/': Not a directory\n";
    EXPECT_TRUE(errHolds(unlisted)) << watch.errText();
    EXPECT_TRUE(
        errHolds("Hilltop/Tower does not answer: tcp.txt: cannot read "
                 "'./LocationData/Hilltop/Tower/tcp.txt': Not a directory\n"))
        << watch.errText();
    fs::remove(store);
    fs::rename(work.path() / "away", store);
    EXPECT_TRUE(towerIs(1)(scrapeUntil(watch.port(), towerIs(1), 8s))) << watch.errText();

    const std::string err = watch.errText();
    EXPECT_EQ(err.find(unlisted), err.rfind(unlisted)) << err;
    EXPECT_EQ(err.find("removed"), std::string::npos) << err;
    EXPECT_EQ(err.find("added"), std::string::npos) << err;
    EXPECT_EQ(watch.stop().first, 0) << watch.errText();
}

// A port that a watch serves is refused to a second one at once, whatever the first does.
TEST(Watch, ASecondWatchOnTheSamePortFailsAtOnce) {
    test::SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    test::TempDir work;
    addEncoder(work.path(), "Hilltop/Tower", sim.port());
    WatchProcess first(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "60"});
    ASSERT_GT(first.port(), 0) << first.errText();

    const auto second = test::runCtl(
        {"watch", "--listen", "127.0.0.1:" + std::to_string(first.port()), "--interval", "60"},
        work.path().string());
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.out, "");
    EXPECT_NE(second.err.find("port in use"), std::string::npos) << second.err;
}

// Clients that hold connections open, silent or sending a byte now and then, neither delay a
// scrape nor take the descriptors the polls need: with room for 128 open files, 127 such
// connections leave a healthy encoder up and its polls without error.
TEST(Watch, IdleAndTricklingClientsNeitherBlindItNorStarveThePolls) {
    test::SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    test::TempDir work;
    addEncoder(work.path(), "Hilltop/Tower", sim.port());
    const std::string of = labels("Hilltop", "Tower");
    {
        WatchProcess watch(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "1"});
        ASSERT_GT(watch.port(), 0) << watch.errText();
        Clients crowd(watch.port(), 505);
        ASSERT_EQ(crowd.open(), 505u);
        crowd.trickle(5);
        for (int round = 0; round < 3; ++round) {
            const auto start = Clock::now();
            const Scrape got = scrape(watch.port(), 3);
            EXPECT_FALSE(got.body.empty()) << "round " << round;
            EXPECT_LT(Clock::now() - start, 3s) << "round " << round;
        }
    }
    WatchProcess starved(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "1"}, 128);
    ASSERT_GT(starved.port(), 0) << starved.errText();
    const double before =
        samples(scrapeUntilPolled(starved.port(), 1, 5s).body).at("q93_watch_polls_total");
    Clients crowd(starved.port(), 127);
    // The idle time-out frees the watch's connections for the scrape that reads the result.
    const auto after =
        samples(scrapeUntilPolled(starved.port(), static_cast<std::size_t>(before) + 3, 20s).body);
    ASSERT_TRUE(after.count("q93_up" + of)) << starved.errText();
    EXPECT_EQ(after.at("q93_up" + of), 1) << starved.errText();
    EXPECT_EQ(after.at("q93_watch_poll_errors_total"), 0) << starved.errText();
    EXPECT_EQ(starved.errText().find("Too many open files"), std::string::npos);
}

// The watch reads each encoder's settings every --settings-interval and compares them with
// the stored files: a preset field changed behind its back by another q93ctl shows as drift
// of that encoder and that file, named once on stderr, and the next backup ends it. An
// encoder without stored files shows no drift series; the text passes promtool's lint.
TEST(Watch, ASettingChangedBehindItsBackShowsAsDriftUntilTheNextBackup) {
    test::SimProcess sim({"--encoders", "3"});
    ASSERT_TRUE(sim.ready()) << sim.error() << sim.stderrText();
    test::TempDir work;
    addEncoder(work.path(), "Hilltop/Tower", sim.port());
    addEncoder(work.path(), "Hilltop/Mast", sim.port() + 1);
    addEncoder(work.path(), "Valley/Bare", sim.port() + 2);
    const auto backup = test::runCtl({"backup", "Hilltop"}, work.path().string());
    ASSERT_EQ(backup.exitCode, 0) << backup.err;

    WatchProcess watch(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "1",
                                     "--settings-interval", "1"});
    ASSERT_GT(watch.port(), 0) << watch.errText();
    const auto drift = [](const std::string& encoder) {
        return "q93_settings_drift" + labels("Hilltop", encoder);
    };
    const auto fields = [](const std::string& encoder, const std::string& file) {
        return "q93_settings_differing_fields{site=\"Hilltop\",encoder=\"" + encoder +
               "\",link=\"tcp\",file=\"" + file + "\"}";
    };
    const auto backedUp = [](const std::string& site, const std::string& encoder) {
        return "q93_backup_last_success_timestamp_seconds{site=\"" + site + "\",encoder=\"" +
               encoder + "\"}";
    };
    const auto driftIs = [&](double tower) {
        return [&, tower](const std::map<std::string, double>& m) {
            return m.count(drift("Tower")) != 0 && m.at(drift("Tower")) == tower &&
                   m.count(drift("Mast")) != 0;
        };
    };
    // One settings round reads 9 blocks row by row, each row an exchange of its own.
    constexpr auto kWithin = 60s;
    const auto clean = scrapeUntil(watch.port(), driftIs(0), kWithin);
    ASSERT_TRUE(driftIs(0)(clean)) << watch.errText();
    EXPECT_EQ(clean.at(drift("Mast")), 0);
    for (const char* file : {"device.dat", "Preset-1.dat", "Preset-3.dat", "Preset-8.dat"})
        EXPECT_EQ(clean.at(fields("Tower", file)), 0) << file;
    const double firstBackup = clean.at(backedUp("Hilltop", "Tower"));
    EXPECT_NEAR(firstBackup, static_cast<double>(std::time(nullptr)), 120);
    for (const auto& [series, value] : clean) {
        if (series.find("encoder=\"Bare\"") != std::string::npos)
            EXPECT_EQ(series.find("q93_settings_"), std::string::npos) << series;
    }
    EXPECT_FALSE(clean.count(backedUp("Valley", "Bare")));

    // Behind the watch's back: preset 3 of Tower from an edited copy of its stored file,
    // the stored file itself left as it was.
    const fs::path tower = work.path() / "LocationData" / "Hilltop" / "Tower";
    PresetParameters preset;
    ASSERT_EQ(readPresetFile((tower / "Preset-3.dat").string(), preset), 200);
    ASSERT_EQ(preset.preemphasis, 1);
    preset.preemphasis = 2;
    ASSERT_TRUE(writePresetFile(work.file("edited.dat"), preset));
    const auto written = test::runCtl(
        {"--encoder", "Hilltop/Tower", "write-preset", "3", "--in", work.file("edited.dat")},
        work.path().string());
    ASSERT_EQ(written.exitCode, 0) << written.err;

    const auto drifted = scrapeUntil(watch.port(), driftIs(1), kWithin);
    ASSERT_TRUE(driftIs(1)(drifted)) << watch.errText();
    EXPECT_EQ(drifted.at(fields("Tower", "Preset-3.dat")), 1);
    EXPECT_EQ(drifted.at(fields("Tower", "Preset-2.dat")), 0);
    EXPECT_EQ(drifted.at(fields("Tower", "device.dat")), 0);
    EXPECT_EQ(drifted.at(drift("Mast")), 0);
    const std::string told =
        "Hilltop/Tower holds settings other than stored: "
        "Preset-3.dat:preemphasis\n";
    const auto errHolds = [&](const std::string& part) { return watch.errHolds(part, 5s); };
    EXPECT_TRUE(errHolds(told)) << watch.errText();

    const auto again = test::runCtl({"backup", "Hilltop/Tower"}, work.path().string());
    ASSERT_EQ(again.exitCode, 0) << again.err;
    const auto back = scrapeUntil(watch.port(), driftIs(0), kWithin);
    ASSERT_TRUE(driftIs(0)(back)) << watch.errText();
    EXPECT_EQ(back.at(fields("Tower", "Preset-3.dat")), 0);
    EXPECT_GT(back.at(backedUp("Hilltop", "Tower")), firstBackup);
    EXPECT_TRUE(errHolds("Hilltop/Tower holds its stored settings again\n")) << watch.errText();
    const std::string err = watch.errText();
    EXPECT_EQ(err.find(told), err.rfind(told)) << err;
    EXPECT_EQ(err.find("Mast holds"), std::string::npos) << err;

    const std::string textFile = (work.path() / "metrics.txt").string();
    test::writeFileBytes(textFile, scrape(watch.port()).body);
    const auto lint =
        test::runProgram({"/bin/sh", "-c", "promtool check metrics < \"$0\"", textFile});
    EXPECT_EQ(lint.exitCode, 0) << lint.out << lint.err;
    EXPECT_EQ(lint.out + lint.err, "");
    EXPECT_EQ(watch.stop().first, 0) << watch.errText();
}

}  // namespace
}  // namespace q93
