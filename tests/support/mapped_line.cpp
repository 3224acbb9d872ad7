#include "tests/support/mapped_line.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace q93::test {

MappedLine::MappedLine(int comNumber) : comNumber_(comNumber) {
    view_ = ::open(pty_.slaveName().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (view_ < 0)
        throw std::runtime_error("cannot open the slave for viewing");
    makeCooked();
    writeIni("");
}

MappedLine::~MappedLine() {
    if (view_ >= 0)
        ::close(view_);
}

std::string MappedLine::iniPath() const {
    return config_.iniPath();
}

void MappedLine::writeIni(const std::string& settingsLines, const std::string& extraPorts) {
    config_.writeIni("[Ports]\n" + portName() + "=" + pty_.slaveName() + "\n" + extraPorts +
                     "\n[Settings]\n" + settingsLines);
}

// A line as the system hands it out, in line mode with echo at 38400 baud, so that what the
// port sets is seen to be its own doing.
void MappedLine::makeCooked() {
    termios settings = deviceSettings();
    settings.c_iflag |= ICRNL | IXON;
    settings.c_oflag |= OPOST;
    settings.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    cfsetispeed(&settings, B38400);
    cfsetospeed(&settings, B38400);
    tcsetattr(view_, TCSANOW, &settings);
}

termios MappedLine::deviceSettings() const {
    termios settings{};
    if (tcgetattr(view_, &settings) != 0)
        throw std::runtime_error("tcgetattr failed");
    return settings;
}

std::string bytesOf(const std::uint8_t* data, int length) {
    return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
}

}  // namespace q93::test
