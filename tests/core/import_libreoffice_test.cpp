// Forms re-saved by LibreOffice (.docx and .doc) import to the same rows as the
// form the project's writer made.
#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "core/admin/UnitInfo.h"
#include "core/applications/Applications.h"
#include "core/applications/YearSetting.h"
#include "core/forms/ApplicationForm.h"
#include "core/forms/LibreOffice.h"
#include "core/forms/SampleApplications.h"
#include "core/imports/ApplicationImport.h"
#include "core/store/Startup.h"
#include "fixtures/SampleOffice.h"

using namespace xinghe;
using xinghe::test::TempDir;
namespace fs = std::filesystem;

namespace {

struct Imported {
    imports::ImportResult result;
    std::optional<applications::ApplicationDetail> detail;
};

Imported importInFreshHome(const fs::path& root, const fs::path& document) {
    store::DataStore store(store::HomeFolder(root / "home"), root / "register");
    store::runStartup(store);
    auto& conn = store.system();
    test::prepareOffice(conn);
    Imported out;
    out.result = imports::importApplication(conn, store.home(), document);
    if (out.result.succeeded())
        out.detail = applications::loadApplication(conn, out.result.projectId);
    return out;
}

TEST(ImportLibreOffice, ResavedFormsImportToTheSameRows) {
    if (!forms::findLibreOffice()) GTEST_SKIP() << "LibreOffice is not installed";
    TempDir dir;
    auto data = forms::sampleApplication(3, "2026", test::kSampleUniversity);
    data.bookmarks["ffd_subjectname"] = "“引号”与'单引号'的研究";
    data.cells[{7, 3, 6}] = "";  // an empty cell stays empty through the round trip
    const fs::path original = dir / "original.docx";
    forms::writeApplicationForm(data, original);

    const std::pair<const char*, const char*> resaved[] = {{"docx", "resaved.docx"},
                                                           {"doc", "resaved.doc"}};
    auto reference = importInFreshHome(dir / "a", original);
    ASSERT_TRUE(reference.result.succeeded()) << reference.result.reason;

    int n = 0;
    for (const auto& [format, name] : resaved) {
        std::ofstream(dir / name, std::ios::binary)
            << forms::convertWithLibreOffice(original, format);
        auto other = importInFreshHome(dir / ("b" + std::to_string(n++)), dir / name);
        ASSERT_TRUE(other.result.succeeded()) << format << ": " << other.result.reason;
        EXPECT_EQ(other.result.projectId, reference.result.projectId);
        EXPECT_EQ(other.detail->apply, reference.detail->apply) << format;
        EXPECT_EQ(other.detail->members, reference.detail->members) << format;
        EXPECT_EQ(other.detail->equipment, reference.detail->equipment) << format;
        EXPECT_EQ(other.detail->publications, reference.detail->publications) << format;
        EXPECT_TRUE(fs::path(other.result.filedAs).extension() ==
                    (std::string(format) == "doc" ? ".Doc" : ".docx"));
    }
}

}  // namespace
