// The import of one application form: checks (lock, year, applicant, unit),
// numbering, the ApplyInfo row with its member, equipment, publication and
// ProjectInfo rows in one transaction, and the filed copy under NewDoc/{year}/.
#pragma once

#include <filesystem>
#include <functional>

#include "core/imports/ImportResult.h"
#include "core/store/DataStore.h"

namespace xinghe::imports {

using Tick = std::function<void()>;

// Imports one document. Never throws: every failure becomes a result code, its
// reason goes to log.txt. `conn` is the working database ("system").
ImportResult importApplication(db::Connection& conn, const store::HomeFolder& home,
                               const std::filesystem::path& document, const Tick& tick = {});

// The name of the filed copy: {project number}{filing name} with ".Doc" for a .doc
// source and ".docx" otherwise.
std::string filedName(const std::string& projectId, const std::string& filingName,
                      const std::filesystem::path& source);

// True when a filing name can be part of a file name on every system the filed
// forms travel to (no \ / : * ? " < > | or control characters).
bool isValidFilingName(const std::string& name);

}  // namespace xinghe::imports
