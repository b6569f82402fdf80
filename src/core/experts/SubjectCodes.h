// The three-level subject classification in DataBase/xk.db. The level of a code is
// told by its text: no point is level 1 (110), one or two digits after the point
// level 2 (110.1, 110.14), three or four digits level 3 (110.141, 110.1411).
#pragma once

#include <string>
#include <vector>

#include "core/store/Database.h"

namespace xinghe::experts {

struct Subject {
    std::string code;  // the code's text, shortest form (110.1 for 110.10)
    std::string name;
};

class SubjectCodes {
public:
    explicit SubjectCodes(db::Connection& xk) : xk_(xk) {}

    std::vector<Subject> level1();
    // Every level-2 subject, or those under one level-1 code.
    std::vector<Subject> level2();
    std::vector<Subject> level2Under(const std::string& level1Code);
    // Every level-3 subject, those under a level-1 code, or under a level-2 code.
    std::vector<Subject> level3();
    std::vector<Subject> level3UnderLevel1(const std::string& level1Code);
    std::vector<Subject> level3UnderLevel2(const std::string& level2Code);

private:
    std::vector<Subject> select(const std::string& where, const std::string& param);
    db::Connection& xk_;
};

// The level of a code text: 1, 2 or 3; 0 when it fits none.
int subjectLevel(const std::string& codeText);

}  // namespace xinghe::experts
