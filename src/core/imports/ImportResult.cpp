#include "core/imports/ImportResult.h"

namespace xinghe::imports {

bool ImportResult::succeeded() const {
    return code != kFailed && code != kNotLocked && code != kDuplicateApplicant &&
           code != kYearNotAccepted && code != kUnitNotRegistered;
}

std::int64_t successCode(const std::string& projectId) {
    std::string digits = "1" + (projectId.size() > 2 ? projectId.substr(2, 9) : std::string());
    std::int64_t v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 1;  // a number with letters cannot be encoded
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string hintForCode(std::int64_t code) {
    switch (code) {
        case kNotLocked:
            return "文档未加锁";
        case kDuplicateApplicant:
            return "该申请者信息在本年度申请中已经存在";
        case kYearNotAccepted:
            return "申请书中的申请日期与系统认可的申请日期不一致";
        case kUnitNotRegistered:
            return "申请书中的学校名称与系统注册的使用单位名称不一致";
        case kFailed:
            return "未知错误，请检查导入的Word文档是否正确，文档内容是否符合要求";
        default: {
            std::string text = std::to_string(code);
            return "文档总编号为20" + (text.size() > 1 ? text.substr(1, 9) : std::string());
        }
    }
}

std::string statusText(const ImportResult& r) {
    return r.succeeded() ? "处理成功" : "处理失败";
}

std::string hintText(const ImportResult& r) {
    // A number with letters has no numeric code; show it from the number itself.
    if (r.succeeded() && r.code == 1 && !r.projectId.empty()) {
        return "文档总编号为20" + r.projectId.substr(2, 9);
    }
    return hintForCode(r.code);
}

}  // namespace xinghe::imports
