// The registration record of the user's own unit (table CollegeInfo, at most one row).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/admin/Outcome.h"
#include "core/store/Database.h"

namespace xinghe::admin {

inline constexpr const char* kUnitMissing = "请先进入【系统管理】|【单位信息】设置本单位信息！";
inline constexpr const char* kDefaultStartNumber = "001";

struct UnitRecord {
    std::string collegenum;  // unit code, from UniversityCode
    std::string name;
    std::string department;
    std::string post;
    std::string sheng, shi, qu, jie, hao;  // the five address parts
    std::string address;
    std::string man;
    std::string phone;
    std::string email;
    std::string countname;
    std::string bank;
    std::string count;
    std::string managedepart;
    std::string code = kDefaultStartNumber;  // starting number of project numbers
};

// The stored record (the last row wins); nullopt when the unit is not registered.
// A NULL column reads as empty text.
std::optional<UnitRecord> loadUnit(db::Connection& conn);
bool unitRegistered(db::Connection& conn);

// Admissible unit names in stored order, and the code of one name.
std::vector<std::string> universityNames(db::Connection& conn);
std::optional<std::string> universityCode(db::Connection& conn, const std::string& name);

// The full address: the five parts joined without separators.
std::string joinAddress(const UnitRecord& r);

// Checks the required fields and replaces the record in one transaction: the old
// record survives a failed save.
Outcome saveUnit(db::Connection& conn, const UnitRecord& r);

}  // namespace xinghe::admin
