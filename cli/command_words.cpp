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

bool takeJsonFlag(const Arguments& args, const std::string& command, bool& json,
                  std::string* error) {
    CommandWords words;
    if (!splitWords(args, {}, {"--json"}, words, error))
        return false;
    if (!words.positional.empty())
        return *error = command + " takes no names", false;
    json = words.option("--json") != nullptr;
    return true;
}

bool asksForJson(const Arguments& args) {
    return contains(args, "--json");
}

bool parseNumber(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && value >= low && value <= high;
}

bool parsePresetList(const std::string& text, std::vector<int>& numbers) {
    bool chosen[9] = {};
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const std::string item = text.substr(at, comma - at);
        const std::size_t dash = item.find('-');
        int first = 0, last = 0;
        if (!parseNumber(item.substr(0, dash), 1, 8, first))
            return false;
        last = first;
        if (dash != std::string::npos && !parseNumber(item.substr(dash + 1), first, 8, last))
            return false;
        for (int n = first; n <= last; ++n)
            chosen[n] = true;
        at = comma + 1;
    }
    numbers.clear();
    for (int n = 1; n <= 8; ++n) {
        if (chosen[n])
            numbers.push_back(n);
    }
    return true;
}

int exitStatus(int result, const CtlSeam& seam, const std::string& what) {
    if (result == 0)
        return kExitSuccess;
    if (seam.warningsShown() == 0)
        return failure(what + " failed");
    return kExitFailure;
}

}  // namespace q93::ctl
