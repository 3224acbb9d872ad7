#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace q93::test {

// Whether this machine lets the process send an ICMP echo request at all: an echo socket
// where net.ipv4.ping_group_range admits its group, else a raw socket with the capability.
inline bool echoSocketsPermitted() {
    for (int type : {SOCK_DGRAM, SOCK_RAW}) {
        const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
    }
    return false;
}

}  // namespace q93::test
