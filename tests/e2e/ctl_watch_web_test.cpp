#include <crypt.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/e2e/ctl_run.h"
#include "tests/e2e/watch_process.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kPassword = "scrape, don't peek";

std::string bcrypt(const std::string& password) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    crypt_data data{};
    if (crypt_gensalt_rn("$2b$", 4, nullptr, 0, salt, sizeof salt) == nullptr)
        return "";
    const char* hash = crypt_rn(password.c_str(), salt, &data, sizeof data);
    return hash != nullptr ? hash : "";
}

// A self-signed certificate for 127.0.0.1 and its key, PEM, made by openssl in `folder`.
void makeCertificate(const fs::path& folder, const std::string& name) {
    const auto made = test::runProgram(
        {"/usr/bin/env", "openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
         "ec_paramgen_curve:prime256v1", "-nodes", "-days", "1", "-subj", "/CN=localhost",
         "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout",
         (folder / (name + ".key")).string(), "-out", (folder / (name + ".crt")).string()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
}

class WatchWeb : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim_.ready()) << sim_.error();
        const auto added = test::runCtl({"add", "Hilltop/Tower", "--port", "TCP/IP", "--ip",
                                         "127.0.0.1", "--tcp-port", std::to_string(sim_.port())},
                                        work_.path().string());
        ASSERT_EQ(added.exitCode, 0) << added.err;
        fs::create_directory(conf());
        makeCertificate(conf(), "watch");
        makeCertificate(conf(), "other");
        hash_ = bcrypt(kPassword);
        ASSERT_EQ(hash_.size(), 60u);
    }
    fs::path conf() const { return work_.path() / "conf"; }
    // Writes conf/NAME and gives its path as the watch, started in the work folder, names it.
    std::string config(const std::string& name, const std::string& text) const {
        test::writeFileBytes((conf() / name).string(), text);
        return "conf/" + name;
    }

    test::SimProcess sim_{{"--tcp", "127.0.0.1:0"}};
    test::TempDir work_;
    std::string hash_;
};

// curl's exit status and what it shows (-i: the status line and headers, then the body).
test::ProcessResult curl(const fs::path& work, std::vector<std::string> args) {
    std::vector<std::string> argv{"/usr/bin/env", "curl", "-s", "-i", "--max-time", "10"};
    argv.insert(argv.end(), args.begin(), args.end());
    return test::runProgram(argv, 20, work.string());
}

// Served over TLS with the certificate the configuration names (relative to its own folder),
// the watch answers the right password with the metrics and every other request with 401 and
// a Basic challenge; plain HTTP on its port gets nothing.
TEST_F(WatchWeb, ServesHttpsAndAnswersOnlyTheRightPassword) {
    const std::string web = config("web.yml",
                                   "tls_server_config:\n"
                                   "  cert_file: watch.crt\n"
                                   "  key_file: watch.key\n"
                                   "basic_auth_users:\n"
                                   "  prometheus: " +
                                       hash_ + "\n");
    test::WatchProcess watch(work_.path(), {"watch", "--listen", "127.0.0.1:0", "--interval", "60",
                                            "--web-config", web});
    ASSERT_EQ(watch.firstLine().rfind("serving https://127.0.0.1:", 0), 0u)
        << watch.firstLine() << watch.errText();
    const std::string url = "https://127.0.0.1:" + std::to_string(watch.port()) + "/metrics";
    const std::string ca = "conf/watch.crt";

    struct Case {
        const char* what;
        std::vector<std::string> args;
        int exitCode;
        const char* status;  // the status line's start; empty: none
    };
    const std::string right = std::string("prometheus:") + kPassword;
    const Case cases[] = {
        {"right password", {"--cacert", ca, "-u", right, url}, 0, "HTTP/1.1 200"},
        {"right password again", {"--cacert", ca, "-u", right, url}, 0, "HTTP/1.1 200"},
        {"wrong password", {"--cacert", ca, "-u", right + "!", url}, 0, "HTTP/1.1 401"},
        {"unknown user",
         {"--cacert", ca, "-u", std::string("grafana:") + kPassword, url},
         0,
         "HTTP/1.1 401"},
        {"no password", {"--cacert", ca, url}, 0, "HTTP/1.1 401"},
        {"no password, other path", {"--cacert", ca, url + "/../other"}, 0, "HTTP/1.1 401"},
        {"certificate not trusted", {"--cacert", "conf/other.crt", "-u", right, url}, 60, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto got = curl(work_.path(), c.args);
        EXPECT_EQ(got.exitCode, c.exitCode) << got.err;
        EXPECT_EQ(got.out.rfind(c.status, 0), 0u) << got.out;
        if (std::string(c.status) == "HTTP/1.1 200")
            EXPECT_NE(got.out.find("\nq93_watch_polls_total "), std::string::npos) << got.out;
        if (std::string(c.status) == "HTTP/1.1 401") {
            EXPECT_NE(got.out.find("WWW-Authenticate: Basic realm=\"q93ctl watch\""),
                      std::string::npos)
                << got.out;
            EXPECT_EQ(got.out.find("q93_"), std::string::npos) << got.out;
        }
    }
    // Plain HTTP on the TLS port: no HTTP answer at all.
    std::string plain = url;
    plain.replace(0, 5, "http");
    const auto got = curl(work_.path(), {"-u", right, plain});
    EXPECT_NE(got.exitCode, 0) << got.out;
    EXPECT_EQ(got.out.find("HTTP/1.1 200"), std::string::npos) << got.out;
    EXPECT_EQ(got.out.find("q93_"), std::string::npos) << got.out;
    EXPECT_EQ(watch.errText().find("warning"), std::string::npos) << watch.errText();
}

// A file that cannot be served as it says refuses to start, naming the file and its line or
// the file it names; exit status 1 as for a port in use, nothing on stdout.
TEST_F(WatchWeb, ABadConfigurationRefusesToStartNamingTheLineAtFault) {
    struct Case {
        const char* name;
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"syntax.yml", "tls_server_config:\n  cert_file: [watch.crt\n  key_file: watch.key\n",
         "q93ctl: 'conf/syntax.yml' line 3: not YAML: "},
        {"unknown.yml", "basic_auth_users:\n  prometheus: " + hash_ + "\nbasic_auth_user:\n",
         "q93ctl: 'conf/unknown.yml' line 3: unknown key \"basic_auth_user\""},
        {"client.yml",
         "tls_server_config:\n  cert_file: watch.crt\n  key_file: watch.key\n"
         "  client_auth_type: RequireAndVerifyClientCert\n",
         "q93ctl: 'conf/client.yml' line 4: tls_server_config: \"client_auth_type\" is not taken"},
        {"nokey.yml", "tls_server_config:\n  cert_file: watch.crt\n",
         "q93ctl: 'conf/nokey.yml' line 1: tls_server_config has no key_file"},
        {"gone.yml", "tls_server_config:\n  cert_file: gone.crt\n  key_file: watch.key\n",
         "q93ctl: cannot read 'conf/gone.crt': No such file or directory (cert_file, "
         "'conf/gone.yml' line 2)"},
        {"folder.yml", "tls_server_config:\n  cert_file: watch.crt\n  key_file: .\n",
         "q93ctl: 'conf/.' is a directory (key_file, 'conf/folder.yml' line 3)"},
        {"mismatch.yml", "tls_server_config:\n  cert_file: watch.crt\n  key_file: other.key\n",
         "q93ctl: 'conf/watch.crt' and 'conf/other.key' are no TLS certificate and key ("},
        {"notpem.yml", "tls_server_config:\n  cert_file: notpem.yml\n  key_file: watch.key\n",
         "q93ctl: 'conf/notpem.yml' and 'conf/watch.key' are no TLS certificate and key ("},
        {"plain.yml", "basic_auth_users:\n  prometheus: secret\n",
         "q93ctl: 'conf/plain.yml' line 2: user \"prometheus\": not a bcrypt hash"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = test::runCtl(
            {"watch", "--listen", "127.0.0.1:0", "--web-config", config(c.name, c.text)},
            work_.path().string());
        EXPECT_EQ(got.exitCode, 1);
        EXPECT_EQ(got.out, "");
        EXPECT_EQ(got.err.rfind(c.error, 0), 0u) << got.err;
    }
    const auto missing =
        test::runCtl({"watch", "--listen", "127.0.0.1:0", "--web-config", "conf/none.yml"},
                     work_.path().string());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "q93ctl: cannot read 'conf/none.yml': No such file or directory\n");
}

}  // namespace
}  // namespace q93
