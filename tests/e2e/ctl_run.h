#pragma once

#include <string>
#include <vector>

#include "tests/support/process_runner.h"

namespace q93::test {

// Runs the built q93ctl with `args`, in `directory` when one is given.
inline ProcessResult runCtl(const std::vector<std::string>& args,
                            const std::string& directory = "") {
    std::vector<std::string> argv{binPath("q93ctl")};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv, 60, directory);
}

}  // namespace q93::test
