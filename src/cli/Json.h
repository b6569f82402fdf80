// JSON forms of the core's values for the commands' --json output.
#pragma once

#include <ostream>

#include <nlohmann/json.hpp>

#include "core/applications/Applications.h"
#include "core/store/Database.h"

namespace xinghe::cli {

using Json = nlohmann::ordered_json;

// NULL as null, integers and reals as numbers, text as a string.
Json valueJson(const db::Value& v);
// One stored row: every column under its stored name, in stored order.
Json recordJson(const applications::Record& r);
// {"ApplyInfo": {...}, "AttenDeeInfo": [...], "MachineInfo": [...], "ProductionInfo": [...]}
Json applicationJson(const applications::ApplicationDetail& d);

// Writes indented JSON and a new line. Bytes that are not UTF-8 are replaced.
void printJson(std::ostream& out, const Json& j);

}  // namespace xinghe::cli
