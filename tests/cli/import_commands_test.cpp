// import applications, applications list/show: what the command line says about each
// document, and that it stores exactly what the core's batch runner stores.
#include <fstream>
#include <functional>

#include "CliTestSupport.h"
#include "core/admin/UnitInfo.h"
#include "core/applications/YearSetting.h"
#include "core/forms/ApplicationForm.h"
#include "core/forms/SampleApplications.h"
#include "core/imports/ImportBatch.h"
#include "core/store/Schema.h"
#include "core/store/Startup.h"

namespace xinghe::test {
namespace {

namespace fs = std::filesystem;
using forms::FormData;

constexpr const char* kCopyFailed = "复制文件错误，请与系统管理员联系！";

using ImportCommandsTest = CliTest;

FormData sample(int n, const std::string& year = "2026",
                const std::string& university = kUnitName) {
    return forms::sampleApplication(n, year, university);
}

fs::path write(const fs::path& file, const FormData& data) {
    fs::create_directories(file.parent_path());
    forms::writeApplicationForm(data, file);
    return file;
}

// One document of the mixed batch and what the progress list shows for it.
struct BatchDoc {
    std::string file;
    std::function<FormData()> data;  // none: a file that is not a form
    std::string status;
    std::string hint;
    std::int64_t code;
    std::string projectId;
    bool filingWarning = false;
};

std::vector<BatchDoc> mixedBatch() {
    return {
        {"01-first.docx", [] { return sample(0); }, "处理成功", "文档总编号为20260001001",
         1260001001, "20260001001"},
        {"02-second.docx", [] { return sample(1); }, "处理成功", "文档总编号为20260001002",
         1260001002, "20260001002"},
        {"03-unlocked.docx",
         [] {
             auto d = sample(2);
             d.status = "0";
             return d;
         },
         "处理失败", "文档未加锁", 91, ""},
        {"04-again.docx", [] { return sample(0); }, "处理失败",
         "该申请者信息在本年度申请中已经存在", 92, ""},
        {"05-year.docx", [] { return sample(3, "2025"); }, "处理失败",
         "申请书中的申请日期与系统认可的申请日期不一致", 93, ""},
        {"06-unit.docx", [] { return sample(4, "2026", "清华大学"); }, "处理失败",
         "申请书中的学校名称与系统注册的使用单位名称不一致", 94, ""},
        {"07-broken.docx", nullptr, "处理失败",
         "未知错误，请检查导入的Word文档是否正确，文档内容是否符合要求", -1, ""},
        {"08-filing.docx",
         [] {
             auto d = sample(5);
             d.bookmarks["ffd_applyer"] = "何?平";  // cannot be part of a file name
             return d;
         },
         "处理成功", "文档总编号为20260001003", 1260001003, "20260001003", true},
    };
}

// Writes the mixed batch into `folder` (with a file that is not a Word document).
void writeMixedBatch(const fs::path& folder) {
    fs::create_directories(folder);
    for (const auto& doc : mixedBatch()) {
        if (doc.data) {
            write(folder / doc.file, doc.data());
        } else {
            std::ofstream(folder / doc.file) << "this is not a Word document";
        }
    }
    std::ofstream(folder / "readme.txt") << "not a form";
}

TEST_F(ImportCommandsTest, EachDocumentGetsItsLineAsTheProgressListShowsIt) {
    prepareHome();
    const fs::path folder = dir / "batch";
    writeMixedBatch(folder);

    CliRun r = run({"import", "applications", folder.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string expected;
    int id = 0;
    for (const auto& doc : mixedBatch()) {
        expected += std::to_string(++id) + "\t" + (folder / doc.file).string() + "\t" + doc.status +
                    "\t" + doc.hint + "\n";
        if (doc.filingWarning) expected += std::string("\twarning: ") + kCopyFailed + "\n";
    }
    expected += "done: 8 document(s), 3 succeeded, 5 failed\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");  // not a terminal: no progress line
}

TEST_F(ImportCommandsTest, JsonGivesOneObjectPerDocument) {
    prepareHome();
    const fs::path folder = dir / "batch";
    writeMixedBatch(folder);

    Json all = json({"import", "applications", "--json", folder.string()});
    const auto docs = mixedBatch();
    ASSERT_TRUE(all.is_array());
    ASSERT_EQ(all.size(), docs.size()) << all.dump(2);
    for (std::size_t i = 0; i < docs.size(); ++i) {
        SCOPED_TRACE(docs[i].file);
        Json expected = Json::object();
        expected["file"] = (folder / docs[i].file).string();
        expected["status"] = docs[i].status;
        expected["hint"] = docs[i].hint;
        expected["code"] = docs[i].code;
        expected["projectId"] = docs[i].projectId.empty() ? Json(nullptr) : Json(docs[i].projectId);
        expected["warnings"] = docs[i].filingWarning ? Json::array({kCopyFailed}) : Json::array();
        EXPECT_EQ(all[i], expected);
    }
}

// The windows import through the core's batch runner; the command line must store the
// very same rows.
TEST_F(ImportCommandsTest, StoresWhatTheCoreBatchRunnerStores) {
    prepareHome();
    const fs::path folder = dir / "batch";
    writeMixedBatch(folder);
    for (int n = 6; n < 10; ++n) {
        write(folder / ("10-sample" + std::to_string(n) + ".docx"), sample(n));
    }
    const Json viaCli = json({"import", "applications", "--json", folder.string()});

    // The same documents through runBatch into a home folder set up through the core.
    const fs::path coreHome = dir / "core-home";
    std::vector<imports::ImportResult> results;
    {
        store::DataStore core(store::HomeFolder(coreHome), dir / "core-register");
        store::runStartup(core);
        ASSERT_TRUE(applications::setYear(core.system(), "2026").ok);
        admin::UnitRecord unit;
        unit.name = kUnitName;
        unit.collegenum = *admin::universityCode(core.system(), kUnitName);
        unit.department = "教育部";
        unit.sheng = "北京市";
        unit.jie = "颐和园路";
        unit.address = "北京市颐和园路";
        unit.bank = "工商银行";
        unit.count = "0200001";
        unit.managedepart = "科学研究部";
        ASSERT_TRUE(admin::saveUnit(core.system(), unit).ok);
        results = imports::runBatch(core, imports::collectDocuments({folder}));
    }

    ASSERT_EQ(viaCli.size(), results.size());
    std::vector<std::string> imported;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const auto& r = results[i];
        SCOPED_TRACE(viaCli[i]["file"].get<std::string>());
        EXPECT_EQ(viaCli[i]["code"], r.code);
        EXPECT_EQ(viaCli[i]["status"], imports::statusText(r));
        EXPECT_EQ(viaCli[i]["hint"], imports::hintText(r));
        EXPECT_EQ(viaCli[i]["warnings"], Json(r.warnings));
        if (r.succeeded()) {
            EXPECT_EQ(viaCli[i]["projectId"], r.projectId);
            imported.push_back(r.projectId);
        }
    }
    ASSERT_EQ(imported.size(), 7u);

    EXPECT_EQ(json({"applications", "list", "--json"}),
              json({"applications", "list", "--json"}, coreHome));
    for (const auto& id : imported) {
        SCOPED_TRACE(id);
        Json mine = json({"applications", "show", id, "--json"});
        Json theirs = json({"applications", "show", id, "--json"}, coreHome);
        EXPECT_EQ(mine, theirs);
        EXPECT_FALSE(mine["AttenDeeInfo"].empty());
        EXPECT_FALSE(mine["MachineInfo"].empty());
        EXPECT_FALSE(mine["ProductionInfo"].empty());
    }
}

// A form with quotes, Chinese text and empty cells comes back value by value.
TEST_F(ImportCommandsTest, ShowJsonGivesBackTheFormsValues) {
    prepareHome();
    FormData d;
    d.status = "1";
    d.bookmarks = {
        {"ffd_appyear", "2026"},        {"ffd_appmonth", "4"},
        {"ffd_university", kUnitName},  {"ffd_subjectname", R"("量子"纠错码的'稳定子'构造)"},
        {"ffd_applyer", "欧阳 O'Neil"}, {"ffd_department", R"(数学科学学院 "基础数学" 系)"},
        {"ffd_postcode", "100871"},     {"ffd_doctorname", "?????"},  // counts as not filled in
        {"ffd_iptsubjectname", ""},     {"ffd_doctor", "否"},
        // ffd_labname keeps the template's "?????"
    };
    d.cells = {
        {{1, 1, 2}, R"(重点项目 "A" 类)"},
        {{1, 3, 2}, "110.74"},
        {{2, 2, 3}, "应用数学"},
        {{2, 5, 2}, "2027"},
        {{2, 5, 4}, "1"},
        {{2, 5, 6}, "2028"},
        {{2, 5, 8}, "6"},
        {{2, 5, 10}, "12.5"},
        {{2, 6, 5}, "1979"},
        {{2, 14, 1}, R"(量子;纠错;"稳定子")"},
        {{2, 19, 1}, "第一行\n第二行"},  // a cell value ends at its first paragraph
        {{2, 20, 1}, R"(O'Neil "欧阳")"},
        {{7, 16, 2}, "3"},
        {{8, 3, 1}, "40.5"},
        {{8, 14, 1}, "简介：“全角引号”与'半角'"},
        {{7, 3, 2}, R"(李"小"四)"},
        {{7, 3, 3}, "1990.01"},
        {{7, 3, 4}, "讲师"},
        {{7, 3, 6}, "某某研究所"},
        {{7, 3, 7}, "10"},
        {{7, 5, 2}, "王五"},  // row 4 is empty and skipped
        {{7, 5, 7}, "2"},
        {{8, 6, 1}, "示波器 'DSO'"},
        {{8, 6, 2}, "2"},
        {{8, 6, 3}, "3.75"},
        {{9, 3, 2}, "2025-01"},
        {{9, 3, 4}, "2"},
        {{9, 3, 5}, R"(论"纠错")"},
        {{9, 3, 6}, "数学学报"},
    };
    const fs::path form = write(dir / "forms" / "quoted.docx", d);
    ASSERT_EQ(json({"import", "applications", "--json", form.string()})[0]["code"], 1260001001);

    const Json shown = json({"applications", "show", "20260001001", "--json"});
    std::vector<std::string> keys;
    for (const auto& [key, value] : shown.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"ApplyInfo", "AttenDeeInfo", "MachineInfo",
                                              "ProductionInfo"}));

    // Every column of the row, named and ordered as stored; what is not listed is NULL.
    const Json expected = Json::parse(R"({
        "Project_ID": "20260001001",
        "Apply_Kind": "重点项目 \"A\" 类",
        "Subject_Code": "110.74",
        "Project_Name": "\"量子\"纠错码的'稳定子'构造",
        "Applyer_Name": "欧阳 O'Neil",
        "University_Name": "北京大学",
        "College_Name": "数学科学学院 \"基础数学\" 系",
        "Department_Name": "字段不再使用",
        "Postalcode": 100871,
        "DoctorTutor": 0,
        "Apply_Year": 2026,
        "Apply_Monnth": 4,
        "SubjectName": "应用数学",
        "BeginYear": 2027,
        "BeginMonth": 1,
        "EndYear": 2028,
        "EndMonth": 6,
        "ApplyMoney": 12.5,
        "ApplyerName": "O'Neil \"欧阳\"",
        "Applyer_BirthYear": 1979,
        "ProjectKeyword": "量子;纠错;\"稳定子\"",
        "PrimaryProj_BeginYear": "12.5",
        "OtherMoneySource": "第一行",
        "Professor_Num": 3,
        "TotalMoney": 40.5,
        "Applyer_Introduction": "简介：“全角引号”与'半角'"
    })");
    const Json& apply = shown["ApplyInfo"];
    std::vector<std::string> columns;
    for (const auto& [column, value] : apply.items()) {
        columns.push_back(column);
        SCOPED_TRACE(column);
        if (expected.contains(column)) {
            EXPECT_EQ(value, expected[column]);
        } else {
            EXPECT_TRUE(value.is_null()) << value.dump();
        }
    }
    EXPECT_EQ(columns, schema::columnNames("ApplyInfo"));
    for (const auto& [column, value] : expected.items()) EXPECT_TRUE(apply.contains(column));

    EXPECT_EQ(shown["AttenDeeInfo"], Json::parse(R"([
        {"Project_ID": "20260001001", "Attendee_Name": "李\"小\"四", "Birth_Date": "1990.01",
         "TechPosition": "讲师", "Profession": "", "WorkSite": "某某研究所", "WorkTime": 10},
        {"Project_ID": "20260001001", "Attendee_Name": "王五", "Birth_Date": "",
         "TechPosition": "", "Profession": "", "WorkSite": "", "WorkTime": 2}])"));
    EXPECT_EQ(shown["MachineInfo"], Json::parse(R"([
        {"Project_ID": "20260001001", "Machine_Name": "示波器 'DSO'", "Machine_Num": 2,
         "Machine_Price": 3.75}])"));
    EXPECT_EQ(shown["ProductionInfo"], Json::parse(R"([
        {"Project_ID": "20260001001", "Production_SerialNumber": 1,
         "Production_Date": "2025-01", "Author_Li": 2, "Production_Name": "论\"纠错\"",
         "Magazine_Press": "数学学报"}])"));

    // The readable form carries the same values.
    CliRun text = run({"applications", "show", "20260001001"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("ApplyInfo\n  Project_ID: 20260001001\n"), std::string::npos);
    EXPECT_NE(text.out.find("  Project_Name: \"量子\"纠错码的'稳定子'构造\n"), std::string::npos);
    EXPECT_NE(text.out.find("AttenDeeInfo (2)\n  [1]\n    Project_ID: 20260001001\n"),
              std::string::npos)
        << text.out;
}

TEST_F(ImportCommandsTest, ListsByYearInProjectOrder) {
    prepareHome();
    write(dir / "a" / "1.docx", sample(0));
    write(dir / "a" / "2.docx", sample(1));
    write(dir / "b" / "3.docx", sample(2, "2027"));
    ASSERT_EQ(run({"import", "applications", (dir / "a").string()}).status, 0);
    ASSERT_EQ(run({"year", "set", "2027"}).status, 0);
    ASSERT_EQ(run({"import", "applications", (dir / "b").string()}).status, 0);

    auto ids = [&](const std::vector<std::string>& args) {
        std::vector<std::string> out;
        for (const auto& row : json(args)) out.push_back(row["projectId"]);
        return out;
    };
    EXPECT_EQ(ids({"applications", "list", "--json"}),
              (std::vector<std::string>{"20260001001", "20260001002", "20270001001"}));
    EXPECT_EQ(ids({"applications", "list", "--year", "2026", "--json"}),
              (std::vector<std::string>{"20260001001", "20260001002"}));
    EXPECT_EQ(ids({"applications", "list", "--year", "2030", "--json"}),
              std::vector<std::string>{});

    Json first = json({"applications", "list", "--year", "2027", "--json"})[0];
    EXPECT_EQ(first["applicant"], forms::sampleName(2));
    EXPECT_EQ(first["year"], "2027");
    EXPECT_EQ(first["university"], kUnitName);

    CliRun text = run({"applications", "list", "--year", "2027"});
    ASSERT_EQ(text.status, 0);
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              "序号\t申请年度\t申请人\t项目名称\t所在单位\t所在院系\t学科名称");
    EXPECT_NE(text.out.find("\n20270001001\t2027\t" + forms::sampleName(2) + "\t"),
              std::string::npos);
}

TEST_F(ImportCommandsTest, WithoutAYearEveryDocumentFailsAndTheBatchStillRuns) {
    ASSERT_EQ(run({"unit", "set", "--name", kUnitName, "--department", "教育部", "--province",
                   "北京市", "--street", "颐和园路", "--bank", "工行", "--account", "1",
                   "--fund-department", "科研部"})
                  .status,
              0);
    const fs::path form = write(dir / "forms" / "a.docx", sample(0));
    CliRun r = run({"import", "applications", form.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\t" + form.string() +
                         "\t处理失败\t申请书中的申请日期与系统认可的申请日期不一致\n"
                         "done: 1 document(s), 0 succeeded, 1 failed\n");
}

TEST_F(ImportCommandsTest, AProgressLineIsDrawnOnlyWhenAsked) {
    prepareHome();
    const fs::path a = write(dir / "forms" / "a.docx", sample(0));
    const fs::path b = write(dir / "forms" / "b.docx", sample(1));
    env.progress = true;
    CliRun r = run({"import", "applications", a.string(), b.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("\r\x1b[K[1/2] 正在处理··· a.docx"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\r\x1b[K[2/2] 正在处理··· b.docx"), std::string::npos) << r.err;
    // Cleared before each result line and at the end.
    EXPECT_EQ(r.err.substr(r.err.size() - 4), "\r\x1b[K");
    EXPECT_EQ(r.out, "1\t" + a.string() + "\t处理成功\t文档总编号为20260001001\n" + "2\t" +
                         b.string() + "\t处理成功\t文档总编号为20260001002\n" +
                         "done: 2 document(s), 2 succeeded, 0 failed\n");
}

TEST_F(ImportCommandsTest, BadPathsAreRefusedBeforeAnythingIsImported) {
    prepareHome();
    const fs::path good = write(dir / "forms" / "a.docx", sample(0));
    fs::create_directories(dir / "empty");
    std::ofstream(dir / "empty" / "notes.txt") << "no forms here";
    struct Case {
        const char* name;
        std::vector<std::string> paths;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"missing file", {(dir / "nope.docx").string()}, "no such file or folder"},
        {"missing among good", {good.string(), (dir / "nope").string()}, "nope"},
        {"folder without forms", {(dir / "empty").string()}, "no Word documents"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"import", "applications"};
        args.insert(args.end(), c.paths.begin(), c.paths.end());
        CliRun r = run(args);
        EXPECT_EQ(r.status, cli::kExitFailed);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(json({"applications", "list", "--json"}), Json::array());
    }
    EXPECT_TRUE(fs::is_empty(home() / "NewDoc"));
}

TEST_F(ImportCommandsTest, AnUnknownProjectNumberIsAnError) {
    for (bool asJson : {false, true}) {
        std::vector<std::string> args = {"applications", "show", "20269999999"};
        if (asJson) args.push_back("--json");
        CliRun r = run(args);
        EXPECT_EQ(r.status, cli::kExitFailed);
        EXPECT_NE(r.err.find("20269999999"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
}  // namespace xinghe::test
