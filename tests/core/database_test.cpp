#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "core/store/Database.h"

using namespace xinghe;
using xinghe::test::TempDir;

namespace {

struct DatabaseTest : ::testing::Test {
    TempDir dir;
    db::Connection conn{dir / "t.db"};
    void SetUp() override {
        conn.execScript("CREATE TABLE People (Name TEXT, Age INTEGER, Money REAL, Flag bit)");
    }
    int count() {
        auto st = conn.prepare("SELECT count(*) FROM People");
        st.step();
        return static_cast<int>(*st.integer(0));
    }
};

TEST_F(DatabaseTest, BoundValuesLandAsTypedAndColumnsMatchWithoutCase) {
    const std::string awkward = "O'Brien \"张三\"; DROP TABLE People; --";
    conn.prepare("INSERT INTO People VALUES (:name, :age, :money, :flag)")
        .bind(":Name", awkward)
        .bind("AGE", 42)
        .bind(":money", 12.5)
        .bind(":flag", db::kTrue)
        .exec();
    auto st = conn.prepare("SELECT * FROM People WHERE name = ?1");
    st.bind(1, awkward);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text("NAME"), awkward);
    EXPECT_EQ(st.integer("age"), 42);
    EXPECT_EQ(st.real("Money"), 12.5);
    EXPECT_EQ(st.integer("flag"), -1);
    EXPECT_EQ(st.columnIndex("missing"), -1);
    EXPECT_THROW(st.text("missing"), db::Error);
    EXPECT_FALSE(st.step());
}

TEST_F(DatabaseTest, TextFormOfValues) {
    const std::pair<db::Value, std::string> cases[] = {
        {db::Null{}, ""}, {std::int64_t{-7}, "-7"},      {12.0, "12"}, {12.3456, "12.3456"},
        {0.1, "0.1"},     {std::string("文本"), "文本"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(db::toText(value), text);
}

TEST_F(DatabaseTest, TransactionRollsBackUnlessCommittedAndNests) {
    {
        db::Transaction outer(conn);
        conn.prepare("INSERT INTO People (Name) VALUES ('a')").exec();
        {
            db::Transaction inner(conn);
            conn.prepare("INSERT INTO People (Name) VALUES ('b')").exec();
            // inner not committed: only 'b' goes
        }
        EXPECT_EQ(count(), 1);
        outer.commit();
    }
    EXPECT_EQ(count(), 1);
    {
        db::Transaction tx(conn);
        conn.prepare("INSERT INTO People (Name) VALUES ('c')").exec();
    }
    EXPECT_EQ(count(), 1);
}

TEST_F(DatabaseTest, ErrorsNameTheStatement) {
    try {
        conn.prepare("SELECT * FROM Nowhere");
        FAIL() << "expected an error";
    } catch (const db::Error& e) {
        EXPECT_NE(std::string(e.what()).find("Nowhere"), std::string::npos);
    }
}

TEST(DatabaseFile, NotADatabaseIsRefused) {
    TempDir dir;
    { std::ofstream(dir / "junk.mdb") << "this is not a database at all, just some text......"; }
    EXPECT_FALSE(db::isDatabaseFile(dir / "junk.mdb"));
    EXPECT_FALSE(db::isDatabaseFile(dir / "missing.mdb"));
    EXPECT_THROW(db::Connection(dir / "junk.mdb"), db::Error);
}

}  // namespace
