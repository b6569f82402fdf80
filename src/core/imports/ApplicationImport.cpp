#include "core/imports/ApplicationImport.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>
#include <variant>

#include "core/forms/FormDocument.h"
#include "core/imports/ImportLog.h"
#include "core/text/Ascii.h"

namespace xinghe::imports {

namespace fs = std::filesystem;

namespace {

// A failure on the way: its code and the text that goes to the log.
struct ImportFailure {
    std::int64_t code;
    std::string kind;
    std::string message;
};

[[noreturn]] void fail(std::int64_t code, std::string kind, std::string message) {
    throw ImportFailure{code, std::move(kind), std::move(message)};
}

std::string trimmed(std::string_view s) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    std::string t = trimmed(text);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    std::int64_t v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return v;
}

std::optional<double> parseReal(std::string_view text) {
    std::string t = trimmed(text);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

// A number as the form spells it: whole numbers stay integers.
db::Value numberValue(const std::string& column, const std::string& text) {
    if (auto i = parseInteger(text)) return *i;
    if (auto d = parseReal(text)) return *d;
    fail(kFailed, "EConvertError", "'" + text + "' is not a valid number (" + column + ")");
}

std::int64_t integerValue(const std::string& column, const std::string& text) {
    if (auto i = parseInteger(text)) return *i;
    fail(kFailed, "EConvertError", "'" + text + "' is not a valid integer value (" + column + ")");
}

double realValue(const std::string& column, const std::string& text) {
    if (auto d = parseReal(text)) return *d;
    fail(kFailed, "EConvertError",
         "'" + text + "' is not a valid floating point value (" + column + ")");
}

// Reads the values of one open form; a missing bookmark, table or cell is a failure.
class FormValues {
public:
    explicit FormValues(const forms::FormDocument& doc) : doc_(doc) {}

    std::string bookmark(const std::string& name) const {
        auto text = doc_.bookmarkText(name);
        if (!text) fail(kFailed, "EOleException", "书签不存在：" + name);
        return *text;
    }
    std::string cell(int t, int r, int c) const {
        auto text = doc_.cellText(t, r, c);
        if (!text) {
            fail(kFailed, "EOleException",
                 "表格单元不存在：表" + std::to_string(t) + " 行" + std::to_string(r) + " 列" +
                     std::to_string(c));
        }
        return forms::cellValue(*text);
    }

private:
    const forms::FormDocument& doc_;
};

enum class Kind { Text, Number, Truth, Fixed };

// One column of the ApplyInfo row: where its value comes from and how it is written.
struct ColumnSource {
    const char* column;
    Kind kind;
    const char* bookmark = nullptr;  // a bookmark, or
    int t = 0, r = 0, c = 0;         // a table cell
    bool questionMarks = false;      // "?????" counts as absent
    const char* after = nullptr;     // log line written after the column ("" = a tick)
};

ColumnSource cell(const char* col, Kind k, int t, int r, int c, const char* after = nullptr) {
    return {col, k, nullptr, t, r, c, false, after};
}
ColumnSource mark(const char* col, Kind k, const char* bm, bool q, const char* after = nullptr) {
    return {col, k, bm, 0, 0, 0, q, after};
}

constexpr const char* kTick = "";

// The form's columns in statement order after Project_ID. University_Name, Apply_Year
// and ApplyerName come from values read during the checks (marked by no source).
const std::vector<ColumnSource>& columnTable() {
    static const std::vector<ColumnSource> table = {
        cell("Apply_Kind", Kind::Text, 1, 1, 2),
        cell("Subject_Code", Kind::Text, 1, 3, 2),
        mark("Project_Name", Kind::Text, "ffd_subjectname", true, "line : 310"),
        mark("Applyer_Name", Kind::Text, "ffd_applyer", true, kTick),
        mark("University_Name", Kind::Text, nullptr, true),
        mark("College_Name", Kind::Text, "ffd_department", true),
        mark("Department_Name", Kind::Fixed, nullptr, false),
        mark("Postalcode", Kind::Number, "ffd_postcode", true),
        mark("DoctorPoint_Name", Kind::Text, "ffd_doctorname", true),
        mark("ImportantSubject", Kind::Text, "ffd_iptsubjectname", true, "line : 339"),
        mark("DoctorTutor", Kind::Truth, "ffd_doctor", false, "line : 347"),
        mark("ImportantLab_Name", Kind::Text, "ffd_labname", true, "line : 353"),
        mark("Apply_Year", Kind::Number, nullptr, false),
        mark("Apply_Monnth", Kind::Number, "ffd_appmonth", false),
        cell("SubjectName", Kind::Text, 2, 2, 3),
        cell("Subjectcode", Kind::Text, 2, 3, 3),
        cell("CorrelativeSub_Name", Kind::Text, 2, 2, 5),
        cell("CorrelativeSub_Code", Kind::Text, 2, 3, 5),
        cell("SearchKind", Kind::Text, 2, 2, 7),
        cell("BeginYear", Kind::Number, 2, 5, 2),
        cell("BeginMonth", Kind::Number, 2, 5, 4),
        cell("EndYear", Kind::Number, 2, 5, 6),
        cell("EndMonth", Kind::Number, 2, 5, 8),
        cell("ApplyMoney", Kind::Number, 2, 5, 10),
        mark("ApplyerName", Kind::Text, nullptr, false, "line : 392"),
        cell("Applyer_BirthYear", Kind::Number, 2, 6, 5, kTick),
        cell("Applyer_BirthMonth", Kind::Number, 2, 6, 7),
        cell("Applyer_Sex", Kind::Text, 2, 6, 10),
        cell("Applyer_TechPosition", Kind::Text, 2, 8, 2),
        cell("Applyer_PositionYear", Kind::Text, 2, 8, 3),
        cell("Applyer_AdminPosition", Kind::Text, 2, 8, 5),
        cell("Applyer_Telephone", Kind::Text, 2, 7, 6),
        cell("Applyer_Email", Kind::Text, 2, 8, 7),
        cell("Applyer_GraduateSchool", Kind::Text, 2, 9, 3),
        cell("Applyer_GraduateDate", Kind::Text, 2, 9, 5),
        cell("Applyer_FinalDegree", Kind::Text, 2, 10, 3),
        cell("Language1_name", Kind::Text, 2, 10, 6),
        cell("Language1_grade", Kind::Text, 2, 10, 8),
        cell("Language2_name", Kind::Text, 2, 11, 6),
        cell("Language2_grade", Kind::Text, 2, 11, 8),
        cell("Applyer_AddedJob", Kind::Text, 2, 12, 3),
        cell("ProjectKeyword", Kind::Text, 2, 14, 1),
        cell("PrimaryProj_BeginYear", Kind::Text, 2, 5, 10),
        cell("PrimaryPro_EndYear", Kind::Text, 2, 15, 3),
        cell("PrimaryPro_AidMoney", Kind::Text, 2, 16, 3),
        cell("PrimaryPro_FinDate", Kind::Text, 2, 17, 3),
        cell("OtherMoneySource", Kind::Text, 2, 19, 1),
        cell("AttendedSumPeople", Kind::Text, 7, 16, 1),
        cell("Professor_Num", Kind::Number, 7, 16, 2),
        cell("AdjunctProfessor_Num", Kind::Number, 7, 16, 3),
        cell("Lector_Num", Kind::Number, 7, 16, 4),
        cell("Doctor_Num", Kind::Number, 7, 16, 5, kTick),
        cell("Master_Num", Kind::Number, 7, 16, 6, "line : 484"),
        cell("OtherPeople_Num", Kind::Number, 7, 16, 7, "line : 488"),
        cell("Cooperator_Info", Kind::Text, 7, 18, 1, "line : 492"),
        cell("Machine_Fee", Kind::Number, 8, 3, 2, "line : 495"),
        cell("Stuff_Fee", Kind::Number, 8, 3, 3, "line : 498"),
        cell("Count_Fee", Kind::Number, 8, 3, 4, "line : 504"),
        cell("Information_Fee", Kind::Number, 8, 3, 5, "line : 507"),
        cell("Travel_Fee", Kind::Number, 8, 3, 6, "line : 510"),
        cell("Other_fee", Kind::Number, 8, 3, 7),
        cell("TotalMoney", Kind::Number, 8, 3, 1, "line : 513"),
        cell("Applyer_Introduction", Kind::Text, 8, 14, 1),
    };
    return table;
}

std::string sqlLiteral(const db::Value& v) {
    if (std::holds_alternative<std::string>(v)) {
        std::string out = "'";
        for (char ch : std::get<std::string>(v)) {
            if (ch == '\'') out += '\'';
            out += ch;
        }
        return out + "'";
    }
    if (auto* i = std::get_if<std::int64_t>(&v)) {
        if (*i == db::kTrue) return "true";
    }
    return db::toText(v);
}

// Everything one document's import carries from step to step.
class DocumentImport {
public:
    DocumentImport(db::Connection& conn, const store::HomeFolder& home, const fs::path& document,
                   const Tick& tick, ImportLog& log)
        : conn_(conn), home_(home), document_(document), tick_(tick), log_(log) {}

    ImportResult run();

private:
    void tick() {
        if (tick_) tick_();
    }
    fs::path makeWorkingCopy();
    void checkLock(const forms::FormDocument& doc);
    void checkYear(const FormValues& form);
    void checkApplicant(const FormValues& form);
    void checkUnit(const FormValues& form);
    void numberApplication();
    void insertApplication(const FormValues& form);
    void insertProjectInfo();
    void insertMembers(const FormValues& form);
    void insertEquipment(const FormValues& form);
    void insertPublications(const FormValues& form);
    fs::path filingFolder();
    void fileDocument(const fs::path& folder, ImportResult& result);

    db::Connection& conn_;
    const store::HomeFolder& home_;
    fs::path document_;
    const Tick& tick_;
    ImportLog& log_;

    std::string yearText_;
    std::int64_t year_ = 0;
    std::string applicant_;
    std::string university_;
    std::string unitCode_;
    std::string startNumber_;
    std::string projectId_;
    std::string filingName_;
    std::vector<std::pair<std::string, db::Value>> row_;
};

fs::path DocumentImport::makeWorkingCopy() {
    std::error_code ec;
    fs::path temp = home_.tempDir();
    if (!fs::is_directory(temp, ec) && !fs::create_directories(temp, ec)) {
        fail(kFailed, "Exception", "Cannot create" + temp.string());
    }
    // The working copy keeps the source's kind, so that a .doc is converted as one.
    const std::string ext = text::asciiLower(document_.extension().string());
    fs::path working = temp / (ext == ".doc" ? "Temp.doc" : "Temp.docx");
    fs::copy_file(document_, working, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        // A stale copy of an earlier document must never be imported in its place.
        fs::remove(working, ec);
        fail(kFailed, "EFCreateError",
             "由于上次的致命错误，系统可能无法继续进行正常的文档导入操作，请推出程序后【注销】系统"
             "！ (" +
                 document_.string() + ")");
    }
    return working;
}

void DocumentImport::checkLock(const forms::FormDocument& doc) {
    auto marker = doc.lockMarker();
    log_.line("line : 188,first read from word");
    if (!marker || forms::cellValue(*marker) != "1") fail(kNotLocked, "Exception", "文档没有加锁");
}

void DocumentImport::checkYear(const FormValues& form) {
    yearText_ = form.bookmark("ffd_appyear");
    auto st = conn_.prepare("SELECT Year FROM YearSet ORDER BY rowid");
    if (!st.step()) {
        fail(kYearNotAccepted, "Exception", "申请书中的申请日期和系统设置认可日期不一致");
    }
    auto year = parseInteger(yearText_);
    if (!year || trimmed(yearText_) != yearText_) {
        fail(kFailed, "EConvertError", "'" + yearText_ + "' is not a valid integer value");
    }
    if (st.integer(0) != *year) {
        fail(kYearNotAccepted, "Exception", "申请书中的申请日期和系统设置认可日期不一致");
    }
    year_ = *year;
    log_.line("line : 245");
}

void DocumentImport::checkApplicant(const FormValues& form) {
    applicant_ = form.cell(2, 20, 1);
    auto st = conn_.prepare(
        "SELECT 1 FROM ApplyInfo WHERE ApplyerName = :ApplyerName AND Apply_Year = :Apply_Year");
    st.bind(":ApplyerName", applicant_).bind(":Apply_Year", year_);
    if (st.step()) fail(kDuplicateApplicant, "Exception", "该申请者已经存在");
}

void DocumentImport::checkUnit(const FormValues& form) {
    university_ = form.bookmark("ffd_university");
    auto st = conn_.prepare("SELECT name, collegenum, code FROM CollegeInfo ORDER BY rowid");
    if (!st.step() || st.text(0) != university_) {
        fail(kUnitNotRegistered, "Exception", "申请书中的学校名称和系统学校名称不一致");
    }
    unitCode_ = st.text(1);
    startNumber_ = st.text(2);
}

void DocumentImport::numberApplication() {
    auto st = conn_.prepare("SELECT max(Project_ID) FROM ApplyInfo WHERE Apply_Year = :applyyear");
    st.bind(":applyyear", year_);
    st.step();
    if (st.isNull(0)) {
        projectId_ = yearText_ + unitCode_ + startNumber_;
        return;
    }
    auto last = parseInteger(st.text(0));
    if (!last) fail(kFailed, "EConvertError", "'" + st.text(0) + "' is not a valid integer value");
    projectId_ = std::to_string(*last + 1);
}

void DocumentImport::insertApplication(const FormValues& form) {
    row_.clear();
    row_.emplace_back("Project_ID", projectId_);
    for (const auto& col : columnTable()) {
        std::string name = col.column;
        std::optional<std::string> text;
        if (name == "University_Name") {
            text = university_;
        } else if (name == "Apply_Year") {
            text = yearText_;
        } else if (name == "ApplyerName") {
            text = applicant_;
        } else if (col.kind == Kind::Fixed) {
            text = "字段不再使用";
        } else if (col.bookmark) {
            text = form.bookmark(col.bookmark);
            // Only the first line of the postcode counts.
            if (name == "Postalcode") text = forms::cellValue(*text);
        } else {
            text = form.cell(col.t, col.r, col.c);
        }
        if (name == "Applyer_Name") filingName_ = *text;

        if (col.kind == Kind::Truth) {
            row_.emplace_back(name, *text == "是" ? db::kTrue : db::kFalse);
        } else if (!text->empty() && !(col.questionMarks && *text == "?????")) {
            if (col.kind == Kind::Number) {
                row_.emplace_back(name, numberValue(name, *text));
            } else {
                row_.emplace_back(name, *text);
            }
        }
        if (col.after) {
            if (*col.after) {
                log_.line(col.after);
            } else {
                tick();
            }
        }
    }

    std::string columns, params, logged;
    for (size_t i = 0; i < row_.size(); ++i) {
        columns += (i ? "," : "") + row_[i].first;
        params += (i ? ",?" : "?") + std::to_string(i + 1);
        logged += (i ? "," : "") + sqlLiteral(row_[i].second);
    }
    log_.line("INSERT INTO ApplyInfo(" + columns + ")VALUES(" + logged + ")");
    auto st = conn_.prepare("INSERT INTO ApplyInfo(" + columns + ") VALUES (" + params + ")");
    for (size_t i = 0; i < row_.size(); ++i) st.bind(static_cast<int>(i + 1), row_[i].second);
    st.exec();
    tick();
}

void DocumentImport::insertProjectInfo() {
    // Every application is a candidate for funding under its own number.
    conn_
        .prepare(
            "INSERT INTO ProjectInfo (project_id, Apply_year, IntoProject, expectmoney1, "
            "expectmoney2, expectmoney3, applyer_name, project_name, University_Name, "
            "College_Name, SubjectName, Subjectcode, Applyer_BirthYear, Applyer_TechPosition, "
            "ApplyMoney, PrimaryProj_BeginYear) "
            "SELECT Project_ID, Apply_Year, 0, 0, 0, 0, Applyer_Name, Project_Name, "
            "University_Name, College_Name, SubjectName, Subjectcode, Applyer_BirthYear, "
            "Applyer_TechPosition, ApplyMoney, PrimaryProj_BeginYear "
            "FROM ApplyInfo WHERE Project_ID = ?1")
        .bind(1, projectId_)
        .exec();
}

void DocumentImport::insertMembers(const FormValues& form) {
    auto st = conn_.prepare(
        "insert into AttenDeeInfo(Project_ID,Attendee_Name,Birth_Date,TechPosition,Profession,"
        "WorkSite,WorkTime)values(:Project_ID,:Attendee_Name,:Birth_Date,:TechPosition,"
        ":Profession,:WorkSite,:WorkTime)");
    for (int i = 3; i <= 14; ++i) {
        std::string name = form.cell(7, i, 2);
        if (name.empty()) continue;  // an empty row is skipped, later rows still read
        st.bind(":Project_ID", projectId_)
            .bind(":Attendee_Name", name)
            .bind(":Birth_Date", form.cell(7, i, 3))
            .bind(":TechPosition", form.cell(7, i, 4))
            .bind(":Profession", form.cell(7, i, 5))
            .bind(":WorkSite", form.cell(7, i, 6))
            .bind(":WorkTime", integerValue("WorkTime", form.cell(7, i, 7)));
        st.exec();
        st.reset();
    }
}

void DocumentImport::insertEquipment(const FormValues& form) {
    auto st = conn_.prepare(
        "insert into MachineInfo(Project_ID,Machine_Name,Machine_Num,Machine_Price)values("
        ":Project_ID,:Machine_Name,:Machine_Num,:Machine_Price)");
    for (int i = 6; i <= 12; ++i) {
        std::string name = form.cell(8, i, 1);
        if (name.empty()) continue;
        st.bind(":Project_ID", projectId_)
            .bind(":Machine_Name", name)
            .bind(":Machine_Num", integerValue("Machine_Num", form.cell(8, i, 2)))
            .bind(":Machine_Price", realValue("Machine_Price", form.cell(8, i, 3)));
        st.exec();
        st.reset();
    }
}

void DocumentImport::insertPublications(const FormValues& form) {
    auto st = conn_.prepare(
        "insert into ProductionInfo(Project_ID,Production_SerialNumber,Production_Date,Author_Li,"
        "Production_Name,Magazine_Press)values(:Project_ID,:Production_SerialNumber,"
        ":Production_Date,:Author_Li,:Production_Name,:Magazine_Press)");
    for (int i = 3; i <= 22; ++i) {
        std::string date = form.cell(9, i, 2);
        if (date.empty()) continue;
        st.bind(":Project_ID", projectId_)
            .bind(":Production_SerialNumber", 1)
            .bind(":Production_Date", date)
            .bind(":Author_Li", integerValue("Author_Li", form.cell(9, i, 4)))
            .bind(":Production_Name", form.cell(9, i, 5))
            .bind(":Magazine_Press", form.cell(9, i, 6));
        st.exec();
        st.reset();
    }
}

fs::path DocumentImport::filingFolder() {
    fs::path folder = home_.newDocDir() / yearText_;
    std::error_code ec;
    // Only the year level is made: without NewDoc the home folder is not what it should be.
    if (!fs::is_directory(folder, ec) && !fs::create_directory(folder, ec)) {
        fail(kFailed, "Exception", "Cannot create" + folder.string());
    }
    return folder;
}

void DocumentImport::fileDocument(const fs::path& folder, ImportResult& result) {
    std::error_code ec;
    if (isValidFilingName(filingName_)) {
        fs::path target = folder / filedName(projectId_, filingName_, document_);
        fs::copy_file(document_, target, fs::copy_options::overwrite_existing, ec);
        if (!ec) {
            result.filedAs = target.string();
            return;
        }
        log_.line("filing copy failed: " + target.string() + ": " + ec.message());
    } else {
        log_.line("filing name cannot be a file name: " + filingName_);
    }
    result.warnings.push_back(kCopyFailedMessage);
}

ImportResult DocumentImport::run() {
    ImportResult result;
    log_.reset();
    tick();
    log_.line("line : 128");
    try {
        fs::path working = makeWorkingCopy();
        log_.line("line : 175");
        tick();
        log_.line("line : 178,before the wordapp.creation");
        if (!fs::exists(working)) fail(kFailed, "Exception", "找不到模板！");
        forms::FormDocument doc = [&] {
            try {
                return forms::FormDocument::open(working);
            } catch (const forms::FormError& e) {
                fail(kFailed, "EOleException", e.what());
            }
        }();
        log_.line("line : 190,after wordapp.Document.open");
        FormValues form(doc);

        checkLock(doc);
        if (!doc.hasBookmark("ffd_appyear")) fail(kFailed, "Exception", "书签错误？");

        db::Transaction tx(conn_);
        checkYear(form);
        checkApplicant(form);
        if (!doc.hasBookmark("ffd_university")) fail(kFailed, "Exception", "书签错误？");
        checkUnit(form);
        numberApplication();
        insertApplication(form);
        insertProjectInfo();
        insertMembers(form);
        log_.line("line : 673");
        tick();
        insertEquipment(form);
        log_.line("line : 737");
        tick();
        insertPublications(form);
        log_.line("line : 948");
        fs::path folder = filingFolder();
        tx.commit();
        log_.line("line : 955");

        result.code = successCode(projectId_);
        result.projectId = projectId_;
        fileDocument(folder, result);
    } catch (const ImportFailure& f) {
        result.code = f.code;
        result.reason = f.message;
        log_.line("ClassName:" + f.kind + "; Message:" + f.message);
        log_.line("error happen");
        tick();
    } catch (const db::Error& e) {
        result.code = kFailed;
        result.reason = e.what();
        log_.line(std::string("ClassName:EDatabaseError; Message:") + e.what());
        log_.line("error happen");
        tick();
    } catch (const std::exception& e) {
        result.code = kFailed;
        result.reason = e.what();
        log_.line(std::string("ClassName:Exception; Message:") + e.what());
        log_.line("error happen");
        tick();
    }
    return result;
}

}  // namespace

std::string filedName(const std::string& projectId, const std::string& filingName,
                      const fs::path& source) {
    const std::string ext = text::asciiLower(source.extension().string());
    return projectId + filingName + (ext == ".doc" ? ".Doc" : ".docx");
}

bool isValidFilingName(const std::string& name) {
    for (unsigned char ch : name) {
        if (ch < 32 ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(ch)) != std::string_view::npos) {
            return false;
        }
    }
    // Leave room for the number and the extension within one file name.
    return name.size() <= 200;
}

ImportResult importApplication(db::Connection& conn, const store::HomeFolder& home,
                               const fs::path& document, const Tick& tick) {
    ImportLog log(home.logFile());
    DocumentImport one(conn, home, document, tick, log);
    return one.run();
}

}  // namespace xinghe::imports
