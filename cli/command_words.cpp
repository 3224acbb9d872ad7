#include "cli/command_words.h"

#include <algorithm>
#include <charconv>

namespace q93::ctl {
namespace {

bool contains(const std::vector<std::string>& names, const std::string& word) {
    return std::find(names.begin(), names.end(), word) != names.end();
}

}  // namespace

const std::string* CommandWords::option(const std::string& name) const {
    for (const auto& [key, value] : options) {
        if (key == name)
            return &value;
    }
    return nullptr;
}

bool splitWords(const Arguments& args, const std::vector<std::string>& valued,
                const std::vector<std::string>& flags, CommandWords& words, std::string* error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (contains(flags, word)) {
            words.options.emplace_back(word, "");
        } else if (contains(valued, word)) {
            if (i + 1 >= args.size())
                return *error = word + " needs a value", false;
            words.options.emplace_back(word, args[++i]);
        } else if (word.size() > 1 && word[0] == '-' && word[1] == '-') {
            return *error = "unknown option '" + word + "'", false;
        } else {
            words.positional.push_back(word);
        }
    }
    return true;
}

bool parseNumber(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && value >= low && value <= high;
}

int exitStatus(int result, const CtlSeam& seam, const std::string& what) {
    if (result == 0)
        return kExitSuccess;
    if (seam.warningsShown() == 0)
        return failure(what + " failed");
    return kExitFailure;
}

}  // namespace q93::ctl
