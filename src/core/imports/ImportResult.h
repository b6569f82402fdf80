// The outcome of importing one document, and the texts the progress list shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xinghe::imports {

// Result codes of one document. Any other value is a success and encodes the number.
inline constexpr std::int64_t kNotLocked = 91;
inline constexpr std::int64_t kDuplicateApplicant = 92;
inline constexpr std::int64_t kYearNotAccepted = 93;
inline constexpr std::int64_t kUnitNotRegistered = 94;
inline constexpr std::int64_t kFailed = -1;

inline constexpr const char* kCopyFailedMessage = "复制文件错误，请与系统管理员联系！";

struct ImportResult {
    std::int64_t code = kFailed;
    std::string projectId;              // the number given, on success
    std::string reason;                 // why it failed, as logged
    std::vector<std::string> warnings;  // messages for the user that do not change the result
    std::string filedAs;                // path of the filed copy, "" when filing failed

    bool succeeded() const;
};

// The success code: the integer whose decimal text is "1" followed by characters 3
// to 11 of the project number.
std::int64_t successCode(const std::string& projectId);

// 处理状态 and 提示 of a finished document.
std::string statusText(const ImportResult& r);
std::string hintText(const ImportResult& r);
// 提示 for a code alone (success codes decoded as "文档总编号为20" + characters 2 to 10).
std::string hintForCode(std::int64_t code);

inline constexpr const char* kWaiting = "等待处理";
inline constexpr const char* kRunning = "正在处理···";

}  // namespace xinghe::imports
