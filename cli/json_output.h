#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/fleet_worker.h"

namespace q93::ctl {

// The two forms of every listing: plain "name=value" words for grep and awk, and one JSON
// document (the schema is in the usage text).

// A value of a name=value word, or a name: as it is, or in its quoted form with C escapes
// (cli/quoted_text.h) when it is empty or holds a blank, a quote, a backslash, a control
// character or a byte that is not UTF-8.
std::string plainValue(const std::string& value);
std::string plainPair(const std::string& name, const std::string& value);
// " name=value" for every member of a JSON object, strings without their JSON quotes.
std::string plainPairs(const Json& object);

// Prints the document on stdout, two blanks an indent; bytes that are not UTF-8 (a file
// name from another system) become U+FFFD instead of failing.
void printJson(const Json& document);

// A command that fails before it has a result: the message on stderr as usageError or
// failure give it (by `status`), and with --json also {command, ok: false, error} on stdout,
// so that a script reading the document always gets one. Returns `status`.
int failedCommand(const std::string& command, bool json, int status, const std::string& message);

// One line for an encoder of a fleet command: "SITE/ENC OK [name=value...]" or
// "SITE/ENC FAILED step=... message=...".
std::string outcomeLine(const std::string& name, const JobOutcome& outcome);
// The same as an object: name, ok, on failure step and message, then the job's values.
Json outcomeJson(const std::string& name, const JobOutcome& outcome);

}  // namespace q93::ctl
