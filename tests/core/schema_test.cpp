#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/store/Schema.h"

using namespace xinghe;
using xinghe::test::TempDir;

namespace {

std::vector<std::string> upgradeNames() {
    std::vector<std::string> out;
    for (const auto& t : schema::upgradeTables()) out.push_back(t.name);
    return out;
}

TEST(SchemaUpgrade, OlderDatabaseGetsTheTenTablesInOrder) {
    TempDir dir;
    db::Connection conn(dir / "old.mdb");
    conn.execScript("CREATE TABLE ApplyInfo (Project_ID TEXT)");
    auto r = schema::upgradeSchema(conn);
    EXPECT_TRUE(r.upgraded);
    EXPECT_TRUE(r.error.empty());
    EXPECT_EQ(r.created, upgradeNames());
    const std::vector<std::string> expected = {"Expert",
                                               "ExpertArticle",
                                               "SummaryAchieveInfo",
                                               "SummaryAchieveBrief",
                                               "SummaryInfo",
                                               "SummaryOutLayInfo",
                                               "SummaryOutPutInfo",
                                               "SummaryPatentInfo",
                                               "SummaryThesisInfo",
                                               "NoSummary"};
    EXPECT_EQ(r.created, expected);
    for (const auto& name : expected) EXPECT_TRUE(conn.tableExists(name)) << name;
    EXPECT_EQ(conn.columns("SummaryInfo").size(), 106u);
}

TEST(SchemaUpgrade, DatabaseWithExpertArticleIsLeftUnchanged) {
    TempDir dir;
    db::Connection conn(dir / "db.mdb");
    conn.execScript(schema::createStatement(schema::table("ExpertArticle")));
    auto r = schema::upgradeSchema(conn);
    EXPECT_FALSE(r.upgraded);
    EXPECT_FALSE(conn.tableExists("NoSummary"));
    EXPECT_FALSE(conn.tableExists("Expert"));
}

TEST(SchemaUpgrade, StopsAtTheFirstFailingTableKeepingEarlierOnes) {
    struct Case {
        const char* existing;
        std::vector<std::string> created;
    };
    const Case cases[] = {
        {"Expert", {}},
        {"SummaryInfo", {"Expert", "ExpertArticle", "SummaryAchieveInfo", "SummaryAchieveBrief"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        db::Connection conn(dir / "db.mdb");
        conn.execScript(schema::createStatement(schema::table(c.existing)));
        auto r = schema::upgradeSchema(conn);
        EXPECT_TRUE(r.upgraded);
        EXPECT_EQ(r.created, c.created) << c.existing;
        EXPECT_NE(r.error.find(c.existing), std::string::npos) << r.error;
        EXPECT_FALSE(conn.tableExists("NoSummary"));
    }
}

TEST(SchemaUpgrade, OtherErrorsArePassedOn) {
    TempDir dir;
    {
        db::Connection conn(dir / "db.mdb");
        conn.execScript("CREATE TABLE x (a)");
    }
    // A damaged file is not a missing table: the caller must hear of it.
    {
        std::FILE* f = std::fopen((dir / "db.mdb").c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fseek(f, 100, SEEK_SET);
        for (int i = 0; i < 3900; ++i) std::fputc(0xAB, f);
        std::fclose(f);
    }
    db::Connection damaged(dir / "db.mdb", db::Connection::Mode::ReadOnly);
    EXPECT_THROW(schema::upgradeSchema(damaged), db::Error);
}

TEST(Schema, UpgradeTablesKeepTheirKeys) {
    TempDir dir;
    db::Connection conn(dir / "db.mdb");
    schema::createWorkingSchema(conn);
    conn.execScript(
        "INSERT INTO Expert (Name) VALUES ('甲'); INSERT INTO Expert (Name) VALUES ('乙')");
    auto st = conn.prepare("SELECT UCode FROM Expert ORDER BY UCode");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.integer(0), 1);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.integer(0), 2);
    conn.execScript("INSERT INTO NoSummary (Project_ID) VALUES ('20260001001')");
    EXPECT_THROW(conn.execScript("INSERT INTO NoSummary (Project_ID) VALUES ('20260001001')"),
                 db::Error);
}

}  // namespace
