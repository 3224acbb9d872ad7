#pragma once

#include <string>

namespace q93 {

// Sends one ICMP echo request to `host` (dotted text, else a name looked up for IPv4) with
// time to live `ttl` and the low 8 bits of `dataSize` bytes of 'E', and waits at most
// `timeoutMs` for its reply. true when the reply carries exactly the data sent; `address`
// is then the replying address as dotted text and `echoTimeMs` the whole milliseconds
// between request and reply. The request goes out over an unprivileged echo socket where
// net.ipv4.ping_group_range admits the user's group, else over a raw socket where the
// process may open one; false when neither opens.
bool pingHost(const std::string& host, std::string& address, int& echoTimeMs, int ttl,
              int timeoutMs, int dataSize);

}  // namespace q93
