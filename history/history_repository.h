#pragma once

#include <cstddef>
#include <string>

#include "history/git_handles.h"

namespace q93::history {

// Where the history keeps its branch in the repository's own config, and how it is written.
inline constexpr const char* kBranchKey = "q93.branch";
inline constexpr const char* kBranchPrefix = "refs/heads/";
// A version as the user reads it: the first characters of its id.
inline constexpr std::size_t kShortIdLength = 7;

// The repository of the settings history under `root`; false with the reason when there is
// none or it cannot be opened.
bool openHistoryRepository(const std::string& root, Repository& repo, std::string* error);

}  // namespace q93::history
