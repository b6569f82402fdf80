// The accepted application year (table YearSet, at most one row).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/admin/Outcome.h"
#include "core/store/Database.h"

namespace xinghe::applications {

// The stored year as text; nullopt when no year is set.
std::optional<std::string> acceptedYear(db::Connection& conn);

// Years offered by the year box: from next year down over fourteen years.
std::vector<std::string> yearChoices(int currentYear);

// Replaces the accepted year in one transaction. A text that is not a whole year
// (four digits after trimming nothing) is refused and the old year kept.
Outcome setYear(db::Connection& conn, const std::string& yearText);

}  // namespace xinghe::applications
