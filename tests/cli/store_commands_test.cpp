// init, unit and year commands; the command line's usage handling.
#include <fstream>

#include "CliTestSupport.h"

namespace xinghe::test {
namespace {

namespace fs = std::filesystem;

using StoreCommandsTest = CliTest;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(StoreCommandsTest, InitMakesTheHomeFolderOnceAndSaysSo) {
    CliRun first = run({"init"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(contains(first.out, "home folder: " + home().string())) << first.out;
    EXPECT_TRUE(contains(first.out, "first start")) << first.out;
    EXPECT_TRUE(fs::exists(home() / "DataBase" / "apply.mdb"));
    EXPECT_TRUE(fs::exists(dir / "register" / "BackupInformation.mdb"));

    CliRun second = run({"init"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(contains(second.out, "home folder: " + home().string()));
    EXPECT_FALSE(contains(second.out, "first start")) << second.out;
}

TEST_F(StoreCommandsTest, StartUpProblemsAreReportedWithTheirReason) {
    // A plain file where the backup register's folder should be.
    std::ofstream(dir / "register-file") << "in the way";
    env.registerFolder = dir / "register-file";

    CliRun init = run({"init"});
    EXPECT_EQ(init.status, cli::kExitFailed);
    EXPECT_TRUE(contains(init.out, "home folder: " + home().string()));
    const std::string problem = "This have some problem!!! (cannot create the backup register";
    EXPECT_TRUE(contains(init.err, problem)) << init.err;
    EXPECT_EQ(init.err.find(problem), init.err.rfind(problem)) << "reported twice: " << init.err;

    // Other commands go on after the start-up, as the program does, and warn.
    CliRun year = run({"year", "show"});
    EXPECT_EQ(year.status, 0);
    EXPECT_EQ(year.out, "no year is set\n");
    EXPECT_TRUE(contains(year.err, "warning: " + problem)) << year.err;
}

TEST_F(StoreCommandsTest, EveryCommandStartsUpAFreshHomeFolderQuietly) {
    CliRun r = run({"year", "show"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "no year is set\n");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fs::exists(home() / "DataBase" / "apply.mdb"));
}

TEST_F(StoreCommandsTest, AnUnusableHomeFolderIsAClearError) {
    std::ofstream(dir / "plain-file") << "not a folder";
    CliRun r = run({"year", "show"}, dir / "plain-file");
    EXPECT_EQ(r.status, cli::kExitFailed);
    EXPECT_TRUE(contains(r.err, "home folder")) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(StoreCommandsTest, HomeMayFollowTheCommandName) {
    ASSERT_EQ(run({"year", "set", "2031"}).status, 0);
    CliRun r = runBare({"year", "show", "--home", home().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2031\n");
}

TEST_F(StoreCommandsTest, YearSetAndShow) {
    EXPECT_EQ(json({"year", "show", "--json"}), Json::parse(R"({"year": null})"));
    CliRun set = run({"year", "set", "2026"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.out, "你已经将本系统年份设置为2026\n");
    EXPECT_EQ(json({"year", "show", "--json"}), Json::parse(R"({"year": 2026})"));
    ASSERT_EQ(run({"year", "set", "2012"}).status, 0);
    EXPECT_EQ(run({"year", "show"}).out, "2012\n");
}

TEST_F(StoreCommandsTest, ABadYearIsRefusedAndTheOldYearKept) {
    ASSERT_EQ(run({"year", "set", "2025"}).status, 0);
    for (const char* bad : {"20x6", "abc", "", "2026.5", "２０２６", "-2026", "12345"}) {
        SCOPED_TRACE(bad);
        CliRun r = run({"year", "set", bad});
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err, "");
        EXPECT_EQ(json({"year", "show", "--json"}), Json::parse(R"({"year": 2025})"));
    }
}

// A complete registration of kUnitName.
std::vector<std::string> fullUnit() {
    return {"unit",
            "set",
            "--name",
            kUnitName,
            "--department",
            "教育部",
            "--post",
            "100871",
            "--province",
            "北京市",
            "--city",
            "海淀区",
            "--street",
            "颐和园路",
            "--number",
            "5号",
            "--contact",
            "王老师",
            "--phone",
            "010-62751234",
            "--email",
            "kyb@pku.edu.cn",
            "--account-holder",
            "北京大学",
            "--bank",
            "工商银行",
            "--account",
            "0200001",
            "--fund-department",
            "科学研究部"};
}

TEST_F(StoreCommandsTest, UnitSetTakesTheListedCodeAndJoinsTheAddress) {
    EXPECT_EQ(json({"unit", "show", "--json"}), Json(nullptr));
    CliRun r = run(fullUnit());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "保存成功！\n");

    Json expected = Json::parse(R"({
        "collegenum": "0001", "Name": "北京大学", "Department": "教育部", "post": "100871",
        "sheng": "北京市", "shi": "海淀区", "qu": "", "jie": "颐和园路", "hao": "5号",
        "address": "北京市海淀区颐和园路5号", "man": "王老师", "phone": "010-62751234",
        "email": "kyb@pku.edu.cn", "countname": "北京大学", "bank": "工商银行",
        "count": "0200001", "managedepart": "科学研究部", "code": "001"})");
    EXPECT_EQ(json({"unit", "show", "--json"}), expected);

    CliRun text = run({"unit", "show"});
    ASSERT_EQ(text.status, 0);
    EXPECT_TRUE(contains(text.out, "单位全称：北京大学\n单位代码：0001\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "联系地址：北京市海淀区颐和园路5号\n"));
    EXPECT_TRUE(contains(text.out, "申请书起始编号：001\n"));
}

TEST_F(StoreCommandsTest, UnitSetKeepsWhatItIsNotGiven) {
    ASSERT_EQ(run(fullUnit()).status, 0);
    Json before = json({"unit", "show", "--json"});

    ASSERT_EQ(
        run({"unit", "set", "--name", kUnitName, "--phone", "010-1", "--start", "101"}).status, 0);
    Json after = before;
    after["phone"] = "010-1";
    after["code"] = "101";
    EXPECT_EQ(json({"unit", "show", "--json"}), after);

    // Changing one address part rewrites the full address from the five parts ...
    ASSERT_EQ(run({"unit", "set", "--name", kUnitName, "--county", "燕园"}).status, 0);
    EXPECT_EQ(json({"unit", "show", "--json"})["address"], "北京市海淀区燕园颐和园路5号");
    // ... unless the full address is given as well.
    ASSERT_EQ(run({"unit", "set", "--name", kUnitName, "--number", "9号", "--address", "北京大学"})
                  .status,
              0);
    Json now = json({"unit", "show", "--json"});
    EXPECT_EQ(now["hao"], "9号");
    EXPECT_EQ(now["address"], "北京大学");
}

TEST_F(StoreCommandsTest, AnUnlistedUnitNeedsItsCode) {
    std::vector<std::string> args = fullUnit();
    args[3] = "星河理工大学";
    args.insert(args.end(), {"--code", "0999"});
    CliRun r = run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    Json unit = json({"unit", "show", "--json"});
    EXPECT_EQ(unit["Name"], "星河理工大学");
    EXPECT_EQ(unit["collegenum"], "0999");
    // Saved again under the same name, the stored code stays.
    ASSERT_EQ(run({"unit", "set", "--name", "星河理工大学", "--phone", "1"}).status, 0);
    EXPECT_EQ(json({"unit", "show", "--json"})["collegenum"], "0999");
}

TEST_F(StoreCommandsTest, RefusedUnitSettingsChangeNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* message;
        bool onlyFresh = false;  // a stored record would supply what is missing
    };
    const std::vector<Case> cases = {
        {"required bank missing on a new record",
         {"unit", "set", "--name", kUnitName, "--department", "教育部", "--province", "北京市",
          "--street", "颐和园路", "--account", "1", "--fund-department", "科研部"},
         "请认真填写所有信息！",
         true},
        {"required field emptied",
         {"unit", "set", "--name", kUnitName, "--department", ""},
         "请认真填写所有信息！"},
        {"address parts emptied",
         {"unit", "set", "--name", kUnitName, "--province", "", "--city", ""},
         "请认真填写所有信息！"},
        {"code differs from the list",
         {"unit", "set", "--name", kUnitName, "--code", "9999"},
         "0001"},
        {"unlisted name without a code", {"unit", "set", "--name", "无名大学"}, "--code"},
        {"no name", {"unit", "set", "--bank", "x"}, "--name"},
    };
    for (bool registered : {false, true}) {
        TempDir other;
        const fs::path folder = other / "home";
        if (registered) {
            CliRun r = run(fullUnit(), folder);
            ASSERT_EQ(r.status, 0) << r.err;
        }
        const Json before = json({"unit", "show", "--json"}, folder);
        for (const Case& c : cases) {
            if (registered && c.onlyFresh) continue;
            SCOPED_TRACE(std::string(c.name) + (registered ? " (registered)" : " (fresh)"));
            CliRun r = run(c.args, folder);
            EXPECT_NE(r.status, 0);
            EXPECT_TRUE(contains(r.err, c.message)) << r.err;
            EXPECT_EQ(json({"unit", "show", "--json"}, folder), before);
        }
    }
}

TEST_F(StoreCommandsTest, EveryCommandHasHelp) {
    const std::vector<std::vector<std::string>> commands = {
        {},
        {"init"},
        {"unit"},
        {"unit", "show"},
        {"unit", "set"},
        {"year"},
        {"year", "show"},
        {"year", "set"},
        {"import"},
        {"import", "applications"},
        {"applications"},
        {"applications", "list"},
        {"applications", "show"},
        {"template"},
        {"template", "application"},
        {"form"},
        {"form", "fill"},
        {"form", "fill", "application"},
    };
    for (const auto& command : commands) {
        std::string path = "xinghe-cli";
        for (const auto& word : command) path += " " + word;
        SCOPED_TRACE(path);
        auto args = command;
        args.push_back("--help");
        CliRun r = runBare(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(contains(r.out, "Usage: " + path)) << r.out;
        EXPECT_EQ(r.err, "");
    }
    // Help never touches a home folder.
    EXPECT_FALSE(fs::exists(home()));
}

TEST_F(StoreCommandsTest, UsageErrorsAreReportedWithTheUsageStatus) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"unit"},
        {"unit", "show", "--colour"},
        {"year", "set"},
        {"year", "set", "2026", "2027"},
        {"import", "applications"},
        {"applications", "list", "--year", "abc"},
        {"applications", "show"},
        {"template", "application"},
        {"form", "fill", "application", "data.json"},
    };
    for (const auto& args : bad) {
        std::string line;
        for (const auto& a : args) line += a + " ";
        SCOPED_TRACE(line);
        CliRun r = run(args);
        EXPECT_EQ(r.status, cli::kExitUsage);
        EXPECT_NE(r.err, "");
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
}  // namespace xinghe::test
