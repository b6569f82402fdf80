// template application and form fill application.
#include <fstream>
#include <sstream>

#include "CliTestSupport.h"
#include "core/forms/FormDocument.h"

namespace xinghe::test {
namespace {

namespace fs = std::filesystem;

using FormCommandsTest = CliTest;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST_F(FormCommandsTest, TemplateWritesTheBlankForm) {
    const fs::path out = dir / "blank.docx";
    CliRun r = runBare({"template", "application", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "wrote " + out.string() + "\n");
    auto doc = forms::FormDocument::open(out);
    EXPECT_EQ(doc.lockMarker(), "0");
    EXPECT_TRUE(doc.hasBookmark("ffd_appyear"));
    EXPECT_TRUE(doc.hasBookmark("ffd_university"));
    EXPECT_EQ(doc.cellText(2, 20, 1), "\r");
    EXPECT_FALSE(fs::exists(home()));  // no home folder is needed
}

TEST_F(FormCommandsTest, FillWritesTheDataIntoTheForm) {
    const fs::path data = dir / "data.json";
    std::ofstream(data) << R"({"status": "1",
        "bookmarks": {"ffd_appyear": "2026", "ffd_applyer": "张\"三\""},
        "cells": {"2,20,1": "张三", "7,3,2": "李四\n第二段"}})";
    const fs::path out = dir / "filled.docx";
    CliRun r = runBare({"form", "fill", "application", data.string(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    auto doc = forms::FormDocument::open(out);
    EXPECT_EQ(doc.lockMarker(), "1");
    EXPECT_EQ(doc.bookmarkText("ffd_appyear"), "2026");
    EXPECT_EQ(doc.bookmarkText("ffd_applyer"), "张\"三\"");
    EXPECT_EQ(doc.cellText(2, 20, 1), "张三\r");
    EXPECT_EQ(doc.cellText(7, 3, 2), "李四\r第二段\r");
}

TEST_F(FormCommandsTest, BadDataLeavesNoFileBehind) {
    struct Case {
        const char* name;
        const char* json;  // nullptr: the data file does not exist
        const char* message;
    };
    const std::vector<Case> cases = {
        {"not JSON", R"({"status": "1", )", "JSON"},
        {"unknown bookmark", R"({"bookmarks": {"ffd_nosuch": "x"}})", "ffd_nosuch"},
        {"unknown cell", R"({"cells": {"2,40,1": "x"}})", "2,40,1"},
        {"label cell", R"({"cells": {"2,2,1": "x"}})", "2,2,1"},
        {"badly written cell key", R"({"cells": {"2-20-1": "x"}})", "2-20-1"},
        {"value not a string", R"({"bookmarks": {"ffd_appyear": 2026}})", "ffd_appyear"},
        {"unknown key", R"({"fields": {}})", "fields"},
        {"missing data file", nullptr, "missing.json"},
    };
    const fs::path kept = dir / "kept.docx";
    std::ofstream(kept) << "an earlier file";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path data = dir / "missing.json";
        if (c.json) {
            data = dir / "data.json";
            std::ofstream(data) << c.json;
        }
        for (const fs::path& out : {dir / "new.docx", kept}) {
            CliRun r = runBare({"form", "fill", "application", data.string(), out.string()});
            EXPECT_EQ(r.status, cli::kExitFailed);
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
            EXPECT_EQ(r.out, "");
        }
        EXPECT_FALSE(fs::exists(dir / "new.docx"));
        EXPECT_EQ(readAll(kept), "an earlier file");
    }
    // Nothing half written lies about either.
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
    }
}

TEST_F(FormCommandsTest, AnOutputFolderThatDoesNotExistIsAnError) {
    const fs::path out = dir / "no" / "such" / "folder" / "blank.docx";
    CliRun r = runBare({"template", "application", out.string()});
    EXPECT_EQ(r.status, cli::kExitFailed);
    EXPECT_NE(r.err.find(out.string()), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out.parent_path()));
}

}  // namespace
}  // namespace xinghe::test

namespace xinghe::test {
namespace {

TEST_F(CliTest, SampleFormsImportCleanlyAndRefuseABadYear) {
    prepareHome();
    const fs::path folder = dir / "samples";
    CliRun w =
        runBare({"form", "samples", folder.string(), "--count", "3", "--university", kUnitName});
    ASSERT_EQ(w.status, 0) << w.err;
    auto results = json({"import", "applications", folder.string(), "--json"});
    ASSERT_EQ(results.size(), 3u);
    for (const auto& r : results) EXPECT_EQ(r["status"], "处理成功") << r.dump();

    CliRun bad = runBare(
        {"form", "samples", (dir / "bad").string(), "--year", "今年", "--university", kUnitName});
    EXPECT_EQ(bad.status, cli::kExitFailed);
    EXPECT_NE(bad.err.find("今年"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace xinghe::test
