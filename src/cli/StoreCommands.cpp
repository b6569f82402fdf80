// init, unit show/set, year show/set.
#include <charconv>
#include <map>

#include "cli/Json.h"
#include "cli/Session.h"
#include "core/admin/UnitInfo.h"
#include "core/applications/YearSetting.h"

namespace xinghe::cli {

namespace {

using admin::UnitRecord;

// One field of the unit record: its column, the window's label and the option of
// `unit set` that gives it.
struct UnitField {
    const char* column;
    const char* label;
    const char* option;
    const char* help;
    std::string UnitRecord::*member;
};

// In the column order of CollegeInfo.
const std::vector<UnitField>& unitFields() {
    static const std::vector<UnitField> fields = {
        {"collegenum", "单位代码：", "--code",
         "Unit code (taken from the list of units when the name is listed there)",
         &UnitRecord::collegenum},
        {"Name", "单位全称：", "--name", "Full name of the unit", &UnitRecord::name},
        {"Department", "学校隶属部门：", "--department", "Department the university belongs to",
         &UnitRecord::department},
        {"post", "邮政编码：", "--post", "Postal code", &UnitRecord::post},
        {"sheng", "省（直辖市）：", "--province", "Address: province", &UnitRecord::sheng},
        {"shi", "市（地区）：", "--city", "Address: city", &UnitRecord::shi},
        {"qu", "县（区）：", "--county", "Address: county", &UnitRecord::qu},
        {"jie", "街（路）：", "--street", "Address: street", &UnitRecord::jie},
        {"hao", "号：", "--number", "Address: number", &UnitRecord::hao},
        {"address", "联系地址：", "--address",
         "Full address (default: the five address parts joined)", &UnitRecord::address},
        {"man", "联系人：", "--contact", "Contact person", &UnitRecord::man},
        {"phone", "联系电话：", "--phone", "Telephone", &UnitRecord::phone},
        {"email", "电子邮件：", "--email", "E-mail", &UnitRecord::email},
        {"countname", "开户单位：", "--account-holder", "Account holder", &UnitRecord::countname},
        {"bank", "开户银行：", "--bank", "Bank", &UnitRecord::bank},
        {"count", "账号：", "--account", "Account number", &UnitRecord::count},
        {"managedepart", "基金管理部门：", "--fund-department", "Fund-managing department",
         &UnitRecord::managedepart},
        {"code", "申请书起始编号：", "--start", "Start number of project numbers (e.g. 001)",
         &UnitRecord::code},
    };
    return fields;
}

bool isAddressPart(const UnitField& f) {
    return f.member == &UnitRecord::sheng || f.member == &UnitRecord::shi ||
           f.member == &UnitRecord::qu || f.member == &UnitRecord::jie ||
           f.member == &UnitRecord::hao;
}

void addInit(CLI::App& app, Session& s) {
    auto* cmd = app.add_subcommand(
        "init",
        "Run the start-up: make the home folder and its databases, refresh the packaging copy");
    s.on(cmd, [&s] {
        const auto& report = s.startup();
        s.out << "home folder: " << s.homeFolder().string() << '\n';
        if (report.firstStart) s.out << "first start: the working database was created\n";
        for (const auto& m : report.messages) s.err << m.text << " (" << m.detail << ")\n";
        return report.messages.empty() ? kExitOk : kExitFailed;
    });
}

void addUnit(CLI::App& app, Session& s) {
    auto* unit = app.add_subcommand("unit", "The registration record of the unit");
    unit->require_subcommand(1);

    auto* show = unit->add_subcommand("show", "Show the unit record");
    auto json = std::make_shared<bool>(false);
    show->add_flag("--json", *json, "JSON object keyed by column (null when not registered)");
    s.on(show, [&s, json] {
        auto rec = admin::loadUnit(s.system());
        if (*json) {
            Json j = nullptr;
            if (rec) {
                j = Json::object();
                for (const auto& f : unitFields()) j[f.column] = (*rec).*f.member;
            }
            printJson(s.out, j);
        } else if (!rec) {
            s.out << "the unit is not registered (xinghe-cli unit set)\n";
        } else {
            // Name first, as the window lists it.
            s.out << "单位全称：" << rec->name << '\n';
            for (const auto& f : unitFields()) {
                if (f.member != &UnitRecord::name) s.out << f.label << (*rec).*f.member << '\n';
            }
        }
        return kExitOk;
    });

    auto* set = unit->add_subcommand(
        "set",
        "Register the unit. Options not given keep their stored values. Required in the end: "
        "code, department, address, province, street, bank, account, fund department");
    auto values = std::make_shared<std::map<std::string, std::string>>();
    std::map<std::string, CLI::Option*> options;
    for (const auto& f : unitFields()) {
        auto* opt = set->add_option(f.option, (*values)[f.option], f.help);
        if (f.member == &UnitRecord::name) opt->required();
        options[f.option] = opt;
    }
    s.on(set, [&s, values, options] {
        auto given = [&](const UnitField& f) { return options.at(f.option)->count() > 0; };
        auto& conn = s.system();
        UnitRecord rec = admin::loadUnit(conn).value_or(UnitRecord{});
        const std::string storedName = rec.name;
        bool partGiven = false;
        for (const auto& f : unitFields()) {
            if (!given(f)) continue;
            rec.*f.member = values->at(f.option);
            partGiven = partGiven || isAddressPart(f);
        }
        const bool codeGiven = options.at("--code")->count() > 0;
        if (auto listed = admin::universityCode(conn, rec.name)) {
            if (codeGiven && rec.collegenum != *listed) {
                throw CommandError("the code of " + rec.name + " is " + *listed + ", not " +
                                   rec.collegenum);
            }
            rec.collegenum = *listed;
        } else if (!codeGiven && rec.name != storedName) {
            throw CommandError(rec.name +
                               " is not in the list of units; give its code with --code");
        }
        // As in the window: changing an address part rewrites the full address.
        if (partGiven && !options.at("--address")->count()) rec.address = admin::joinAddress(rec);

        auto outcome = admin::saveUnit(conn, rec);
        if (!outcome.ok) throw CommandError(outcome.message);
        s.out << outcome.message << '\n';
        return kExitOk;
    });
}

void addYear(CLI::App& app, Session& s) {
    auto* year = app.add_subcommand("year", "The accepted application year");
    year->require_subcommand(1);

    auto* show = year->add_subcommand("show", "Show the accepted year");
    auto json = std::make_shared<bool>(false);
    show->add_flag("--json", *json, R"(JSON object {"year": 2026}, null when no year is set)");
    s.on(show, [&s, json] {
        auto y = applications::acceptedYear(s.system());
        if (*json) {
            Json j = Json::object();
            j["year"] = nullptr;
            if (y) {
                long long n = 0;
                auto [end, ec] = std::from_chars(y->data(), y->data() + y->size(), n);
                if (ec == std::errc() && end == y->data() + y->size()) {
                    j["year"] = n;
                } else {
                    j["year"] = *y;
                }
            }
            printJson(s.out, j);
        } else {
            s.out << (y ? *y : std::string("no year is set")) << '\n';
        }
        return kExitOk;
    });

    auto* set = year->add_subcommand("set", "Set the year accepted by the import");
    auto text = std::make_shared<std::string>();
    set->add_option("YEAR", *text, "The year, e.g. 2026")->required();
    s.on(set, [&s, text] {
        auto outcome = applications::setYear(s.system(), *text);
        if (!outcome.ok) throw CommandError(outcome.message);
        s.out << outcome.message << '\n';
        return kExitOk;
    });
}

}  // namespace

void addStoreCommands(CLI::App& app, Session& s) {
    addInit(app, s);
    addUnit(app, s);
    addYear(app, s);
}

}  // namespace xinghe::cli
