#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "tests/e2e/ctl_run.h"
#include "tests/e2e/watch_process.h"
#include "tests/support/deadline.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;
using namespace std::chrono_literals;

// The dashboard the package installs for Grafana.
json dashboard() {
    return json::parse(test::readFileBytes(Q93_DASHBOARD_FILE), nullptr, false);
}

// Every panel, those inside rows included.
void collectPanels(const json& list, std::vector<json>& into) {
    for (const json& panel : list) {
        into.push_back(panel);
        if (panel.contains("panels"))
            collectPanels(panel["panels"], into);
    }
}

std::vector<json> panelsOf(const json& board) {
    std::vector<json> panels;
    if (board.contains("panels") && board["panels"].is_array())
        collectPanels(board["panels"], panels);
    return panels;
}

std::set<std::string> matches(const std::string& text, const std::regex& pattern, int group = 0) {
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        found.insert((*it)[group].str());
    return found;
}

// The queries of the dashboard: each panel target's expr and each query variable's query.
std::vector<std::string> queriesOf(const json& board) {
    std::vector<std::string> queries;
    for (const json& panel : panelsOf(board)) {
        for (const json& target : panel.value("targets", json::array()))
            queries.push_back(target.value("expr", ""));
    }
    for (const json& variable : board["templating"].value("list", json::array())) {
        if (variable.value("type", "") == "query" && variable["query"].is_string())
            queries.push_back(variable["query"].get<std::string>());
    }
    return queries;
}

std::set<std::string> metricNamesIn(const std::vector<std::string>& queries) {
    static const std::regex name("q93_[a-z0-9_]+");
    std::set<std::string> names;
    for (const std::string& query : queries)
        names.merge(matches(query, name));
    return names;
}

// Grafana imports it into any installation: a schema version, panels that each ask the
// Prometheus the user picks in a datasource variable, site and encoder variables, and only
// variables that are defined.
TEST(Dashboard, IsAGrafanaDashboardAskingThePrometheusTheUserPicks) {
    const json board = dashboard();
    ASSERT_FALSE(board.is_discarded()) << "not JSON: " << Q93_DASHBOARD_FILE;
    ASSERT_TRUE(board.is_object());
    EXPECT_TRUE(board.contains("schemaVersion") && board["schemaVersion"].is_number_integer());
    EXPECT_GE(board.value("schemaVersion", 0), 36);  // datasources referred to by uid
    EXPECT_FALSE(board.value("title", "").empty());
    EXPECT_FALSE(board.value("uid", "").empty());

    ASSERT_TRUE(board.contains("templating") && board["templating"].contains("list"));
    std::map<std::string, json> variables;
    for (const json& variable : board["templating"]["list"])
        variables[variable.value("name", "")] = variable;
    std::string source;
    for (const auto& [name, variable] : variables) {
        if (variable.value("type", "") == "datasource" &&
            variable.value("query", "") == "prometheus")
            source = name;
    }
    ASSERT_FALSE(source.empty()) << "no datasource variable of type prometheus";
    const json asked = {{"type", "prometheus"}, {"uid", "${" + source + "}"}};
    const std::map<std::string, std::string> chosen = {
        {"site", "label_values(q93_up, site)"},
        {"encoder", "label_values(q93_up{site=~\"$site\"}, encoder)"}};
    for (const auto& [name, definition] : chosen) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(variables.count(name));
        EXPECT_EQ(variables[name].value("type", ""), "query");
        EXPECT_EQ(variables[name].value("query", json()), definition);
        EXPECT_EQ(variables[name].value("definition", ""), definition);
        EXPECT_EQ(variables[name]["datasource"], asked);
    }

    const std::vector<json> panels = panelsOf(board);
    ASSERT_FALSE(panels.empty());
    std::set<int> ids;
    int rows = 0;
    int queried = 0;
    for (const json& panel : panels) {
        SCOPED_TRACE(panel.dump().substr(0, 120));
        ASSERT_TRUE(panel.contains("type") && panel["type"].is_string());
        EXPECT_TRUE(ids.insert(panel.value("id", 0)).second) << "id missing or twice";
        const json grid = panel.value("gridPos", json::object());
        EXPECT_GE(grid.value("w", 0), 1);
        EXPECT_LE(grid.value("x", 0) + grid.value("w", 0), 24);
        EXPECT_GE(grid.value("h", 0), 1);
        if (panel["type"] == "row") {
            ++rows;
            continue;
        }
        EXPECT_EQ(panel.value("datasource", json()), asked);
        ASSERT_TRUE(panel.contains("targets") && panel["targets"].is_array());
        EXPECT_FALSE(panel["targets"].empty());
        std::set<std::string> refIds;
        for (const json& target : panel["targets"]) {
            EXPECT_FALSE(target.value("expr", "").empty());
            EXPECT_TRUE(refIds.insert(target.value("refId", "")).second);
            EXPECT_EQ(target.value("datasource", json()), asked);
            ++queried;
        }
    }
    EXPECT_EQ(rows, 2) << "a fleet overview and an encoder view";
    EXPECT_GE(queried, 10);

    // $name and ${name} in queries name a variable of the dashboard or one of Grafana's own.
    static const std::regex reference(R"(\$\{?([A-Za-z_][A-Za-z0-9_]*))");
    for (const std::string& query : queriesOf(board)) {
        for (const std::string& name : matches(query, reference, 1)) {
            EXPECT_TRUE(variables.count(name) != 0 || name.rfind("__", 0) == 0)
                << "$" << name << " in " << query;
        }
    }
}

// The metric names an exposition text declares or samples; a histogram's or summary's
// series names with them.
std::set<std::string> exportedNames(const std::string& text) {
    std::set<std::string> names;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first, second, name, kind;
        words >> first;
        if (first == "#") {
            words >> second >> name >> kind;
            if (second != "TYPE")
                continue;
            names.insert(name);
            if (kind == "histogram" || kind == "summary") {
                for (const char* part : {"_bucket", "_sum", "_count"})
                    names.insert(name + part);
            }
        } else if (!first.empty()) {
            names.insert(first.substr(0, first.find('{')));
        }
    }
    return names;
}

std::string scrape(int port) {
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(3);
    client.set_read_timeout(3);
    const auto response = client.Get("/metrics");
    return response && response->status == 200 ? response->body : "";
}

std::string joined(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text;
}

// A fleet of q93sim encoders on two sites, each backed up, under a real watch: every metric
// the dashboard's queries name is one the watch exports, so that no panel stays empty for a
// misspelt or vanished name.
TEST(Dashboard, QueriesOnlyMetricsTheWatchExports) {
    const json board = dashboard();
    ASSERT_FALSE(board.is_discarded());
    const std::set<std::string> used = metricNamesIn(queriesOf(board));
    ASSERT_TRUE(used.count("q93_up")) << joined(used);

    test::SimProcess sim({"--encoders", "3"});
    ASSERT_TRUE(sim.ready()) << sim.error() << sim.stderrText();
    test::TempDir work;
    int port = sim.port();
    for (const char* name : {"Hilltop/Tower", "Hilltop/Mast", "Valley/Tower"}) {
        const auto added = test::runCtl({"add", name, "--port", "TCP/IP", "--ip", "127.0.0.1",
                                         "--tcp-port", std::to_string(port++)},
                                        work.path().string());
        ASSERT_EQ(added.exitCode, 0) << added.err;
    }
    const auto backup = test::runCtl({"backup"}, work.path().string());
    ASSERT_EQ(backup.exitCode, 0) << backup.out << backup.err;

    test::WatchProcess watch(work.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "1"});
    ASSERT_GT(watch.port(), 0) << watch.errText();
    // Series appear as their reads finish: scrape until the dashboard's names are all there.
    std::set<std::string> missing = used;
    std::string text;
    for (const auto deadline = test::TestClock::now() + 15s;
         !missing.empty() && test::TestClock::now() < deadline;
         std::this_thread::sleep_for(200ms)) {
        text = scrape(watch.port());
        const std::set<std::string> exported = exportedNames(text);
        missing.clear();
        std::set_difference(used.begin(), used.end(), exported.begin(), exported.end(),
                            std::inserter(missing, missing.end()));
    }
    EXPECT_EQ(joined(missing), "") << "the watch does not export them; it serves:\n"
                                   << text << watch.errText();
}

}  // namespace
}  // namespace q93
