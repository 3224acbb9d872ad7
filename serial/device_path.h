#pragma once

#include <string>

namespace q93::serial {

// The device a port index opens: key COM<index+1> of section "Ports" in the program's INI
// file, /dev/ttyS<index> when the key is absent. Read at every open, so a changed mapping
// takes effect with the next connection.
std::string devicePathForPort(int portIndex);

}  // namespace q93::serial
