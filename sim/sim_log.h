#pragma once

#include <functional>
#include <string>

namespace q93::sim {

// One line on stderr per event, whole lines even when connections log at once. Tests can
// take the lines instead with setLogSink.
void logLine(const std::string& line);
// Lines only shown with --verbose (every request and reply).
void logVerbose(const std::string& line);
void setVerbose(bool on);
bool verbose();
// nullptr restores stderr.
void setLogSink(std::function<void(const std::string&)> sink);

}  // namespace q93::sim
