#pragma once

#include <string>

namespace q93 {

// One encoder of the location store, as the fleet commands name and reach it.
struct StoredEncoder {
    std::string site;
    std::string encoder;
    std::string folder;  // "./LocationData/SITE/ENC/"
    // Why the folder (or its tcp.txt) cannot be read, empty when it can. A site that cannot be
    // listed stands here with an empty `encoder` (its name is then "SITE/", as list prints a
    // site): its encoders are unknown, and every command counts it as failed.
    std::string unreadable;

    std::string name() const { return site + "/" + encoder; }
};

}  // namespace q93
