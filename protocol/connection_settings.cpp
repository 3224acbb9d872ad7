#include "protocol/connection_settings.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "base/regular_file.h"
#include "base/replace_file.h"

namespace q93 {
namespace {

// The store reads each line into a buffer of 20 characters: 18, the line break and the NUL.
constexpr int kLineBuffer = static_cast<int>(kMaxConnectionText) + 2;

// One character as a text-mode read gives it: a CR LF pair arrives as one line feed, so a
// file written on either kind of machine is read in the same pieces.
int nextTextChar(std::FILE* file) {
    const int c = std::fgetc(file);
    if (c != '\r')
        return c;
    const int next = std::fgetc(file);
    if (next == '\n')
        return '\n';
    if (next != EOF)
        std::ungetc(next, file);
    return c;
}

// Reads the lines in turn and remembers the first that does not fit.
struct LineReader {
    std::FILE* file;
    int lineNumber = 0;
    std::string doubt;

    // At most 19 characters of a line, as fgets into the store's buffer takes them; the rest
    // of a longer line is the next read.
    std::string nextLine();
    int nextNumber();
};

std::string LineReader::nextLine() {
    ++lineNumber;
    std::string text;
    bool broken = false;
    while (static_cast<int>(text.size()) < kLineBuffer - 1) {
        const int c = nextTextChar(file);
        if (c == EOF) {
            broken = true;
            break;
        }
        text.push_back(static_cast<char>(c));
        if (c == '\n') {
            broken = true;
            break;
        }
    }
    // The tool writes at most 18 characters and a line break: 19 without one is a longer
    // line, cut where the store cuts it.
    if (!broken && doubt.empty()) {
        doubt = "line " + std::to_string(lineNumber) + " longer than " +
                std::to_string(kMaxConnectionText) + " characters";
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

int LineReader::nextNumber() {
    const std::string text = nextLine();
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

}  // namespace

bool readConnectionSettings(const std::string& path, ConnectionSettings& settings) {
    settings.ipAddress.clear();
    settings.tcpPort.clear();
    settings.portName.clear();
    settings.doubt.clear();
    // tcp.txt, like every file read, must be a regular file: a FIFO there would hold the
    // start up until something wrote to it.
    std::string ignored;
    const int fd = openRegularFile(path, &ignored);
    std::FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "r");
    if (file == nullptr) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    LineReader lines{file};
    settings.ipAddress = lines.nextLine();
    settings.tcpPort = lines.nextLine();
    settings.portName = lines.nextLine();
    settings.speedIndex = lines.nextNumber();
    settings.readAck = lines.nextNumber();
    settings.doubt = lines.doubt;
    std::fclose(file);
    return true;
}

std::string doubtfulConnectionText(const std::string& path, const std::string& doubt) {
    return "'" + path + "' is doubtful: " + doubt + "; nothing was sent";
}

bool writeConnectionSettings(const std::string& path, const ConnectionSettings& settings) {
    const std::string text = settings.ipAddress + "\r\n" + settings.tcpPort + "\r\n" +
                             settings.portName + "\r\n" + std::to_string(settings.speedIndex) +
                             "\r\n" + std::to_string(settings.readAck) + "\r\n";
    return replaceFile(path, text);
}

}  // namespace q93
