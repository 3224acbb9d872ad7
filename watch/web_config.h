#pragma once

#include <map>
#include <string>

namespace q93::watch {

// What `q93ctl watch --web-config FILE` holds, in the format Prometheus' own exporters take
// (the exporter toolkit's web configuration), so that one file and one habit serve them all:
//
//   tls_server_config:
//     cert_file: watch.crt
//     key_file: watch.key
//   basic_auth_users:
//     prometheus: $2y$10$...
//
// Both parts are optional; an empty file serves plain HTTP to everyone, as with none.
struct WebConfig {
    // Paths as resolved: one given relative is relative to the file's own folder, as the
    // exporters read it. Both empty: plain HTTP.
    std::string certFile;
    std::string keyFile;
    int certLine = 0;  // where each was named, for a refusal to point at
    int keyLine = 0;
    // User name to bcrypt hash; empty: no password asked.
    std::map<std::string, std::string> users;

    bool tls() const { return !certFile.empty(); }
};

// The configuration, or why the file is refused ("'PATH' line N: ..."); the error is empty
// exactly when the configuration is good.
struct WebConfigReading {
    WebConfig config;
    std::string error;
};

// Reads `text` as the content of the file `path` (which names it in refusals and gives the
// folder relative paths start from). Strict, as the exporters are: a key this format does not
// know, a key the watch does not take (client certificates, TLS versions, HTTP headers: a
// setting silently left out would serve less safely than its author meant), a hash that is
// not bcrypt, or a cert_file without key_file is refused naming the line.
WebConfigReading parseWebConfig(const std::string& text, const std::string& path);

// The file at `path`, parsed as above.
WebConfigReading readWebConfig(const std::string& path);

// PEM text of the certificate chain and key a configuration names.
struct TlsFiles {
    std::string cert;
    std::string key;
};
// Reads both files and checks that they make one usable pair; false with the reason (the file
// and the configuration's line that named it) in *error.
bool readTlsFiles(const WebConfig& config, const std::string& configPath, TlsFiles& files,
                  std::string* error);

}  // namespace q93::watch
