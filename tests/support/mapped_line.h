#pragma once

#include <termios.h>

#include <string>

#include "tests/support/config_home.h"
#include "tests/support/pseudo_terminal.h"

namespace q93::test {

// A pseudo-terminal that the program reaches as a COM port: a fresh XDG_CONFIG_HOME whose
// Q93Config.ini maps COM<number> to the slave. The test keeps its own descriptor on the
// slave, taken before any port opens it exclusively, to look at the terminal settings.
class MappedLine {
public:
    explicit MappedLine(int comNumber = 5);
    ~MappedLine();
    MappedLine(const MappedLine&) = delete;
    MappedLine& operator=(const MappedLine&) = delete;

    // Rewrites the INI file: the "Ports" mapping, extraPorts lines, then the "Settings"
    // section with the given lines ("Key=Value\n"...).
    void writeIni(const std::string& settingsLines, const std::string& extraPorts = "");

    int portIndex() const { return comNumber_ - 1; }
    std::string portName() const { return "COM" + std::to_string(comNumber_); }
    PseudoTerminal& far() { return pty_; }
    termios deviceSettings() const;
    std::string iniPath() const;

private:
    void makeCooked();

    int comNumber_;
    ConfigHome config_;
    PseudoTerminal pty_;
    int view_ = -1;
};

// Bytes as the far end sees them.
std::string bytesOf(const std::uint8_t* data, int length);

}  // namespace q93::test
