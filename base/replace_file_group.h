#pragma once

#include <string>
#include <vector>

namespace q93 {

struct NewFile {
    std::string path;
    std::string bytes;
};

// Replaces several files as one: either every file gets its new bytes or every file keeps
// its old ones. All new files are first written in full beside the old ones; then each old
// file gets a second name beside it and the new ones are renamed over; a rename that fails
// part way renames the old ones back (and removes a file that did not exist before). What
// it wrote beside them is gone afterwards, whatever happened, and SIGINT, SIGTERM and SIGHUP
// wait until it is. false with the reason in *error.
bool replaceFileGroup(const std::vector<NewFile>& files, std::string* error);

}  // namespace q93
