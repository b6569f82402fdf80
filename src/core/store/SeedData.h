// The delivered look-up rows, loaded from tab-separated files under data/seed at
// the first start of a home folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/store/Database.h"

namespace xinghe::store {

// The first password of the super user "admin".
inline constexpr const char* kInitialAdminPassword = "admin";

struct TsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};
// Reads a UTF-8 tab-separated file with a header line. Throws std::runtime_error
// naming the file and line when a row has the wrong number of fields.
TsvTable readTsv(const std::filesystem::path& file);

// Fills Users (admin), Position, Nationality and UniversityCode from the seed folder.
void loadWorkingSeed(db::Connection& conn, const std::filesystem::path& seedFolder);
// Fills the subject table xk from xk.tsv.
void loadSubjectSeed(db::Connection& conn, const std::filesystem::path& seedFolder);

}  // namespace xinghe::store
