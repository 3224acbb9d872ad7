#include "cli/json_output.h"

#include <cstdio>

#include "cli/ctl_command.h"
#include "cli/quoted_text.h"

namespace q93::ctl {

std::string plainValue(const std::string& value) {
    return quotedIfNeeded(value);
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

int failedCommand(const std::string& command, bool json, int status, const std::string& message) {
    if (json)
        printJson({{"command", command}, {"ok", false}, {"error", message}});
    return status == kExitUsage ? usageError(message) : failure(message);
}

std::string outcomeLine(const std::string& name, const JobOutcome& outcome) {
    if (!outcome.ok) {
        return plainValue(name) + " FAILED " + plainPair("step", outcome.failure.step) + " " +
               plainPair("message", outcome.failure.message);
    }
    return plainValue(name) + " OK" + plainPairs(outcome.values);
}

Json outcomeJson(const std::string& name, const JobOutcome& outcome) {
    Json json = {{"name", jsonText(name)}, {"ok", outcome.ok}};
    if (!outcome.ok) {
        json["step"] = outcome.failure.step;
        json["message"] = outcome.failure.message;
    }
    for (const auto& [key, value] : outcome.values.items())
        json[key] = value;
    return json;
}

}  // namespace q93::ctl
