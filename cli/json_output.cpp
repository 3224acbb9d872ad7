#include "cli/json_output.h"

#include <cstdio>

namespace q93::ctl {

std::string plainValue(const std::string& value) {
    if (!value.empty() && value.find_first_of(" \t\"\\") == std::string::npos)
        return value;
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string plainPair(const std::string& name, const std::string& value) {
    return name + "=" + plainValue(value);
}

std::string plainPairs(const Json& object) {
    std::string text;
    for (const auto& [key, value] : object.items())
        text += " " + plainPair(key, value.is_string() ? value.get<std::string>() : value.dump());
    return text;
}

void printJson(const Json& document) {
    const std::string text = document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    std::printf("%s\n", text.c_str());
}

std::string outcomeLine(const std::string& name, const JobOutcome& outcome) {
    if (!outcome.ok) {
        return name + " FAILED " + plainPair("step", outcome.failure.step) + " " +
               plainPair("message", outcome.failure.message);
    }
    return name + " OK" + plainPairs(outcome.values);
}

Json outcomeJson(const std::string& name, const JobOutcome& outcome) {
    Json json = {{"name", name}, {"ok", outcome.ok}};
    if (!outcome.ok) {
        json["step"] = outcome.failure.step;
        json["message"] = outcome.failure.message;
    }
    for (const auto& [key, value] : outcome.values.items())
        json[key] = value;
    return json;
}

}  // namespace q93::ctl
