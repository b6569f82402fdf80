#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/applications/DocumentChoice.h"

using namespace xinghe::applications;
using Action = DocumentChoice::Action;
namespace fs = std::filesystem;

TEST(DocumentChoice, FollowsSelectAllTheListAndTheField) {
    const fs::path folder = "/data/forms";
    const std::vector<std::string> listed = {"b.docx", "a.doc", "张三.doc"};
    struct Case {
        const char* what;
        bool selectAll;
        std::vector<std::string> listed;
        std::string field;
        Action action;
        std::vector<fs::path> documents;
    };
    const std::vector<Case> cases = {
        {"all of the list in list order, field ignored",
         true,
         listed,
         "/x/y.doc",
         Action::Import,
         {folder / "b.docx", folder / "a.doc", folder / "张三.doc"}},
        {"all of an empty list", true, {}, "/x/y.doc", Action::Refuse, {}},
        {"field still the pattern", false, listed, "*.doc", Action::None, {}},
        {"field empty", false, listed, "", Action::None, {}},
        {"a clicked file",
         false,
         listed,
         "/data/forms/a.doc",
         Action::Import,
         {"/data/forms/a.doc"}},
        {"a full path elsewhere",
         false,
         {},
         "/home/u/王五.docx",
         Action::Import,
         {"/home/u/王五.docx"}},
        {"a typed name is looked up in the folder",
         false,
         {},
         "c.doc",
         Action::Import,
         {folder / "c.doc"}},
    };
    for (const auto& c : cases) {
        auto choice = chooseDocuments(c.selectAll, folder, c.listed, c.field);
        EXPECT_EQ(choice.action, c.action) << c.what;
        EXPECT_EQ(choice.documents, c.documents) << c.what;
        EXPECT_EQ(choice.message, c.action == Action::Refuse ? kNoDocumentChosen : "") << c.what;
    }
}

TEST(DocumentChoice, AFolderTypedIntoTheFieldIsOpened) {
    xinghe::test::TempDir dir;
    std::filesystem::create_directories(dir / "forms" / "2026");
    for (const std::string& typed : {(dir / "forms").string(), std::string("forms")}) {
        auto choice = chooseDocuments(false, dir.path(), {}, typed);
        EXPECT_EQ(choice.action, Action::Open) << typed;
        EXPECT_EQ(choice.folder, dir / "forms") << typed;
        EXPECT_TRUE(choice.documents.empty());
    }
    // With 全选 the field does not count.
    EXPECT_EQ(chooseDocuments(true, dir.path(), {"a.doc"}, "forms").action, Action::Import);
}
