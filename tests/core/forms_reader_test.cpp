// Reading Word forms: text conventions, bookmarks and form fields, the lock marker, table
// coordinates, and refusal of input that is not a readable Word document.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <random>
#include <string>

#include "core/forms/FormDocument.h"
#include "forms_fixtures.h"

namespace {

using formtest::visible;
using xinghe::forms::cellValue;
using xinghe::forms::FormDocument;
using xinghe::forms::FormError;

std::string run(std::string_view text) {
    return "<w:r><w:t xml:space=\"preserve\">" + std::string(text) + "</w:t></w:r>";
}
std::string para(std::string_view inner) {
    return "<w:p>" + std::string(inner) + "</w:p>";
}
std::string bookmark(std::string_view name, std::string_view inner, int id = 7) {
    return "<w:bookmarkStart w:id=\"" + std::to_string(id) + "\" w:name=\"" + std::string(name) +
           "\"/>" + std::string(inner) + "<w:bookmarkEnd w:id=\"" + std::to_string(id) + "\"/>";
}
// A legacy text form field as Word writes it; `result` is inner run XML.
std::string formField(std::string_view name, std::string_view result) {
    return "<w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:name w:val=\"" +
           std::string(name) +
           "\"/><w:enabled/><w:textInput><w:default w:val=\"?????\"/></w:textInput></w:ffData>"
           "</w:fldChar></w:r><w:r><w:instrText xml:space=\"preserve\"> FORMTEXT "
           "</w:instrText></w:r>"
           "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
           std::string(result) + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
}
std::string cell(std::string_view paragraphs, std::string_view props = "") {
    return "<w:tc><w:tcPr>" + std::string(props) + "</w:tcPr>" + std::string(paragraphs) +
           "</w:tc>";
}
std::string tableXml(std::string_view rows) {
    return "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol w:w=\"100\"/></w:tblGrid>" + std::string(rows) +
           "</w:tbl>";
}

enum class Query { Bookmark, Lock, Cell };

struct ReaderCase {
    const char* name;
    std::string body;
    Query query;
    std::string bookmarkName;            // Query::Bookmark
    int table = 0, row = 0, column = 0;  // Query::Cell
    std::optional<std::string> expected;
    std::optional<std::string> settings = std::nullopt;
};

ReaderCase bm(const char* name, std::string body, std::string bookmarkName,
              std::optional<std::string> expected) {
    return {name, std::move(body),    Query::Bookmark, std::move(bookmarkName), 0, 0,
            0,    std::move(expected)};
}
ReaderCase lock(const char* name, std::string body, std::optional<std::string> expected,
                std::optional<std::string> settings = std::nullopt) {
    return {name, std::move(body),     Query::Lock,        "", 0, 0,
            0,    std::move(expected), std::move(settings)};
}
ReaderCase cellCase(const char* name, std::string body, int t, int r, int c,
                    std::optional<std::string> expected) {
    return {name, std::move(body), Query::Cell, "", t, r, c, std::move(expected)};
}

std::vector<ReaderCase> readerCases() {
    const std::string fieldInstr =
        "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r>";
    return {
        // Text conventions, read through a bookmark inside one paragraph (no "\r").
        bm("RunsSplit", para(bookmark("v", run("北京") + run("大") + run("学 A") + run("B"))), "v",
           "北京大学 AB"),
        bm("ProofErrAndSmartTag",
           para(bookmark(
               "v",
               "<w:proofErr w:type=\"spellStart\"/>" + run("ab") +
                   "<w:proofErr w:type=\"spellEnd\"/><w:smartTag w:uri=\"u\" w:element=\"e\">" +
                   run("cd") + "</w:smartTag>")),
           "v", "abcd"),
        bm("Hyperlink",
           para(bookmark("v", "<w:hyperlink r:id=\"rId5\">" + run("链接") + "</w:hyperlink>")), "v",
           "链接"),
        bm("InlineContentControl",
           para(bookmark("v",
                         "<w:sdt><w:sdtPr><w:alias w:val=\"x\"/><w:tag "
                         "w:val=\"y\"/></w:sdtPr><w:sdtContent>" +
                             run("内容") + "</w:sdtContent></w:sdt>")),
           "v", "内容"),
        bm("FieldInstructionSkippedResultKept",
           para(bookmark("v", fieldInstr + "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
                                  run("3") + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>")),
           "v", "3"),
        bm("NestedFieldInsideInstructionSkipped",
           para(bookmark("v",
                         "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>IF "
                         "</w:instrText></w:r>" +
                             fieldInstr + "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
                             run("inner") + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>" +
                             "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" + run("outer") +
                             "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>")),
           "v", "outer"),
        bm("SimpleFieldResultKept",
           para(bookmark(
               "v", "<w:fldSimple w:instr=\" DATE \">" + run("2026-03-01") + "</w:fldSimple>")),
           "v", "2026-03-01"),
        bm("InsertionKeptDeletionSkipped",
           para(bookmark(
               "v",
               run("a") + "<w:ins w:id=\"1\" w:author=\"x\">" + run("新") + "</w:ins>" +
                   "<w:del w:id=\"2\" w:author=\"x\"><w:r><w:delText>旧</w:delText></w:r></w:del>" +
                   run("b"))),
           "v", "a新b"),
        bm("TabsAndBreaks",
           para(bookmark(
               "v",
               "<w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:cr/><w:t>d</w:t>"
               "<w:br w:type=\"page\"/><w:t>e</w:t></w:r>")),
           "v", "a\tb\vc\vd\fe"),
        bm("DrawingAndPropertiesIgnored",
           para(bookmark("v",
                         "<w:r><w:rPr><w:b/></w:rPr><w:t>x</w:t></w:r><w:r><w:drawing><w:t>no</"
                         "w:t></w:drawing></w:r>")),
           "v", "x"),
        bm("BookmarkSpanningParagraphs",
           para(run("前") + "<w:bookmarkStart w:id=\"3\" w:name=\"v\"/>" + run("one")) +
               para(run("two") + "<w:bookmarkEnd w:id=\"3\"/>" + run("后")),
           "v", "one\rtwo"),
        bm("BookmarkEndingAtNextParagraph",
           para("<w:bookmarkStart w:id=\"3\" w:name=\"v\"/>" + run("one")) +
               para("<w:bookmarkEnd w:id=\"3\"/>" + run("x")),
           "v", "one\r"),
        bm("OverlappingBookmarksMatchedById",
           para("<w:bookmarkStart w:id=\"1\" w:name=\"a\"/>" + run("x") +
                "<w:bookmarkStart w:id=\"2\" w:name=\"v\"/>" + run("y") +
                "<w:bookmarkEnd w:id=\"1\"/>" + run("z") + "<w:bookmarkEnd w:id=\"2\"/>"),
           "v", "yz"),
        bm("NameWithoutRegardToCase", para(bookmark("FFD_AppYear", run("2026"))), "ffd_appyear",
           "2026"),
        bm("UnclosedBookmarkIsAbsent",
           para("<w:bookmarkStart w:id=\"1\" w:name=\"v\"/>" + run("x")), "v", std::nullopt),
        bm("MissingBookmark", para(bookmark("other", run("x"))), "v", std::nullopt),
        // Form fields: Word wraps the field in a bookmark of its name.
        bm("FormFieldInBookmarkGivesResult",
           para(run("名称：") + bookmark("ffd_x", formField("ffd_x", run("项目") + run("甲")))),
           "ffd_x", "项目甲"),
        bm("FormFieldOnlyName", para(formField("ffd_x", run("结果"))), "ffd_x", "结果"),
        bm("FormFieldEmptyResult", para(formField("ffd_x", "")), "ffd_x", ""),
        bm("FormFieldResultOverParagraphs",
           para(formField("ffd_x", run("100081") + "</w:p><w:p>" + run("海淀"))), "ffd_x",
           "100081\r海淀"),
        bm("BookmarkBeforeFormField",
           para(bookmark("ffd_x", run("书签")) + formField("ffd_x", run("域"))), "ffd_x", "书签"),
        // LibreOffice re-saving a form renames one of the pair: docx to docx renames the
        // bookmark (and starts it after the instruction), the way back from .doc the field.
        bm("CopyRenamedBookmark",
           para("<w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:name "
                "w:val=\"ffd_applyer\"/></w:ffData>"
                "</w:fldChar></w:r><w:r><w:instrText> FORMTEXT </w:instrText></w:r>"
                "<w:bookmarkStart w:id=\"0\" w:name=\"ffd_applyer_Copy_1\"/><w:r></w:r>"
                "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
                run("张三") +
                "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:bookmarkEnd w:id=\"0\"/>"),
           "ffd_applyer", "张三"),
        bm("CopyRenamedFormField",
           para("<w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:name "
                "w:val=\"ffd_applyer_Copy_1\"/></w:ffData>"
                "</w:fldChar></w:r><w:r><w:instrText> FORMTEXT </w:instrText></w:r>"
                "<w:bookmarkStart w:id=\"0\" w:name=\"ffd_applyer\"/><w:r></w:r>"
                "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
                run("张三") +
                "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:bookmarkEnd w:id=\"0\"/>"),
           "ffd_applyer", "张三"),
        // The lock marker.
        lock("LockFromFormField", para(run("确认：") + formField("status", run("1"))), "1"),
        lock("LockFromBookmark", para(bookmark("status", run("1"))), "1"),
        lock("LockFromContentControlTag",
             para("<w:sdt><w:sdtPr><w:tag w:val=\"status\"/></w:sdtPr><w:sdtContent>" + run("1") +
                  "</w:sdtContent></w:sdt>"),
             "1"),
        lock("LockFromContentControlTitle",
             "<w:sdt><w:sdtPr><w:alias w:val=\"status\"/></w:sdtPr><w:sdtContent>" +
                 para(run("1")) + "</w:sdtContent></w:sdt>",
             "1\r"),
        lock("LockFromDocumentVariable", para(run("x")), "1",
             "<w:docVars><w:docVar w:name=\"other\" w:val=\"0\"/><w:docVar w:name=\"status\" "
             "w:val=\"1\"/></w:docVars>"),
        lock("FormFieldBeforeContentControlAndVariable",
             para(formField("status", run("0")) +
                  "<w:sdt><w:sdtPr><w:tag w:val=\"status\"/></w:sdtPr><w:sdtContent>" + run("1") +
                  "</w:sdtContent></w:sdt>"),
             "0", "<w:docVars><w:docVar w:name=\"status\" w:val=\"1\"/></w:docVars>"),
        lock("ContentControlBeforeVariable",
             para("<w:sdt><w:sdtPr><w:tag w:val=\"status\"/></w:sdtPr><w:sdtContent>" + run("0") +
                  "</w:sdtContent></w:sdt>"),
             "0", "<w:docVars><w:docVar w:name=\"status\" w:val=\"1\"/></w:docVars>"),
        lock("NoLockMarker", para(run("status")), std::nullopt),
        // Tables: top-level only, cells counted by w:tc.
        cellCase("OneParagraphCell",
                 tableXml("<w:tr>" + cell(para(run("abc"))) + "</w:tr>") + para(""), 1, 1, 1,
                 "abc\r"),
        cellCase("ParagraphsInCell",
                 tableXml("<w:tr>" + cell(para(run("a")) + para(run("b"))) + "</w:tr>"), 1, 1, 1,
                 "a\rb\r"),
        cellCase("EmptyCell", tableXml("<w:tr>" + cell("<w:p/>") + "</w:tr>"), 1, 1, 1, "\r"),
        cellCase("SpannedCellCountsOnce",
                 tableXml("<w:tr>" + cell(para(run("wide")), "<w:gridSpan w:val=\"3\"/>") +
                          cell(para(run("b"))) + "</w:tr>"),
                 1, 1, 2, "b\r"),
        cellCase("RowsMayDifferInCells",
                 tableXml("<w:tr>" + cell(para(run("a"))) + "</w:tr><w:tr>" + cell(para(run("b"))) +
                          cell(para(run("c"))) + cell(para(run("d"))) + "</w:tr>"),
                 1, 2, 3, "d\r"),
        cellCase(
            "NestedTableNotCounted",
            tableXml("<w:tr>" +
                     cell(para(run("outer")) +
                          tableXml("<w:tr>" + cell(para(run("inner"))) + "</w:tr>") + para("")) +
                     "</w:tr>") +
                para("") + tableXml("<w:tr>" + cell(para(run("second"))) + "</w:tr>"),
            2, 1, 1, "second\r"),
        cellCase(
            "NestedTableTextStaysInItsCell",
            tableXml("<w:tr>" +
                     cell(para(run("outer")) +
                          tableXml("<w:tr>" + cell(para(run("inner"))) + "</w:tr>") + para("")) +
                     cell(para(run("next"))) + "</w:tr>"),
            1, 1, 2, "next\r"),
        cellCase("BlockContentControlAroundTable",
                 "<w:sdt><w:sdtPr/><w:sdtContent>" +
                     tableXml("<w:tr>" + cell(para(run("x"))) + "</w:tr>") +
                     "</w:sdtContent></w:sdt>" +
                     tableXml("<w:tr>" + cell(para(run("y"))) + "</w:tr>"),
                 2, 1, 1, "y\r"),
        cellCase("RowInCustomXml",
                 tableXml("<w:customXml w:element=\"r\"><w:tr>" + cell(para(run("a"))) +
                          "</w:tr></w:customXml><w:tr>" + cell(para(run("b"))) + "</w:tr>"),
                 1, 2, 1, "b\r"),
        cellCase("ColumnPastRowEnd", tableXml("<w:tr>" + cell(para(run("a"))) + "</w:tr>"), 1, 1, 2,
                 std::nullopt),
        cellCase("RowPastTableEnd", tableXml("<w:tr>" + cell(para(run("a"))) + "</w:tr>"), 1, 2, 1,
                 std::nullopt),
        cellCase("NoSuchTable", tableXml("<w:tr>" + cell(para(run("a"))) + "</w:tr>"), 2, 1, 1,
                 std::nullopt),
        cellCase("ZeroIndex", tableXml("<w:tr>" + cell(para(run("a"))) + "</w:tr>"), 1, 0, 1,
                 std::nullopt),
    };
}

void PrintTo(const ReaderCase& c, std::ostream* os) {
    *os << c.name;
}

class ReaderCases : public testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderCases, ReadsAsWordDoes) {
    const ReaderCase& c = GetParam();
    FormDocument doc = FormDocument::fromDocxBytes(formtest::docxWithBody(c.body, c.settings));
    std::optional<std::string> actual;
    switch (c.query) {
        case Query::Bookmark:
            actual = doc.bookmarkText(c.bookmarkName);
            EXPECT_EQ(doc.hasBookmark(c.bookmarkName), c.expected.has_value());
            break;
        case Query::Lock:
            actual = doc.lockMarker();
            break;
        case Query::Cell:
            actual = doc.cellText(c.table, c.row, c.column);
            break;
    }
    ASSERT_EQ(actual.has_value(), c.expected.has_value()) << (actual ? visible(*actual) : "<none>");
    if (actual) {
        EXPECT_EQ(visible(*actual), visible(*c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(FormReader, ReaderCases, testing::ValuesIn(readerCases()),
                         [](const testing::TestParamInfo<ReaderCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(FormReader, CountsTopLevelTablesAndTheirRows) {
    const std::string nested = tableXml("<w:tr>" + cell(para(run("n"))) + "</w:tr><w:tr>" +
                                        cell(para(run("n"))) + "</w:tr>");
    const std::string body =
        tableXml("<w:tr>" + cell(para(run("a")) + nested + para("")) + "</w:tr>") + para("") +
        tableXml("<w:tr>" + cell(para("")) + "</w:tr><w:tr>" + cell(para("")) + cell(para("")) +
                 "</w:tr><w:tr>" + cell(para("")) + "</w:tr>") +
        para("");
    FormDocument doc = FormDocument::fromDocxBytes(formtest::docxWithBody(body));
    EXPECT_EQ(doc.tableCount(), 2);
    EXPECT_EQ(doc.rowCount(1), 1);
    EXPECT_EQ(doc.rowCount(2), 3);
    EXPECT_EQ(doc.rowCount(3), 0);
    EXPECT_EQ(doc.cellCount(2, 2), 2);
    EXPECT_EQ(*doc.cellText(1, 1, 1), "a\rn\rn\r\r");
}

TEST(FormReader, ReadsAnyNamespacePrefixAndStrictNamespace) {
    const std::string xml =
        "<?xml version=\"1.0\"?><x:document "
        "xmlns:x=\"http://purl.oclc.org/ooxml/wordprocessingml/main\">"
        "<x:body><x:p><x:bookmarkStart x:id=\"1\" "
        "x:name=\"v\"/><x:r><x:t>值</x:t></x:r><x:bookmarkEnd x:id=\"1\"/>"
        "</x:p></x:body></x:document>";
    std::string bytes = xinghe::forms::packZip({{"word/document.xml", xml}});
    EXPECT_EQ(FormDocument::fromDocxBytes(bytes).bookmarkText("v"), "值");
}

TEST(FormReader, FindsMainPartThroughRelationships) {
    std::string bytes = xinghe::forms::packZip(
        {{"_rels/.rels",
          "<Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
          "Id=\"r\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
          "officeDocument\" "
          "Target=\"/content/main.xml\"/></Relationships>"},
         {"content/main.xml", formtest::documentXml(para(bookmark("v", run("x"))))}});
    EXPECT_EQ(FormDocument::fromDocxBytes(bytes).bookmarkText("v"), "x");
}

TEST(FormReader, CellValueStopsAtFirstCarriageReturn) {
    struct {
        const char* text;
        const char* value;
    } cases[] = {{"abc\r", "abc"},           {"a\rb\r", "a"},   {"\r", ""}, {"", ""},
                 {"no return", "no return"}, {"a\vb\r", "a\vb"}};
    for (const auto& c : cases) EXPECT_EQ(cellValue(c.text), c.value) << visible(c.text);
}

// Input that is not a readable Word document fails with a reason, never a crash.
struct BadBytes {
    const char* name;
    std::function<std::string()> bytes;  // made when the case runs: some are large
    const char* reason;                  // a part of the message
};

void PrintTo(const BadBytes& c, std::ostream* os) {
    *os << c.name;
}

std::vector<BadBytes> badBytes() {
    auto good = [] { return formtest::docxWithBody(para(run("x"))); };
    return {
        {"Empty", [] { return std::string(); }, "空"},
        {"NotAZip", [] { return std::string("this is plain text, not a zip archive at all"); },
         "zip"},
        {"TruncatedZip", [good] { return good().substr(0, good().size() / 2); }, "zip"},
        {"ZipWithoutDocument",
         [] {
             return xinghe::forms::packZip({{"word/other.xml", "<a/>"}});
         },
         "document.xml"},
        {"DocumentNotXml",
         [] {
             return xinghe::forms::packZip({{"word/document.xml", "<w:document><w:body>"}});
         },
         "XML"},
        {"NotAWordDocument",
         [] {
             return xinghe::forms::packZip(
                 {{"word/document.xml", "<worksheet><sheetData/></worksheet>"}});
         },
         "w:body"},
        {"EntityBomb",
         [] {
             return xinghe::forms::packZip(
                 {{"word/document.xml",
                   "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
                   "\"&a;&a;&a;&a;&a;&a;&a;&a;\">"
                   "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><w:document " +
                       std::string(formtest::kNamespaces) +
                       "><w:body><w:p><w:r><w:t>&c;</w:t></w:r></w:p></w:body></w:document>"}});
         },
         "DOCTYPE"},
        {"HugePart",
         [] {
             return xinghe::forms::packZip(
                 {{"word/document.xml", std::string(65 * 1024 * 1024, ' ')}});
         },
         "超过"},
    };
}

class BadDocxBytes : public testing::TestWithParam<BadBytes> {};

TEST_P(BadDocxBytes, FailsWithReason) {
    try {
        FormDocument::fromDocxBytes(GetParam().bytes());
        FAIL() << "read without error";
    } catch (const FormError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().reason), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(FormReader, BadDocxBytes, testing::ValuesIn(badBytes()),
                         [](const testing::TestParamInfo<BadBytes>& info) {
                             return std::string(info.param.name);
                         });

TEST(FormReader, DeeplyNestedDocumentDoesNotExhaustTheStack) {
    std::string body;
    for (int i = 0; i < 200000; ++i) body += "<w:customXml>";
    body += para(bookmark("v", run("deep")));
    for (int i = 0; i < 200000; ++i) body += "</w:customXml>";
    EXPECT_EQ(FormDocument::fromDocxBytes(formtest::docxWithBody(body)).bookmarkText("v"), "deep");
}

// Damaged packages and damaged XML either read or fail with FormError; nothing else escapes.
TEST(FormReader, DamagedInputOnlyEverFailsWithFormError) {
    const std::string body =
        para(bookmark("v", formField("status", run("1")))) +
        tableXml("<w:tr>" + cell(para(run("甲")) + para(run("乙"))) + "</w:tr>") + para("");
    const std::string good = formtest::docxWithBody(body);
    const std::string xml = formtest::documentXml(body);
    std::mt19937 random(20260301);
    auto attempt = [](const std::string& bytes, const std::string& what) {
        try {
            FormDocument doc = FormDocument::fromDocxBytes(bytes);
            (void)doc.lockMarker();
            (void)doc.cellText(1, 1, 1);
        } catch (const FormError&) {
        } catch (const std::exception& e) {
            ADD_FAILURE() << what << ": " << e.what();
        }
    };
    for (int i = 0; i < 300; ++i) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        attempt(bytes, "package " + std::to_string(i));
        attempt(good.substr(0, random() % good.size()), "truncated package " + std::to_string(i));
        std::string text = xml;
        text[random() % text.size()] = "<>&\"/=:x\0"[random() % 10];
        attempt(xinghe::forms::packZip({{"word/document.xml", text}}), "xml " + std::to_string(i));
    }
}

struct BadFile {
    const char* name;
    std::string fileName;
    std::optional<std::string> bytes;  // nullopt: the file is not created
    const char* reason;
};

void PrintTo(const BadFile& c, std::ostream* os) {
    *os << c.name;
}

class BadFiles : public testing::TestWithParam<BadFile> {};

TEST_P(BadFiles, FailWithReason) {
    formtest::TempDir dir;
    // .doc conversion must not be what decides these cases.
    formtest::ScopedEnv noOffice("XINGHE_SOFFICE", "/nonexistent/soffice");
    std::filesystem::path file = dir.path() / GetParam().fileName;
    if (GetParam().bytes) dir.write(GetParam().fileName, *GetParam().bytes);
    try {
        FormDocument::open(file);
        FAIL() << "opened without error";
    } catch (const FormError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().reason), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    FormReader, BadFiles,
    testing::Values(BadFile{"Missing", "absent.docx", std::nullopt, "不存在"},
                    BadFile{"EmptyFile", "empty.docx", "", "空文件"},
                    BadFile{"EncryptedDocx", "locked.docx",
                            formtest::compoundFile({"EncryptionInfo", "EncryptedPackage"}), "加密"},
                    BadFile{"EncryptedDocxNamedDoc", "locked.doc",
                            formtest::compoundFile({"EncryptedPackage"}), "加密"},
                    BadFile{"EncryptedDoc", "locked.doc",
                            formtest::compoundFile({"WordDocument", "1Table"}, true), "加密"},
                    BadFile{"SpreadsheetCompound", "book.doc", formtest::compoundFile({"Workbook"}),
                            "不是 Word 文档"},
                    BadFile{"PlainText", "notes.doc", "just some text\n", "不是 Word 文档"},
                    BadFile{"DocWithoutLibreOffice", "form.doc",
                            formtest::compoundFile({"WordDocument", "1Table"}), "LibreOffice"},
                    BadFile{"TruncatedDocx", "cut.docx",
                            std::string("PK\x03\x04", 4) + std::string(100, 'x'), "zip"}),
    [](const testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST(FormReader, OpenReadsDocxByContentWhateverItsName) {
    formtest::TempDir dir;
    std::filesystem::path file = dir.write("form named 'x' \"y\".doc",
                                           formtest::docxWithBody(para(bookmark("v", run("ok")))));
    EXPECT_EQ(FormDocument::open(file).bookmarkText("v"), "ok");
}

}  // namespace
