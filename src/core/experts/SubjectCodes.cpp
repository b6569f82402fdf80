#include "core/experts/SubjectCodes.h"

namespace xinghe::experts {

namespace {
// The code as text the way the picker reads it: SQLite prints a stored real in its
// shortest form and an integer without a point.
constexpr const char* kCodeText = "CAST(Code AS TEXT)";
const std::string kLevel2 =
    std::string("(") + kCodeText + " LIKE '%._' OR " + kCodeText + " LIKE '%.__')";
const std::string kLevel3 =
    std::string("(") + kCodeText + " LIKE '%.___' OR " + kCodeText + " LIKE '%.____')";
// A lower-level code belongs to a level-1 code when its first three characters read
// as an integer equal it, and to a level-2 code when its first six read as a number.
const std::string kUnderLevel1 =
    std::string("CAST(substr(") + kCodeText + ", 1, 3) AS INTEGER) = CAST(?1 AS INTEGER)";
const std::string kUnderLevel2 =
    std::string("CAST(substr(") + kCodeText + ", 1, 6) AS REAL) = CAST(?1 AS REAL)";
}  // namespace

std::vector<Subject> SubjectCodes::select(const std::string& where, const std::string& param) {
    auto st = xk_.prepare(std::string("SELECT ") + kCodeText + ", Disc FROM xk WHERE " + where +
                          " ORDER BY Code");
    if (!param.empty()) st.bind(1, param);
    std::vector<Subject> out;
    while (st.step()) out.push_back({st.text(0), st.text(1)});
    return out;
}

std::vector<Subject> SubjectCodes::level1() {
    return select(std::string(kCodeText) + " NOT LIKE '%.%'", "");
}
std::vector<Subject> SubjectCodes::level2() {
    return select(kLevel2, "");
}
std::vector<Subject> SubjectCodes::level2Under(const std::string& c1) {
    return select(kLevel2 + " AND " + kUnderLevel1, c1);
}
std::vector<Subject> SubjectCodes::level3() {
    return select(kLevel3, "");
}
std::vector<Subject> SubjectCodes::level3UnderLevel1(const std::string& c1) {
    return select(kLevel3 + " AND " + kUnderLevel1, c1);
}
std::vector<Subject> SubjectCodes::level3UnderLevel2(const std::string& c2) {
    return select(kLevel3 + " AND " + kUnderLevel2, c2);
}

int subjectLevel(const std::string& code) {
    auto dot = code.find('.');
    if (dot == std::string::npos) return code.empty() ? 0 : 1;
    size_t after = code.size() - dot - 1;
    if (after >= 1 && after <= 2) return 2;
    if (after >= 3 && after <= 4) return 3;
    return 0;
}

}  // namespace xinghe::experts
