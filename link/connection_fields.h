#pragma once

#include <array>
#include <string>
#include <vector>

namespace q93 {

// The port name that selects the TCP link; an empty stored name means it too.
inline constexpr const char* kTcpIpPortName = "TCP/IP";

// The four numbers of an IPv4 address, each 0..255, in the order they are written.
using IpAddressParts = std::array<int, 4>;

// A stored address as the dialog shows it: read as "%d.%d.%d.%d", the parts that do not
// parse keeping 127, 0, 0 and 1, so an empty text gives 127.0.0.1; each part cut to its
// low 8 bits, as the address control takes it.
IpAddressParts ipAddressParts(const std::string& text);
// "%d.%d.%d.%d".
std::string ipAddressText(const IpAddressParts& parts);

// The port list: "COM1" to "COM16", then "TCP/IP".
const std::vector<std::string>& connectionPortNames();
// The item a stored port name selects: the first that begins with it, letters compared
// without case; an empty name selects "TCP/IP". -1 when no item begins with it ("COM20").
int findPortItem(const std::string& portName);

// The TCP port text as the standard decimal conversion reads it (0 when there is no number),
// and whether that number is a port the dialog accepts.
long tcpPortNumber(const std::string& text);
bool isTcpPortInRange(long port);

}  // namespace q93
