// The imported applications: years, lists, one application with its child rows,
// deletion and renumbering.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/admin/Outcome.h"
#include "core/store/Database.h"
#include "core/store/HomeFolder.h"

namespace xinghe::applications {

// One row of the application list.
struct ApplicationRow {
    std::string projectId;
    std::string year;
    std::string applicant;  // Applyer_Name
    std::string projectName;
    std::string university;
    std::string college;  // "" when NULL
    std::string subjectName;
};

// Years that have applications, newest first.
std::vector<std::string> applicationYears(db::Connection& conn);
// The applications of one year (all years when empty), by project number.
std::vector<ApplicationRow> listApplications(db::Connection& conn, const std::string& year = {});

// A stored row: every column in stored order with its value.
using Record = std::vector<std::pair<std::string, db::Value>>;
const db::Value* field(const Record& r, std::string_view column);  // case-insensitive
std::string fieldText(const Record& r, std::string_view column);

struct ApplicationDetail {
    Record apply;                      // the ApplyInfo row
    std::vector<Record> members;       // AttenDeeInfo, stored order
    std::vector<Record> equipment;     // MachineInfo, stored order
    std::vector<Record> publications;  // ProductionInfo, stored order
};
std::optional<ApplicationDetail> loadApplication(db::Connection& conn,
                                                 const std::string& projectId);
// Publications newest first, as the detail view lists them.
std::vector<Record> publicationsNewestFirst(db::Connection& conn, const std::string& projectId);

// Where the filed form of an application lies: .docx or .Doc, whichever exists
// (any case of the extension); nullopt when neither does.
std::optional<std::filesystem::path> findFiledForm(const store::HomeFolder& home,
                                                   const std::string& year,
                                                   const std::string& projectId,
                                                   const std::string& applicant);

// Deletes the application with its member, equipment, publication and ProjectInfo rows
// in one transaction, then its filed form (a missing form is ignored).
Outcome deleteApplication(db::Connection& conn, const store::HomeFolder& home,
                          const std::string& projectId);

// The in-school number typed into the project-number dialog: left-padded with "0" to
// three characters; accepted when it reads as a number from 1 to 999.
struct SchoolNumber {
    std::string padded;
    bool accepted = false;
};
SchoolNumber checkSchoolNumber(const std::string& typed);

inline constexpr const char* kNumberTaken = "编号重复";
inline constexpr const char* kNumberInvalid = "输入错误";

// Gives the application the number made of its first 8 characters and the new
// in-school number. The application and every row carrying its number (members,
// equipment, publications, ProjectInfo, disbursements) follow in one transaction; the
// filed form is copied under the new name first and the old copy removed only after
// the new one exists. On success `message` is the new project number.
struct RenumberResult {
    bool ok = false;
    std::string newId;
    std::string error;                  // kNumberTaken, or the reason it failed
    std::vector<std::string> warnings;  // kCopyFailed when the form could not be copied
};
RenumberResult renumberApplication(db::Connection& conn, const store::HomeFolder& home,
                                   const std::string& projectId, const std::string& schoolNumber);

}  // namespace xinghe::applications
