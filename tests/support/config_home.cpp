#include "tests/support/config_home.h"

#include <cstdlib>

namespace q93::test {

ConfigHome::ConfigHome(const std::string& iniText) {
    if (const char* previous = std::getenv("XDG_CONFIG_HOME")) {
        hadPrevious_ = true;
        previous_ = previous;
    }
    std::filesystem::create_directories(dir_.path() / "q93config");
    writeIni(iniText);
    setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
}

ConfigHome::~ConfigHome() {
    if (hadPrevious_) {
        setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

std::string ConfigHome::iniPath() const {
    return (dir_.path() / "q93config" / "Q93Config.ini").string();
}

void ConfigHome::writeIni(const std::string& iniText) const {
    writeFileBytes(iniPath(), iniText);
}

}  // namespace q93::test
