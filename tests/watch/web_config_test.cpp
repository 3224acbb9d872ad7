#include <arpa/inet.h>
#include <crypt.h>
#include <gtest/gtest.h>
#include <netinet/in.h>

#include "watch/metrics_server.h"
#include "watch/password_check.h"
#include "watch/web_config.h"

namespace q93::watch {
namespace {

const std::string kHash = "$2y$10$rRzgrSDcBfVKTif9pZ73tO/Swi6fsZDHBtrPH1aVOqGTr.QSkcKAu";

// The exporters' format as the watch reads it: what is taken, and refusals with their lines
// beyond those the watch itself is seen to give.
TEST(WebConfig, TakesTheExportersFormatAndRefusesWhatItDoesNotKnowNamingTheLine) {
    struct Case {
        std::string text;
        std::string error;  // empty: taken
        std::string cert;
        std::size_t users;
    };
    const Case cases[] = {
        {"", "", "", 0},
        {"# nothing but a comment\n", "", "", 0},
        {"tls_server_config:\n  cert_file: a.crt\n  key_file: /etc/b.key\n", "", "conf/a.crt", 0},
        {"basic_auth_users:\n  prometheus: " + kHash + "\n  grafana: '" + kHash + "'\n", "", "", 2},
        {"basic_auth_users:\n  a: " + kHash + "\ntls_config:\n",
         "'conf/web.yml' line 3: unknown key \"tls_config\"", "", 0},
        {"tls_server_config:\n  cert_file: a\n  keyfile: b\n",
         "'conf/web.yml' line 3: unknown key \"keyfile\" in tls_server_config", "", 0},
        {"\ntls_server_config:\n  cert_file: a.crt\n",
         "'conf/web.yml' line 2: tls_server_config has no key_file", "", 0},
        {"tls_server_config: {}\n", "'conf/web.yml' line 1: tls_server_config names neither", "",
         0},
        {"http_server_config:\n  http2: false\n",
         "'conf/web.yml' line 1: \"http_server_config\" is not taken", "", 0},
        {"basic_auth_users:\n  a: " + kHash.substr(0, 59) + "\n",
         "'conf/web.yml' line 2: user \"a\": not a bcrypt", "", 0},
        {"basic_auth_users:\n  'a:b': " + kHash + "\n",
         "'conf/web.yml' line 2: user \"a:b\": a name with ':'", "", 0},
        {"- tls_server_config\n", "'conf/web.yml' line 1: expected keys", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const WebConfigReading got = parseWebConfig(c.text, "conf/web.yml");
        if (c.error.empty()) {
            EXPECT_EQ(got.error, "");
            EXPECT_EQ(got.config.certFile, c.cert);
            EXPECT_EQ(got.config.users.size(), c.users);
        } else {
            EXPECT_EQ(got.error.rfind(c.error, 0), 0u) << got.error;
        }
    }
    const WebConfig both =
        parseWebConfig("tls_server_config:\n  cert_file: a.crt\n  key_file: /etc/b.key\n",
                       "web.yml")
            .config;
    EXPECT_EQ(both.certFile, "a.crt");
    EXPECT_EQ(both.keyFile, "/etc/b.key");
    EXPECT_EQ(both.certLine, 2);
    EXPECT_EQ(both.keyLine, 3);
}

std::string bcrypt(const std::string& password) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    if (crypt_gensalt_rn("$2b$", 4, nullptr, 0, salt, sizeof salt) == nullptr)
        return "";
    crypt_data data{};
    const char* hash = crypt_rn(password.c_str(), salt, &data, sizeof data);
    return hash != nullptr ? hash : "";
}

// A right pair is found by bcrypt once and then at once; a wrong one, for a known name or an
// unknown one, costs bcrypt every time and is never taken, not even after the right one.
TEST(PasswordCheck, KeepsOnlyTheRightPairAndChecksEveryWrongOneInFull) {
    const std::string hash = bcrypt("correct horse");
    ASSERT_EQ(hash.size(), 60u);
    PasswordCheck check({{"prometheus", hash}, {"grafana", bcrypt("battery")}});
    struct Step {
        std::string user;
        std::string password;
        bool accepted;
        unsigned long bcryptChecks;  // after the step
    };
    const Step steps[] = {
        {"prometheus", "correct horse", true, 1},
        {"prometheus", "correct horse", true, 1},
        {"prometheus", "correct hors", false, 2},
        {"prometheus", "correct horse ", false, 3},
        {"prometheus", "", false, 4},
        {"nobody", "correct horse", false, 5},
        {"grafana", "correct horse", false, 6},
        {"grafana", "battery", true, 7},
        {"prometheus", "correct horse", true, 7},
        {"grafana", "battery", true, 7},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.user + ":" + step.password);
        EXPECT_EQ(check.accepts(step.user, step.password), step.accepted);
        EXPECT_EQ(check.bcryptChecks(), step.bcryptChecks);
    }
}

TEST(MetricsServer, TellsAnAddressOfThisMachineAloneFromOneReachableBeyond) {
    const std::pair<const char*, bool> cases[] = {
        {"127.0.0.1", true},        {"127.1.2.3", true},        {"::1", true},
        {"::ffff:127.0.0.1", true}, {"0.0.0.0", false},         {"::", false},
        {"192.168.1.10", false},    {"::ffff:10.0.0.1", false}, {"fe80::1", false},
    };
    for (const auto& [text, loopback] : cases) {
        SCOPED_TRACE(text);
        sockaddr_in v4{};
        sockaddr_in6 v6{};
        const sockaddr* address = nullptr;
        if (::inet_pton(AF_INET, text, &v4.sin_addr) == 1) {
            v4.sin_family = AF_INET;
            address = reinterpret_cast<const sockaddr*>(&v4);
        } else {
            ASSERT_EQ(::inet_pton(AF_INET6, text, &v6.sin6_addr), 1);
            v6.sin6_family = AF_INET6;
            address = reinterpret_cast<const sockaddr*>(&v6);
        }
        EXPECT_EQ(loopbackAddress(*address), loopback);
    }
}

}  // namespace
}  // namespace q93::watch
