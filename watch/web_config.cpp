#include "watch/web_config.h"

#include <gnutls/gnutls.h>
#include <unistd.h>
#include <yaml-cpp/yaml.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/regular_file.h"

namespace q93::watch {
namespace {

// A web configuration, a certificate chain or a key is a few kilobytes; anything far beyond
// is not one, and is not read whole into memory.
constexpr std::size_t kLargestFile = 1 << 20;

// The exporters' keys the watch does not take. They are named apart from unknown ones so that
// the refusal says the key was understood and left out on purpose.
constexpr const char* kTopLevelNotTaken[] = {"http_server_config", "rate_limit"};
constexpr const char* kTlsNotTaken[] = {"cert",
                                        "key",
                                        "client_auth_type",
                                        "client_ca_file",
                                        "cipher_suites",
                                        "curve_preferences",
                                        "min_version",
                                        "max_version",
                                        "prefer_server_cipher_suites",
                                        "client_allowed_sans"};

template <std::size_t N>
bool among(const char* const (&names)[N], const std::string& name) {
    for (const char* known : names) {
        if (name == known)
            return true;
    }
    return false;
}

int lineOf(const YAML::Node& node) {
    return node.Mark().line + 1;
}

// A bcrypt hash as crypt(3) and htpasswd -B write it: "$2y$10$" and 53 characters of its
// alphabet. The shape only: a typo shows at start, not as every password refused later.
bool bcryptShaped(const std::string& hash) {
    if (hash.size() != 60 || hash.compare(0, 2, "$2") != 0 ||
        (hash[2] != 'a' && hash[2] != 'b' && hash[2] != 'y') || hash[3] != '$' || hash[6] != '$')
        return false;
    const int cost = (hash[4] - '0') * 10 + (hash[5] - '0');
    if (hash[4] < '0' || hash[4] > '9' || hash[5] < '0' || hash[5] > '9' || cost < 4 || cost > 31)
        return false;
    for (std::size_t i = 7; i < hash.size(); ++i) {
        const char c = hash[i];
        const bool alphabet = c == '.' || c == '/' || (c >= '0' && c <= '9') ||
                              (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alphabet)
            return false;
    }
    return true;
}

class Parse {
public:
    explicit Parse(const std::string& path) : path_(path) {}

    WebConfigReading run(const std::string& text) {
        WebConfigReading reading;
        YAML::Node root;
        try {
            root = YAML::Load(text);
        } catch (const YAML::Exception& bad) {
            reading.error = at(bad.mark.line + 1, "not YAML: " + bad.msg);
            return reading;
        }
        // yaml-cpp throws for a node read as what it is not; every read below checks the kind
        // first, and anything left over still ends as a refusal, never as an exception.
        try {
            if (!take(root, reading.config))
                reading.error = error_;
        } catch (const YAML::Exception& bad) {
            reading.error = at(bad.mark.line + 1, bad.msg);
        }
        return reading;
    }

private:
    std::string at(int line, const std::string& what) const {
        return "'" + path_ + "' line " + std::to_string(line) + ": " + what;
    }
    bool refuse(const YAML::Node& node, const std::string& what) {
        error_ = at(lineOf(node), what);
        return false;
    }

    bool take(const YAML::Node& root, WebConfig& config) {
        if (root.IsNull())
            return true;
        if (!root.IsMap())
            return refuse(root, "expected keys such as tls_server_config and basic_auth_users");
        for (const auto& entry : root) {
            const std::string key = entry.first.Scalar();
            if (key == "tls_server_config") {
                if (!takeTls(entry.first, entry.second, config))
                    return false;
            } else if (key == "basic_auth_users") {
                if (!takeUsers(entry.second, config))
                    return false;
            } else if (among(kTopLevelNotTaken, key)) {
                return refuse(entry.first, "\"" + key + "\" is not taken by q93ctl watch");
            } else {
                return refuse(entry.first, "unknown key \"" + key +
                                               "\" (known: tls_server_config, basic_auth_users)");
            }
        }
        return true;
    }

    bool takeTls(const YAML::Node& key, const YAML::Node& tls, WebConfig& config) {
        if (tls.IsNull())
            return true;
        if (!tls.IsMap())
            return refuse(tls, "tls_server_config takes cert_file and key_file");
        for (const auto& entry : tls) {
            const std::string name = entry.first.Scalar();
            std::string* path = nullptr;
            int* line = nullptr;
            if (name == "cert_file") {
                path = &config.certFile;
                line = &config.certLine;
            } else if (name == "key_file") {
                path = &config.keyFile;
                line = &config.keyLine;
            } else if (among(kTlsNotTaken, name)) {
                return refuse(entry.first,
                              "tls_server_config: \"" + name + "\" is not taken by q93ctl watch");
            } else {
                return refuse(entry.first, "unknown key \"" + name +
                                               "\" in tls_server_config (known: cert_file, "
                                               "key_file)");
            }
            if (!entry.second.IsScalar() || entry.second.Scalar().empty())
                return refuse(entry.first, name + " takes a file name");
            *path = resolved(entry.second.Scalar());
            *line = lineOf(entry.first);
        }
        if (config.certFile.empty() != config.keyFile.empty())
            return refuse(key, std::string("tls_server_config has no ") +
                                   (config.certFile.empty() ? "cert_file" : "key_file"));
        if (config.certFile.empty())
            return refuse(key, "tls_server_config names neither cert_file nor key_file");
        return true;
    }

    bool takeUsers(const YAML::Node& users, WebConfig& config) {
        if (users.IsNull())
            return true;
        if (!users.IsMap())
            return refuse(users, "basic_auth_users takes user names with their bcrypt hashes");
        for (const auto& entry : users) {
            if (!entry.first.IsScalar())
                return refuse(entry.first, "a user name is a plain word");
            const std::string user = entry.first.Scalar();
            // Basic authentication sends "user:password": a colon in the name cannot arrive.
            if (user.find(':') != std::string::npos)
                return refuse(entry.first, "user \"" + user + "\": a name with ':' cannot log in");
            if (!entry.second.IsScalar() || !bcryptShaped(entry.second.Scalar()))
                return refuse(entry.second, "user \"" + user +
                                                "\": not a bcrypt hash (make one with "
                                                "htpasswd -nBC 10 \"\" | tr -d ':\\n')");
            config.users[user] = entry.second.Scalar();
        }
        return true;
    }

    std::string resolved(const std::string& file) const {
        const std::filesystem::path given(file);
        if (given.is_absolute())
            return file;
        return (std::filesystem::path(path_).parent_path() / given).string();
    }

    std::string path_;
    std::string error_;
};

// The whole file, or empty with the reason in *error.
bool readSmallFile(const std::string& path, std::string& text, std::string* error) {
    const int fd = openRegularFile(path, error);
    if (fd < 0)
        return false;
    text.clear();
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = "cannot read '" + path + "': " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (got == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > kLargestFile) {
            *error = "'" + path + "' is larger than any web configuration, certificate or key";
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

}  // namespace

WebConfigReading parseWebConfig(const std::string& text, const std::string& path) {
    return Parse(path).run(text);
}

WebConfigReading readWebConfig(const std::string& path) {
    std::string text;
    std::string error;
    if (!readSmallFile(path, text, &error))
        return {{}, error};
    return parseWebConfig(text, path);
}

bool readTlsFiles(const WebConfig& config, const std::string& configPath, TlsFiles& files,
                  std::string* error) {
    const auto named = [&](const std::string& what, int line) {
        return " (" + what + ", '" + configPath + "' line " + std::to_string(line) + ")";
    };
    if (!readSmallFile(config.certFile, files.cert, error)) {
        *error += named("cert_file", config.certLine);
        return false;
    }
    if (!readSmallFile(config.keyFile, files.key, error)) {
        *error += named("key_file", config.keyLine);
        return false;
    }
    // The server's own TLS library reads the pair as it will when serving, and says what is
    // wrong with it: not PEM, a key that does not belong to the certificate, a key that is
    // encrypted. libmicrohttpd alone would only fail to start.
    gnutls_certificate_credentials_t credentials = nullptr;
    if (gnutls_certificate_allocate_credentials(&credentials) != GNUTLS_E_SUCCESS) {
        *error = "cannot set up TLS";
        return false;
    }
    std::unique_ptr<gnutls_certificate_credentials_st, void (*)(gnutls_certificate_credentials_t)>
        owned(credentials, gnutls_certificate_free_credentials);
    gnutls_datum_t cert{reinterpret_cast<unsigned char*>(files.cert.data()),
                        static_cast<unsigned>(files.cert.size())};
    gnutls_datum_t key{reinterpret_cast<unsigned char*>(files.key.data()),
                       static_cast<unsigned>(files.key.size())};
    const int status = gnutls_certificate_set_x509_key_mem2(credentials, &cert, &key,
                                                            GNUTLS_X509_FMT_PEM, nullptr, 0);
    if (status < 0) {
        *error = "'" + config.certFile + "' and '" + config.keyFile +
                 "' are no TLS certificate and key (" + gnutls_strerror(status) + "; '" +
                 configPath + "' lines " + std::to_string(config.certLine) + " and " +
                 std::to_string(config.keyLine) + ")";
        return false;
    }
    return true;
}

}  // namespace q93::watch
