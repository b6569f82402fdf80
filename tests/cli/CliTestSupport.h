// Helpers of the command-line tests: a fresh home folder and backup register per test,
// commands run in-process through runCli.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "core/TestSupport.h"

namespace xinghe::test {

using Json = nlohmann::ordered_json;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The unit every import test registers; listed in the seed with code 0001.
inline constexpr const char* kUnitName = "北京大学";
inline constexpr const char* kUnitCode = "0001";

class CliTest : public ::testing::Test {
protected:
    TempDir dir;
    cli::CliEnvironment env;

    CliTest() { env.registerFolder = dir / "register"; }

    std::filesystem::path home() const { return dir / "home"; }

    // Runs a command line without --home.
    CliRun runBare(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        CliRun r;
        r.status = cli::runCli(args, out, err, env);
        r.out = out.str();
        r.err = err.str();
        return r;
    }
    // Runs a command line on a home folder (the test's own unless given).
    CliRun run(std::vector<std::string> args, const std::filesystem::path& homeFolder = {}) {
        args.insert(args.begin(), {"--home", (homeFolder.empty() ? home() : homeFolder).string()});
        return runBare(args);
    }
    // Runs a command that must succeed and parses its output as JSON.
    Json json(const std::vector<std::string>& args, const std::filesystem::path& homeFolder = {}) {
        CliRun r = run(args, homeFolder);
        EXPECT_EQ(r.status, 0) << r.err;
        try {
            return Json::parse(r.out);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "not JSON: " << e.what() << "\n" << r.out;
            return nullptr;
        }
    }

    // Registers kUnitName with every required field and accepts `year`.
    void prepareHome(const std::string& year = "2026",
                     const std::filesystem::path& homeFolder = {}) {
        CliRun unit =
            run({"unit", "set", "--name", kUnitName, "--department", "教育部", "--province",
                 "北京市", "--street", "颐和园路", "--number", "5号", "--bank", "工商银行",
                 "--account", "0200001", "--fund-department", "科学研究部"},
                homeFolder);
        ASSERT_EQ(unit.status, 0) << unit.err;
        CliRun y = run({"year", "set", year}, homeFolder);
        ASSERT_EQ(y.status, 0) << y.err;
    }
};

}  // namespace xinghe::test
