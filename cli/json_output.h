#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/fleet_worker.h"

namespace q93::ctl {

// The two forms of every listing: plain "name=value" words for grep and awk, and one JSON
// document (the schema is in the usage text).

// A value of a name=value word: as it is, or in double quotes (with \" and \\) when it is
// empty or holds a blank, a quote or a backslash.
std::string plainValue(const std::string& value);
std::string plainPair(const std::string& name, const std::string& value);
// " name=value" for every member of a JSON object, strings without their JSON quotes.
std::string plainPairs(const Json& object);

// Prints the document on stdout, two blanks an indent; bytes that are not UTF-8 (a file
// name from another system) become U+FFFD instead of failing.
void printJson(const Json& document);

// One line for an encoder of a fleet command: "SITE/ENC OK [name=value...]" or
// "SITE/ENC FAILED step=... message=...".
std::string outcomeLine(const std::string& name, const JobOutcome& outcome);
// The same as an object: name, ok, on failure step and message, then the job's values.
Json outcomeJson(const std::string& name, const JobOutcome& outcome);

}  // namespace q93::ctl
