// Writing forms: the application template's layout, filled forms read back by the reader,
// the JSON data format and its errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "core/forms/ApplicationForm.h"
#include "core/forms/FormData.h"
#include "core/forms/FormDocument.h"
#include "core/forms/ZipPackage.h"
#include "forms_fixtures.h"
#include "forms_sample.h"

namespace {

using namespace xinghe::forms;
using formtest::everythingFilled;
using formtest::expectReadsBack;
using formtest::visible;

const std::filesystem::path kTemplate =
    std::filesystem::path(XINGHE_SOURCE_DATA_DIR) / "forms" / "application.docx";

// Every cell the application import reads, by table, row and column.
std::vector<CellKey> importedCells() {
    std::vector<CellKey> cells = {
        {1, 1, 2},  {1, 3, 2},  {2, 2, 3},  {2, 3, 3},  {2, 2, 5},  {2, 3, 5},
        {2, 2, 7},  {2, 5, 2},  {2, 5, 4},  {2, 5, 6},  {2, 5, 8},  {2, 5, 10},
        {2, 6, 5},  {2, 6, 7},  {2, 6, 10}, {2, 8, 2},  {2, 8, 3},  {2, 8, 5},
        {2, 7, 6},  {2, 8, 7},  {2, 9, 3},  {2, 9, 5},  {2, 10, 3}, {2, 10, 6},
        {2, 10, 8}, {2, 11, 6}, {2, 11, 8}, {2, 12, 3}, {2, 14, 1}, {2, 15, 3},
        {2, 16, 3}, {2, 17, 3}, {2, 19, 1}, {2, 20, 1}, {7, 18, 1}, {8, 14, 1},
    };
    for (int c = 1; c <= 7; ++c) {
        cells.emplace_back(7, 16, c);
        cells.emplace_back(8, 3, c);
    }
    for (int r = 3; r <= 14; ++r)
        for (int c = 2; c <= 7; ++c) cells.emplace_back(7, r, c);
    for (int r = 6; r <= 12; ++r)
        for (int c = 1; c <= 3; ++c) cells.emplace_back(8, r, c);
    for (int r = 3; r <= 22; ++r)
        for (int c = 2; c <= 6; ++c) cells.emplace_back(9, r, c);
    return cells;
}

TEST(ApplicationTemplate, EveryImportedCellIsAFillInCell) {
    const std::vector<CellKey> all = applicationFormCells();
    const std::set<CellKey> fillIn(all.begin(), all.end());
    for (const CellKey& key : importedCells()) EXPECT_TRUE(fillIn.count(key)) << cellKeyText(key);
    // Tables 3 to 6 are the free-text sections.
    for (int t = 3; t <= 6; ++t) EXPECT_TRUE(fillIn.count({t, 2, 1})) << t;
}

TEST(ApplicationTemplate, BlankFormReadsAsUnfilled) {
    FormDocument doc = FormDocument::fromDocxBytes(applicationFormBytes({}));
    EXPECT_EQ(doc.lockMarker(), "0");
    EXPECT_EQ(doc.tableCount(), 9);
    for (const char* name : {"ffd_subjectname", "ffd_applyer", "ffd_university", "ffd_department",
                             "ffd_postcode", "ffd_doctorname", "ffd_iptsubjectname", "ffd_labname"})
        EXPECT_EQ(doc.bookmarkText(name), "?????") << name;
    // Fields without a default show Word's five en spaces.
    for (const char* name : {"ffd_appyear", "ffd_appmonth", "ffd_doctor"})
        EXPECT_EQ(doc.bookmarkText(name), "\u2002\u2002\u2002\u2002\u2002") << name;
    for (const CellKey& key : applicationFormCells())
        EXPECT_EQ(doc.cellText(std::get<0>(key), std::get<1>(key), std::get<2>(key)), "\r")
            << cellKeyText(key);
}

// The committed template is what the writer makes. XINGHE_REGENERATE_TEMPLATES=1 rewrites it.
TEST(ApplicationTemplate, CommittedFileMatchesWriter) {
    if (const char* regenerate = std::getenv("XINGHE_REGENERATE_TEMPLATES");
        regenerate && std::string(regenerate) == "1")
        writeBlankApplicationForm(kTemplate);
    ASSERT_TRUE(std::filesystem::exists(kTemplate)) << kTemplate;
    std::ifstream in(kTemplate, std::ios::binary);
    std::stringstream committedBytes;
    committedBytes << in.rdbuf();
    const std::string committedData = committedBytes.str();
    const std::string made = applicationFormBytes({});
    ZipReader committed = ZipReader::openBytes(committedData);
    ZipReader fresh = ZipReader::openBytes(made);
    ASSERT_EQ(committed.names(), fresh.names());
    for (const std::string& name : fresh.names())
        EXPECT_EQ(committed.read(name), fresh.read(name)) << name;
}

// What LibreOffice needs of a form to carry it through .doc and back: no content controls,
// no form field in the first paragraph, a paragraph after every table.
TEST(ApplicationTemplate, LaidOutForLibreOfficeRoundTrips) {
    const std::string bytes = applicationFormBytes({});
    std::string xml = *ZipReader::openBytes(bytes).read("word/document.xml");
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str()));
    pugi::xml_node body = doc.document_element().child("w:body");
    pugi::xml_node first = body.first_child();
    ASSERT_STREQ(first.name(), "w:p");
    EXPECT_FALSE(
        first.find_node([](pugi::xml_node n) { return std::string(n.name()) == "w:fldChar"; }));
    EXPECT_FALSE(doc.find_node([](pugi::xml_node n) { return std::string(n.name()) == "w:sdt"; }));
    int tables = 0;
    for (pugi::xml_node n : body.children("w:tbl")) {
        ++tables;
        EXPECT_STREQ(n.next_sibling().name(), "w:p") << "table " << tables;
    }
    EXPECT_EQ(tables, 9);
}

TEST(ApplicationTemplate, SameDataSameBytes) {
    FormData data;
    data.bookmarks["ffd_applyer"] = "张三";
    EXPECT_EQ(applicationFormBytes(data), applicationFormBytes(data));
}

TEST(ApplicationForm, FilledFormReadsBack) {
    const FormData data = everythingFilled();
    FormDocument doc = FormDocument::fromDocxBytes(applicationFormBytes(data));
    expectReadsBack(doc, data);
    EXPECT_EQ(cellValue(*doc.cellText(2, 14, 1)), "检索；排序");
    EXPECT_EQ(cellValue(*doc.bookmarkText("ffd_postcode")), "100081");
}

TEST(ApplicationForm, WritesFileAndRefusesUnwritablePlace) {
    formtest::TempDir dir;
    const std::filesystem::path file = dir.path() / "申请书 (1).docx";
    FormData data;
    data.bookmarks["ffd_applyer"] = "李四";
    writeApplicationForm(data, file);
    EXPECT_EQ(FormDocument::open(file).bookmarkText("ffd_applyer"), "李四");
    EXPECT_THROW(writeApplicationForm(data, dir.path() / "missing" / "x.docx"), FormError);
}

struct BadData {
    const char* name;
    FormData data;
    std::vector<std::string> named;  // every one must appear in the message
};

void PrintTo(const BadData& c, std::ostream* os) {
    *os << c.name;
}

class ApplicationFormRejects : public testing::TestWithParam<BadData> {};

TEST_P(ApplicationFormRejects, DataTheTemplateCannotTake) {
    try {
        applicationFormBytes(GetParam().data);
        FAIL() << "accepted";
    } catch (const FormError& e) {
        for (const std::string& part : GetParam().named)
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    ApplicationForm, ApplicationFormRejects,
    testing::Values(
        BadData{"UnknownBookmarks",
                {{{"ffd_nosuch", "x"}, {"ffd_other", "y"}}, {}, {}},
                {"ffd_nosuch", "ffd_other"}},
        BadData{"StatusAsBookmark", {{{"status", "1"}}, {}, {}}, {"status"}},
        BadData{"MissingCells",
                {{}, {{{10, 1, 1}, "x"}, {{2, 20, 3}, "y"}, {{7, 99, 1}, "z"}}, {}},
                {"10,1,1", "2,20,3", "7,99,1"}},
        BadData{"LabelCell", {{}, {{{7, 3, 1}, "x"}}, {}}, {"7,3,1", "标签"}},
        BadData{"InvalidUtf8", {{{"ffd_applyer", "\xC3\x28"}}, {}, {}}, {"ffd_applyer", "UTF-8"}},
        BadData{"ControlCharacterInCell",
                {{}, {{{2, 20, 1}, std::string("a\x01")}}, {}},
                {"2,20,1", "U+0001"}},
        BadData{"ControlCharacterInStatus", {{}, {}, std::string("1\x1b")}, {"status", "U+001B"}}),
    [](const testing::TestParamInfo<BadData>& info) { return std::string(info.param.name); });

TEST(FormDataJson, ReadsTheDocumentedFormat) {
    const auto json = nlohmann::json::parse(R"({
        "status": "1",
        "bookmarks": {"ffd_appyear": "2026", "ffd_applyer": "张三"},
        "cells": {"2,20,1": "张三", " 7 , 3 , 2 ": "李四\n王五"}
    })");
    FormData data = formDataFromJson(json);
    EXPECT_EQ(data.status, "1");
    EXPECT_EQ(data.bookmarks.at("ffd_applyer"), "张三");
    EXPECT_EQ(data.cells.at({2, 20, 1}), "张三");
    EXPECT_EQ(data.cells.at({7, 3, 2}), "李四\n王五");
    EXPECT_EQ(formDataFromJson(formDataToJson(data)).cells, data.cells);
    EXPECT_EQ(formDataToJson(data)["cells"]["7,3,2"], "李四\n王五");
}

TEST(FormDataJson, RejectsWhatDoesNotFit) {
    struct {
        const char* json;
        const char* named;
    } cases[] = {
        {R"([1,2])", "对象"},
        {R"({"status": 1})", "status"},
        {R"({"bookmarks": {"ffd_appyear": 2026}})", "ffd_appyear"},
        {R"({"bookmarks": ["ffd_appyear"]})", "bookmarks"},
        {R"({"cells": {"2,20": "x"}})", "2,20"},
        {R"({"cells": {"2,20,1,4": "x"}})", "2,20,1,4"},
        {R"({"cells": {"0,1,1": "x"}})", "0,1,1"},
        {R"({"cells": {"a,b,c": "x"}})", "a,b,c"},
        {R"({"cells": {"2,20,1": null}})", "2,20,1"},
        {R"({"cells": {"2,20,1": "x", "2, 20, 1": "y"}})", "不止一次"},
        {R"({"fields": {}})", "fields"},
    };
    for (const auto& c : cases) {
        try {
            formDataFromJson(nlohmann::json::parse(c.json));
            ADD_FAILURE() << "accepted " << c.json;
        } catch (const FormError& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos)
                << c.json << ": " << e.what();
        }
    }
}

TEST(FormDataJson, FileThatIsNotJsonFailsWithReason) {
    formtest::TempDir dir;
    EXPECT_THROW(loadFormData(dir.write("bad.json", "{\"status\": ")), FormError);
    EXPECT_THROW(loadFormData(dir.path() / "absent.json"), FormError);
    EXPECT_EQ(loadFormData(dir.write("good.json", R"({"status":"0"})")).status, "0");
}

}  // namespace
