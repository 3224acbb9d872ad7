#pragma once

#include <string>
#include <vector>

namespace q93::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when the program could not be run or was killed
    std::string out;
    std::string err;
};

// Full path of a program built into build/bin.
std::string binPath(const std::string& program);

// Runs a program to its end with no standard input and collects both output streams.
// A program still running after timeoutSeconds is killed (exitCode -1).
ProcessResult runProgram(const std::vector<std::string>& argv, int timeoutSeconds = 30,
                         const std::string& workingDirectory = "");

}  // namespace q93::test
