// .doc reading and the LibreOffice conversion: the process handling is checked with stand-in
// programs, and the application form's round trips through LibreOffice itself where it is
// installed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <fstream>

#include "core/forms/ApplicationForm.h"
#include "core/forms/FormDocument.h"
#include "core/forms/LibreOffice.h"
#include "forms_fixtures.h"
#include "forms_sample.h"

namespace {

using namespace xinghe::forms;
namespace fs = std::filesystem;

fs::path script(const formtest::TempDir& dir, const std::string& name, const std::string& body) {
    fs::path file = dir.write(name, "#!/bin/sh\n" + body);
    ::chmod(file.c_str(), 0755);
    return file;
}

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A stand-in converter that writes a prepared .docx where LibreOffice would put its result
// and records its arguments.
class FakeConverter : public testing::Test {
protected:
    void SetUp() override {
        tmp_ = std::make_unique<formtest::ScopedEnv>("TMPDIR", (dir_.path() / "tmp").string());
        fs::create_directory(dir_.path() / "tmp");
        result_ = dir_.write(
            "result.docx", formtest::docxWithBody(
                               "<w:p><w:bookmarkStart w:id=\"1\" w:name=\"ffd_applyer\"/><w:r><w:t>"
                               "转换</w:t></w:r><w:bookmarkEnd w:id=\"1\"/></w:p>"));
        fake_ = script(
            dir_, "soffice",
            "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                (dir_.path() / "args").string() +
                "'\nwhile [ $# -gt 1 ]; do [ \"$1\" = --outdir ] && out=\"$2\"; shift; done\n"
                "cp '" +
                result_.string() + "' \"$out/form.docx\"\n");
        env_ = std::make_unique<formtest::ScopedEnv>("XINGHE_SOFFICE", fake_.string());
    }

    formtest::TempDir dir_;
    fs::path result_, fake_;
    std::unique_ptr<formtest::ScopedEnv> tmp_, env_;
};

TEST_F(FakeConverter, DocIsConvertedInAPrivateFolderThatIsRemovedAfterwards) {
    fs::path doc =
        dir_.write("申请书 \"张三\" 's.doc", formtest::compoundFile({"WordDocument", "1Table"}));
    EXPECT_EQ(FormDocument::open(doc).bookmarkText("ffd_applyer"), "转换");

    const std::string args = slurp(dir_.path() / "args");
    EXPECT_NE(args.find("--headless\n"), std::string::npos) << args;
    EXPECT_NE(args.find("--convert-to\ndocx\n"), std::string::npos) << args;
    EXPECT_NE(args.find("-env:UserInstallation=file://" + (dir_.path() / "tmp").string()),
              std::string::npos)
        << args;
    EXPECT_TRUE(fs::is_empty(dir_.path() / "tmp"));
}

TEST_F(FakeConverter, RtfSavedAsDocIsConvertedToo) {
    fs::path doc = dir_.write("form.doc", "{\\rtf1\\ansi hello}");
    EXPECT_EQ(FormDocument::open(doc).bookmarkText("ffd_applyer"), "转换");
}

TEST_F(FakeConverter, ConverterThatWritesNothingFailsWithItsMessage) {
    formtest::ScopedEnv failing(
        "XINGHE_SOFFICE",
        script(dir_, "failing", "echo 'Error: source file could not be loaded'\nexit 0\n")
            .string());
    fs::path doc = dir_.write("form.doc", formtest::compoundFile({"WordDocument"}));
    try {
        FormDocument::open(doc);
        FAIL() << "opened";
    } catch (const FormError& e) {
        EXPECT_NE(std::string(e.what()).find("could not be loaded"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_empty(dir_.path() / "tmp"));
}

TEST_F(FakeConverter, ConverterThatHangsIsKilledAtTheTimeLimit) {
    const fs::path pidFile = dir_.path() / "pid";
    formtest::ScopedEnv hanging(
        "XINGHE_SOFFICE",
        script(dir_, "hanging", "echo $$ > '" + pidFile.string() + "'\nexec sleep 60\n").string());
    fs::path doc = dir_.write("form.doc", formtest::compoundFile({"WordDocument"}));
    const auto start = std::chrono::steady_clock::now();
    try {
        convertWithLibreOffice(doc, "docx", std::chrono::milliseconds(700));
        FAIL() << "converted";
    } catch (const FormError& e) {
        EXPECT_NE(std::string(e.what()).find("已终止"), std::string::npos) << e.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    const pid_t pid = std::stoi(slurp(pidFile));
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_TRUE(fs::is_empty(dir_.path() / "tmp"));
}

TEST(LibreOfficeMissing, DocFailsWithClearReason) {
    formtest::TempDir dir;
    fs::path doc = dir.write("form.doc", formtest::compoundFile({"WordDocument"}));
    for (const char* setting : {"", "/nonexistent/soffice"}) {
        formtest::ScopedEnv env("XINGHE_SOFFICE", std::string(setting));
        EXPECT_FALSE(findLibreOffice().has_value());
        try {
            FormDocument::open(doc);
            ADD_FAILURE() << "opened";
        } catch (const FormError& e) {
            EXPECT_NE(std::string(e.what()).find("未安装 LibreOffice"), std::string::npos)
                << e.what();
        }
    }
}

// The filled application form saved again by LibreOffice, as .docx and as .doc, keeps its
// bookmark values, lock marker and cells. LibreOffice renames one of each form field and
// bookmark pair on the way, differently in each direction.
class LibreOfficeRoundTrip : public testing::Test {
protected:
    void SetUp() override {
        if (!findLibreOffice()) GTEST_SKIP() << "LibreOffice is not installed";
        data_ = formtest::everythingFilled();
        source_ = dir_.path() / "filled.docx";
        writeApplicationForm(data_, source_);
    }
    formtest::TempDir dir_;
    FormData data_;
    fs::path source_;
};

TEST_F(LibreOfficeRoundTrip, SavedAsDocx) {
    FormDocument doc = FormDocument::fromDocxBytes(convertWithLibreOffice(source_, "docx"));
    EXPECT_EQ(doc.tableCount(), 9);
    formtest::expectReadsBack(doc, data_);
}

TEST_F(LibreOfficeRoundTrip, SavedAsDocAndOpenedAsDoc) {
    const std::string docBytes = convertWithLibreOffice(source_, "doc");
    ASSERT_TRUE(docBytes.starts_with("\xD0\xCF\x11\xE0")) << "not a Word 97-2003 file";
    fs::path doc = dir_.write("filled.doc", docBytes);
    FormDocument form = FormDocument::open(doc);
    EXPECT_EQ(form.tableCount(), 9);
    formtest::expectReadsBack(form, data_);
}

}  // namespace
