#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "core/experts/SubjectCodes.h"
#include "core/store/DataStore.h"
#include "core/store/Passwords.h"
#include "core/store/Schema.h"
#include "core/store/SeedData.h"
#include "core/store/Startup.h"

using namespace xinghe;
using xinghe::test::TempDir;
namespace fs = std::filesystem;

namespace {

struct StartupTest : ::testing::Test {
    TempDir dir;
    store::DataStore makeStore() {
        return store::DataStore(store::HomeFolder(dir / "home"), dir / "register");
    }
};

std::int64_t countRows(db::Connection& c, const std::string& sql) {
    auto st = c.prepare(sql);
    EXPECT_TRUE(st.step());
    return *st.integer(0);
}

TEST_F(StartupTest, FirstStartMakesFoldersDatabasesAndDeliveredRows) {
    auto store = makeStore();
    auto report = store::runStartup(store);
    EXPECT_TRUE(report.firstStart);
    EXPECT_TRUE(report.messages.empty()) << report.messages.front().detail;
    for (const char* d : {"DataBase", "NewDoc", "SummaryDoc", "temp", "Backup"}) {
        EXPECT_TRUE(fs::is_directory(dir / "home" / d)) << d;
    }
    for (const auto& f : {store.home().workingDatabase(), store.home().packagingDatabase(),
                          store.home().subjectDatabase(), store.registerFile()}) {
        EXPECT_TRUE(db::isDatabaseFile(f)) << f;
    }

    auto& sys = store.system();
    EXPECT_EQ(sys.columns("ApplyInfo").size(), 64u);
    EXPECT_EQ(sys.columns("ApplyInfo").front(), "Project_ID");
    EXPECT_EQ(sys.columns("ApplyInfo").back(), "Applyer_Introduction");
    for (const auto& t : schema::workingTables()) {
        EXPECT_EQ(sys.columns(t.name), schema::columnNames(t.name)) << t.name;
    }

    auto admin = sys.prepare("SELECT PASSWORD FROM Users WHERE UID = 'admin'");
    ASSERT_TRUE(admin.step());
    EXPECT_TRUE(store::verifyPassword(admin.text(0), store::kInitialAdminPassword));
    EXPECT_NE(admin.text(0), store::kInitialAdminPassword);

    auto title = sys.prepare("SELECT PositionName FROM Position WHERE PositionCode = 11");
    ASSERT_TRUE(title.step());
    EXPECT_EQ(title.text(0), "教授");
    auto china =
        sys.prepare("SELECT NationalityName FROM Nationality WHERE NationalityCode = '156'");
    ASSERT_TRUE(china.step());
    EXPECT_EQ(china.text(0), "中国");
    EXPECT_GT(countRows(sys, "SELECT count(*) FROM UniversityCode"), 100);
    EXPECT_EQ(countRows(sys, "SELECT count(*) FROM UniversityCode WHERE length(code) <> 4"), 0);
}

TEST_F(StartupTest, SubjectTableAnswersTheThreeLevelSelections) {
    auto store = makeStore();
    store::runStartup(store);
    db::Connection xk(store.home().subjectDatabase());
    experts::SubjectCodes codes(xk);

    auto l1 = codes.level1();
    ASSERT_GE(l1.size(), 50u);
    EXPECT_EQ(l1.front().code, "110");
    for (const auto& s : l1) EXPECT_EQ(experts::subjectLevel(s.code), 1) << s.code;
    for (const auto& s : codes.level2()) EXPECT_EQ(experts::subjectLevel(s.code), 2) << s.code;
    for (const auto& s : codes.level3()) EXPECT_EQ(experts::subjectLevel(s.code), 3) << s.code;

    auto math2 = codes.level2Under("110");
    ASSERT_FALSE(math2.empty());
    for (const auto& s : math2) EXPECT_EQ(s.code.substr(0, 4), "110.") << s.code;
    bool algebra = false;
    for (const auto& s : math2) algebra |= s.code == "110.14";
    EXPECT_TRUE(algebra);

    auto math3 = codes.level3UnderLevel1("110");
    ASSERT_FALSE(math3.empty());
    for (const auto& s : math3) EXPECT_EQ(s.code.substr(0, 4), "110.") << s.code;

    auto algebra3 = codes.level3UnderLevel2("110.14");
    ASSERT_FALSE(algebra3.empty());
    for (const auto& s : algebra3) EXPECT_EQ(s.code.substr(0, 6), "110.14") << s.code;
    EXPECT_LT(algebra3.size(), math3.size() + 1);
}

TEST(SubjectLevel, IsToldByTheDigitsAfterThePoint) {
    const std::pair<const char*, int> cases[] = {{"110", 1},     {"110.1", 2},    {"110.14", 2},
                                                 {"110.141", 3}, {"110.1411", 3}, {"110.14111", 0},
                                                 {"", 0}};
    for (const auto& [code, level] : cases) EXPECT_EQ(experts::subjectLevel(code), level) << code;
}

TEST_F(StartupTest, SecondStartReplacesThePackagingCopy) {
    auto store = makeStore();
    store::runStartup(store);
    store.system().execScript("INSERT INTO YearSet (Year) VALUES (2026)");
    {
        db::Connection temp(store.home().packagingDatabase());
        temp.execScript("DROP TABLE ApplyInfo; CREATE TABLE Leftover (x)");
    }
    auto report = store::runStartup(store);
    EXPECT_FALSE(report.firstStart);
    EXPECT_TRUE(report.messages.empty());
    db::Connection temp(store.home().packagingDatabase());
    EXPECT_TRUE(temp.tableExists("ApplyInfo"));
    EXPECT_FALSE(temp.tableExists("Leftover"));
    EXPECT_EQ(countRows(temp, "SELECT count(*) FROM YearSet WHERE Year = 2026"), 1);
}

TEST_F(StartupTest, PackagingCopyIsConsistentWhileAWriterIsActive) {
    auto store = makeStore();
    store::runStartup(store);
    db::Connection writer(store.home().workingDatabase());
    writer.execScript("INSERT INTO YearSet (Year) VALUES (2025)");
    writer.execScript("BEGIN IMMEDIATE; INSERT INTO YearSet (Year) VALUES (2030)");
    db::backupDatabase(store.home().workingDatabase(), store.home().packagingDatabase());
    writer.execScript("COMMIT");

    db::Connection copy(store.home().packagingDatabase());
    auto check = copy.prepare("PRAGMA integrity_check");
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.text(0), "ok");
    // The copy holds what was committed when it was made, not the open transaction.
    EXPECT_EQ(countRows(copy, "SELECT count(*) FROM YearSet"), 1);
}

TEST_F(StartupTest, ExistingBackupRegisterIsLeftUntouched) {
    fs::create_directories(dir / "register");
    store::createBackupRegister(dir / "register" / "BackupInformation.mdb");
    {
        db::Connection reg(dir / "register" / "BackupInformation.mdb");
        reg.execScript("INSERT INTO Backup_Info VALUES ('2026-1-2', '10-11-12')");
    }
    auto store = makeStore();
    store::runStartup(store);
    store::runStartup(store);
    db::Connection reg(store.registerFile());
    EXPECT_EQ(countRows(reg, "SELECT count(*) FROM Backup_Info"), 1);
}

TEST_F(StartupTest, MissingWorkingDatabaseIsReportedAndStartUpGoesOn) {
    auto store = makeStore();
    store::runStartup(store);
    fs::remove(store.home().workingDatabase());
    fs::create_directory(store.home().workingDatabase());  // a folder where the file should be
    auto report = store::runStartup(store);
    ASSERT_FALSE(report.messages.empty());
    EXPECT_EQ(report.messages.front().text, store::kStartupProblem);
    EXPECT_TRUE(fs::exists(store.registerFile()));
}

TEST_F(StartupTest, UnusableHomeFolderGivesAClearErrorAndChangesNothing) {
    { std::ofstream(dir / "plainfile") << "x"; }
    store::DataStore store(store::HomeFolder(dir / "plainfile" / "home"), dir / "register");
    EXPECT_THROW(store::runStartup(store), store::HomeError);
    EXPECT_FALSE(fs::exists(dir / "register"));
    std::ifstream in(dir / "plainfile");
    std::string content;
    in >> content;
    EXPECT_EQ(content, "x");
}

}  // namespace
