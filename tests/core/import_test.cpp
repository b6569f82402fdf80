#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "core/admin/UnitInfo.h"
#include "core/applications/Applications.h"
#include "core/applications/YearSetting.h"
#include "core/forms/ApplicationForm.h"
#include "core/forms/SampleApplications.h"
#include "core/imports/ApplicationImport.h"
#include "core/imports/ImportBatch.h"
#include "core/store/Startup.h"
#include "fixtures/SampleOffice.h"

using namespace xinghe;
using xinghe::test::TempDir;
namespace fs = std::filesystem;

namespace {

constexpr const char* kUniversity = test::kSampleUniversity;

// A home folder with the year 2026 accepted and the sample unit (code 0999) registered.
struct ImportTest : ::testing::Test {
    TempDir dir;
    store::DataStore store{store::HomeFolder(dir / "home"), dir / "register"};
    db::Connection* conn = nullptr;
    int written = 0;

    void SetUp() override {
        store::runStartup(store);
        conn = &store.system();
        test::prepareOffice(*conn);
    }

    fs::path write(const forms::FormData& data, const std::string& ext = ".docx") {
        fs::path p = dir / ("form" + std::to_string(++written) + ext);
        forms::writeApplicationForm(data, p);
        return p;
    }
    forms::FormData sample(int n) { return forms::sampleApplication(n, "2026", kUniversity); }
    imports::ImportResult import(const fs::path& p, int* ticks = nullptr) {
        return imports::importApplication(*conn, store.home(), p, [&] {
            if (ticks) ++*ticks;
        });
    }
    std::int64_t count(const std::string& table) {
        auto st = conn->prepare("SELECT count(*) FROM " + table);
        st.step();
        return *st.integer(0);
    }
    void expectNothingWritten() {
        for (const char* t :
             {"ApplyInfo", "AttenDeeInfo", "MachineInfo", "ProductionInfo", "ProjectInfo"}) {
            EXPECT_EQ(count(t), 0) << t;
        }
    }
    std::string logText() {
        std::ifstream in(store.home().logFile());
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
};

TEST_F(ImportTest, FormLandsInEveryColumnWithItsChildRowsAndIsFiled) {
    auto data = sample(0);
    data.bookmarks["ffd_subjectname"] = "O'Neil的\"量子\"研究";
    data.cells[{7, 4, 2}] = "";  // an empty member row between filled ones is skipped
    data.cells[{7, 5, 2}] = "后来者";
    data.cells[{7, 5, 7}] = "3";
    int ticks = 0;
    auto r = import(write(data), &ticks);
    ASSERT_TRUE(r.succeeded()) << r.reason;
    EXPECT_EQ(r.projectId, "20260999001");
    EXPECT_EQ(r.code, 1260999001);
    EXPECT_EQ(imports::hintText(r), "文档总编号为20260999001");
    EXPECT_EQ(imports::statusText(r), "处理成功");
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_GE(ticks, 5);

    auto d = applications::loadApplication(*conn, r.projectId);
    ASSERT_TRUE(d);
    using applications::fieldText;
    const std::pair<const char*, std::string> expected[] = {
        {"Project_Name", "O'Neil的\"量子\"研究"},
        {"Applyer_Name", forms::sampleName(0)},
        {"ApplyerName", forms::sampleName(0)},
        {"University_Name", kUniversity},
        {"Department_Name", "字段不再使用"},
        {"Postalcode", "100871"},
        {"DoctorTutor", "-1"},
        {"ImportantSubject", ""},  // "?????" counts as absent
        {"ImportantLab_Name", ""},
        {"Apply_Year", "2026"},
        {"Apply_Kind", "青年基金项目"},
        {"SubjectName", "计算机软件"},
        {"ApplyMoney", "5"},
        {"PrimaryProj_BeginYear", "5"},
        {"Applyer_Sex", "男"},
        {"Applyer_AdminPosition", "系主任"},
        {"Language2_name", "日语"},
        {"Stuff_Fee", "4.5"},
        {"TotalMoney", "20"},
        {"Applyer_Introduction", forms::sampleName(0) + "，长期从事计算机软件研究。"},
    };
    for (const auto& [col, value] : expected) EXPECT_EQ(fieldText(d->apply, col), value) << col;
    EXPECT_TRUE(db::isNull(*applications::field(d->apply, "ImportantSubject")));

    ASSERT_EQ(d->members.size(), 2u);
    EXPECT_EQ(fieldText(d->members[1], "Attendee_Name"), "后来者");
    EXPECT_EQ(fieldText(d->members[1], "WorkTime"), "3");
    ASSERT_EQ(d->equipment.size(), 2u);
    EXPECT_EQ(fieldText(d->equipment[0], "Machine_Price"), "3.2");
    ASSERT_EQ(d->publications.size(), 3u);
    EXPECT_EQ(fieldText(d->publications[1], "Production_SerialNumber"), "1");
    EXPECT_EQ(fieldText(d->publications[1], "Author_Li"), "2");

    auto pi = conn->prepare("SELECT IntoProject, applyer_name, Apply_year FROM ProjectInfo");
    ASSERT_TRUE(pi.step());
    EXPECT_EQ(pi.integer(0), 0);
    EXPECT_EQ(pi.text(1), forms::sampleName(0));
    EXPECT_EQ(pi.text(2), "2026");

    fs::path filed =
        store.home().newDocDir() / "2026" / ("20260999001" + forms::sampleName(0) + ".docx");
    EXPECT_EQ(r.filedAs, filed.string());
    EXPECT_TRUE(fs::exists(filed));

    auto log = logText();
    EXPECT_NE(log.find("line : 128"), std::string::npos);
    EXPECT_NE(log.find("INSERT INTO ApplyInfo(Project_ID"), std::string::npos);
    EXPECT_NE(log.find("'O''Neil的\"量子\"研究'"), std::string::npos);
}

TEST_F(ImportTest, NumbersFollowAcrossBatchesAndTheLogKeepsTheLastDocument) {
    auto first = imports::runBatch(store, {write(sample(0)), write(sample(1))});
    auto second = imports::runBatch(store, {write(sample(2))});
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].projectId, "20260999001");
    EXPECT_EQ(first[1].projectId, "20260999002");
    EXPECT_EQ(second[0].projectId, "20260999003");
    EXPECT_NE(logText().find(forms::sampleName(2)), std::string::npos);
    EXPECT_EQ(logText().find(forms::sampleName(1)), std::string::npos);
}

TEST_F(ImportTest, ChecksRefuseWithTheirCodesAndWriteNothing) {
    struct Case {
        const char* what;
        std::function<void(forms::FormData&)> change;
        std::int64_t code;
    };
    const Case cases[] = {
        {"status 0", [](auto& d) { d.status = "0"; }, imports::kNotLocked},
        {"status empty", [](auto& d) { d.status = ""; }, imports::kNotLocked},
        {"status blank 1", [](auto& d) { d.status = " 1"; }, imports::kNotLocked},
        {"other year", [](auto& d) { d.bookmarks["ffd_appyear"] = "2025"; },
         imports::kYearNotAccepted},
        {"year not a number", [](auto& d) { d.bookmarks["ffd_appyear"] = "二〇二六"; },
         imports::kFailed},
        {"university with trailing blank",
         [](auto& d) { d.bookmarks["ffd_university"] = std::string(kUniversity) + " "; },
         imports::kUnitNotRegistered},
        {"number column not a number", [](auto& d) { d.bookmarks["ffd_postcode"] = "十万"; },
         imports::kFailed},
        {"work time not a number",
         [](auto& d) {
             d.cells[{7, 3, 7}] = "半年";
         },
         imports::kFailed},
        {"work time empty",
         [](auto& d) {
             d.cells[{7, 4, 7}] = "";
         },
         imports::kFailed},
        {"price not a number",
         [](auto& d) {
             d.cells[{8, 6, 3}] = "x";
         },
         imports::kFailed},
        {"author rank not a number",
         [](auto& d) {
             d.cells[{9, 3, 4}] = "第一";
         },
         imports::kFailed},
    };
    for (const auto& c : cases) {
        auto data = sample(0);
        c.change(data);
        auto r = import(write(data));
        EXPECT_EQ(r.code, c.code) << c.what;
        EXPECT_FALSE(r.reason.empty()) << c.what;
        expectNothingWritten();
        EXPECT_NE(logText().find("error happen"), std::string::npos) << c.what;
    }
}

TEST_F(ImportTest, LockMarkerWithFurtherLinesCountsAsLocked) {
    auto data = sample(0);
    data.status = "1\n附注";
    EXPECT_TRUE(import(write(data)).succeeded());
}

TEST_F(ImportTest, YearAndUnitMustBeSet) {
    conn->execScript("DELETE FROM YearSet");
    EXPECT_EQ(import(write(sample(0))).code, imports::kYearNotAccepted);
    ASSERT_TRUE(applications::setYear(*conn, "2026").ok);
    conn->execScript("DELETE FROM CollegeInfo");
    EXPECT_EQ(import(write(sample(0))).code, imports::kUnitNotRegistered);
    expectNothingWritten();
}

TEST_F(ImportTest, DuplicateApplicantIsRefusedEvenWhenEverythingElseDiffers) {
    ASSERT_TRUE(import(write(sample(0))).succeeded());
    auto other = sample(5);
    other.cells[{2, 20, 1}] = forms::sampleName(0);
    EXPECT_EQ(import(write(other)).code, imports::kDuplicateApplicant);
    EXPECT_EQ(count("ApplyInfo"), 1);
}

TEST_F(ImportTest, FailedDocumentCanBeImportedAgainOnceMended) {
    auto data = sample(0);
    data.cells[{9, 5, 4}] = "?";
    EXPECT_EQ(import(write(data)).code, imports::kFailed);
    expectNothingWritten();
    data.cells[{9, 5, 4}] = "3";
    auto r = import(write(data));
    EXPECT_TRUE(r.succeeded()) << r.reason;
    EXPECT_EQ(r.projectId, "20260999001");
}

TEST_F(ImportTest, DoctorTutorIsTrueOnlyForExactlyYes) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"是", -1}, {"", 0}, {"否", 0}, {"是 ", 0}};
    int n = 0;
    for (const auto& [text, stored] : cases) {
        auto data = sample(n++);
        data.bookmarks["ffd_doctor"] = text;
        auto r = import(write(data));
        ASSERT_TRUE(r.succeeded()) << r.reason;
        auto st = conn->prepare("SELECT DoctorTutor FROM ApplyInfo WHERE Project_ID = ?1");
        st.bind(1, r.projectId);
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.integer(0), stored) << text;
    }
}

TEST_F(ImportTest, FilingNameThatCannotBeAFileNameKeepsTheImport) {
    for (const char* name : {"?????", "张/三"}) {
        auto data = sample(written);
        data.bookmarks["ffd_applyer"] = name;
        auto r = import(write(data));
        ASSERT_TRUE(r.succeeded()) << r.reason;
        ASSERT_EQ(r.warnings.size(), 1u) << name;
        EXPECT_EQ(r.warnings[0], imports::kCopyFailedMessage);
        EXPECT_TRUE(r.filedAs.empty());
    }
    EXPECT_EQ(count("ApplyInfo"), 2);
}

TEST_F(ImportTest, BadFilesFailWithAReasonAndTheBatchGoesOn) {
    std::vector<fs::path> docs;
    {
        std::ofstream(dir / "text.docx") << "plain text, not a Word document";
        docs.push_back(dir / "text.docx");
    }
    {
        std::string bytes = forms::applicationFormBytes(sample(0));
        std::ofstream(dir / "truncated.docx", std::ios::binary)
            << bytes.substr(0, bytes.size() / 2);
        docs.push_back(dir / "truncated.docx");
    }
    docs.push_back(dir / "missing.docx");
    docs.push_back(write(sample(1)));
    std::vector<imports::ImportEvent> events;
    auto results = imports::runBatch(store, docs, [&](const auto& e) { events.push_back(e); });
    ASSERT_EQ(results.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(results[i].code, imports::kFailed) << docs[i];
        EXPECT_FALSE(results[i].reason.empty());
    }
    EXPECT_TRUE(results[3].succeeded()) << results[3].reason;
    EXPECT_EQ(count("ApplyInfo"), 1);

    // Ticks, then exactly one result per document, in order.
    std::vector<std::size_t> resultOrder;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].type == imports::ImportEvent::Type::Result) {
            resultOrder.push_back(events[i].index);
        } else if (i + 1 < events.size()) {
            EXPECT_EQ(events[i].index, resultOrder.size());
        }
    }
    EXPECT_EQ(resultOrder, (std::vector<std::size_t>{0, 1, 2, 3}));
}

TEST_F(ImportTest, BatchImporterRunsOnItsOwnThread) {
    imports::BatchImporter importer(store);
    std::atomic<int> results{0};
    ASSERT_TRUE(importer.start({write(sample(0)), write(sample(1))}, [&](const auto& e) {
        if (e.type == imports::ImportEvent::Type::Result) ++results;
    }));
    importer.wait();
    EXPECT_EQ(results, 2);
    EXPECT_EQ(count("ApplyInfo"), 2);
}

TEST(ImportTexts, HintsForEveryCode) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {91, "文档未加锁"},
        {92, "该申请者信息在本年度申请中已经存在"},
        {93, "申请书中的申请日期与系统认可的申请日期不一致"},
        {94, "申请书中的学校名称与系统注册的使用单位名称不一致"},
        {-1, "未知错误，请检查导入的Word文档是否正确，文档内容是否符合要求"},
        {1990001001, "文档总编号为20990001001"},
    };
    for (const auto& [code, hint] : cases) EXPECT_EQ(imports::hintForCode(code), hint) << code;
    EXPECT_EQ(imports::successCode("20990001001"), 1990001001);
    EXPECT_EQ(imports::filedName("20260001001", "张三", "a/b.DOC"), "20260001001张三.Doc");
    EXPECT_EQ(imports::filedName("20260001001", "张三", "a/b.docx"), "20260001001张三.docx");
}

}  // namespace
