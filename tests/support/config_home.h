#pragma once

#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"

namespace q93::test {

// A fresh XDG_CONFIG_HOME holding the program's Q93Config.ini, for mapping COM ports and
// line settings in a test; the previous XDG_CONFIG_HOME comes back with the object.
class ConfigHome {
public:
    explicit ConfigHome(const std::string& iniText = "");
    ~ConfigHome();
    ConfigHome(const ConfigHome&) = delete;
    ConfigHome& operator=(const ConfigHome&) = delete;

    void writeIni(const std::string& iniText) const;
    std::string iniPath() const;
    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
    std::string previous_;
    bool hadPrevious_ = false;
};

}  // namespace q93::test
