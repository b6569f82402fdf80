// applications list / show.
#include "cli/Json.h"
#include "cli/Session.h"
#include "core/applications/Applications.h"

namespace xinghe::cli {

namespace {

// A stored text on one line: paragraph ends and line breaks continue on an indented line.
std::string readable(const db::Value& v, const std::string& indent) {
    std::string text = db::toText(v), out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n' || c == '\v') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (i + 1 < text.size()) out += "\n" + indent;
        } else {
            out += c;
        }
    }
    return out;
}

void printRecord(std::ostream& out, const applications::Record& r, const std::string& indent) {
    for (const auto& [column, value] : r) {
        out << indent << column << ": " << readable(value, indent + "  ") << '\n';
    }
}

void printRows(std::ostream& out, const char* table,
               const std::vector<applications::Record>& rows) {
    out << '\n' << table << " (" << rows.size() << ")\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out << "  [" << i + 1 << "]\n";
        printRecord(out, rows[i], "    ");
    }
}

}  // namespace

void addApplicationCommands(CLI::App& app, Session& s) {
    auto* group = app.add_subcommand("applications", "The imported applications");
    group->require_subcommand(1);

    auto* list = group->add_subcommand("list", "List the applications by project number");
    auto year = std::make_shared<int>(0);
    auto listJson = std::make_shared<bool>(false);
    list->add_option("--year", *year, "Only the applications of this year")
        ->check(CLI::Range(1, 9999));
    list->add_flag("--json", *listJson,
                   "JSON array of {projectId, year, applicant, projectName, university, college, "
                   "subjectName}");
    s.on(list, [&s, year, listJson, list] {
        const std::string y = list->get_option("--year")->count() ? std::to_string(*year) : "";
        const auto rows = applications::listApplications(s.system(), y);
        if (*listJson) {
            Json j = Json::array();
            for (const auto& r : rows) {
                j.push_back(Json{{"projectId", r.projectId},
                                 {"year", r.year},
                                 {"applicant", r.applicant},
                                 {"projectName", r.projectName},
                                 {"university", r.university},
                                 {"college", r.college},
                                 {"subjectName", r.subjectName}});
            }
            printJson(s.out, j);
            return kExitOk;
        }
        if (rows.empty()) {
            s.out << "no applications\n";
            return kExitOk;
        }
        s.out << "序号\t申请年度\t申请人\t项目名称\t所在单位\t所在院系\t学科名称\n";
        for (const auto& r : rows) {
            s.out << r.projectId << '\t' << r.year << '\t' << r.applicant << '\t' << r.projectName
                  << '\t' << r.university << '\t' << r.college << '\t' << r.subjectName << '\n';
        }
        return kExitOk;
    });

    auto* show = group->add_subcommand("show",
                                       "Show one application with its member, equipment and "
                                       "publication rows");
    auto id = std::make_shared<std::string>();
    auto showJson = std::make_shared<bool>(false);
    show->add_option("PROJECT_ID", *id, "Project number, e.g. 20261001001")->required();
    show->add_flag("--json", *showJson,
                   "JSON object {ApplyInfo: {...}, AttenDeeInfo: [...], MachineInfo: [...], "
                   "ProductionInfo: [...]}, columns in stored order");
    s.on(show, [&s, id, showJson] {
        auto detail = applications::loadApplication(s.system(), *id);
        if (!detail) throw CommandError("no application has the project number " + *id);
        if (*showJson) {
            printJson(s.out, applicationJson(*detail));
            return kExitOk;
        }
        s.out << "ApplyInfo\n";
        printRecord(s.out, detail->apply, "  ");
        printRows(s.out, "AttenDeeInfo", detail->members);
        printRows(s.out, "MachineInfo", detail->equipment);
        printRows(s.out, "ProductionInfo", detail->publications);
        return kExitOk;
    });
}

}  // namespace xinghe::cli
