#include "core/applications/Applications.h"

#include "core/text/Ascii.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace xinghe::applications {

namespace fs = std::filesystem;

namespace {

using text::equalsIgnoringCase;

Record readRecord(const db::Statement& st) {
    Record r;
    for (int i = 0; i < st.columnCount(); ++i) r.emplace_back(st.columnName(i), st.value(i));
    return r;
}

std::vector<Record> readAll(db::Connection& conn, const std::string& sql, const std::string& id) {
    auto st = conn.prepare(sql);
    st.bind(1, id);
    std::vector<Record> out;
    while (st.step()) out.push_back(readRecord(st));
    return out;
}

}  // namespace

std::vector<std::string> applicationYears(db::Connection& conn) {
    std::vector<std::string> out;
    auto st = conn.prepare("SELECT DISTINCT Apply_Year FROM ApplyInfo ORDER BY Apply_Year DESC");
    while (st.step()) out.push_back(st.text(0));
    return out;
}

std::vector<ApplicationRow> listApplications(db::Connection& conn, const std::string& year) {
    std::string sql =
        "SELECT Project_ID, Apply_Year, Applyer_Name, Project_Name, University_Name, "
        "College_Name, SubjectName FROM ApplyInfo";
    if (!year.empty()) sql += " WHERE Apply_Year = ?1";
    sql += " ORDER BY Project_ID";
    auto st = conn.prepare(sql);
    if (!year.empty()) st.bind(1, year);
    std::vector<ApplicationRow> out;
    while (st.step()) {
        out.push_back(
            {st.text(0), st.text(1), st.text(2), st.text(3), st.text(4), st.text(5), st.text(6)});
    }
    return out;
}

const db::Value* field(const Record& r, std::string_view column) {
    for (const auto& [name, value] : r) {
        if (equalsIgnoringCase(name, column)) return &value;
    }
    return nullptr;
}

std::string fieldText(const Record& r, std::string_view column) {
    const db::Value* v = field(r, column);
    return v ? db::toText(*v) : std::string();
}

std::optional<ApplicationDetail> loadApplication(db::Connection& conn,
                                                 const std::string& projectId) {
    auto st = conn.prepare("SELECT * FROM ApplyInfo WHERE Project_ID = ?1");
    st.bind(1, projectId);
    if (!st.step()) return std::nullopt;
    ApplicationDetail d;
    d.apply = readRecord(st);
    d.members =
        readAll(conn, "SELECT * FROM AttenDeeInfo WHERE Project_ID = ?1 ORDER BY rowid", projectId);
    d.equipment =
        readAll(conn, "SELECT * FROM MachineInfo WHERE Project_ID = ?1 ORDER BY rowid", projectId);
    d.publications = readAll(
        conn, "SELECT * FROM ProductionInfo WHERE Project_ID = ?1 ORDER BY rowid", projectId);
    return d;
}

std::vector<Record> publicationsNewestFirst(db::Connection& conn, const std::string& projectId) {
    return readAll(conn,
                   "SELECT * FROM ProductionInfo WHERE Project_ID = ?1 "
                   "ORDER BY Production_Date DESC, rowid",
                   projectId);
}

std::optional<fs::path> findFiledForm(const store::HomeFolder& home, const std::string& year,
                                      const std::string& projectId, const std::string& applicant) {
    fs::path folder = home.newDocDir() / year;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return std::nullopt;
    const std::string stem = projectId + applicant;
    for (const char* ext : {".docx", ".Doc"}) {
        fs::path exact = folder / (stem + ext);
        if (fs::exists(exact, ec)) return exact;
    }
    // The file system here tells case apart; a form filed under another spelling of the
    // extension is still the same form.
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > stem.size() && name.compare(0, stem.size(), stem) == 0) {
            std::string ext = name.substr(stem.size());
            if (equalsIgnoringCase(ext, ".doc") || equalsIgnoringCase(ext, ".docx"))
                return entry.path();
        }
    }
    return std::nullopt;
}

Outcome deleteApplication(db::Connection& conn, const store::HomeFolder& home,
                          const std::string& projectId) {
    auto st = conn.prepare("SELECT Apply_Year, Applyer_Name FROM ApplyInfo WHERE Project_ID = ?1");
    st.bind(1, projectId);
    std::string year, applicant;
    if (st.step()) {
        year = st.text(0);
        applicant = st.text(1);
    }
    {
        db::Transaction tx(conn);
        for (const char* table :
             {"ApplyInfo", "AttenDeeInfo", "MachineInfo", "ProductionInfo", "ProjectInfo"}) {
            conn.prepare(std::string("DELETE FROM ") + table + " WHERE Project_ID = ?1")
                .bind(1, projectId)
                .exec();
        }
        tx.commit();
    }
    if (auto form = findFiledForm(home, year, projectId, applicant)) {
        std::error_code ec;
        fs::remove(*form, ec);
    }
    return Outcome::success();
}

SchoolNumber checkSchoolNumber(const std::string& typed) {
    SchoolNumber r;
    r.padded = typed;
    if (r.padded.size() < 3) r.padded.insert(0, 3 - r.padded.size(), '0');
    int n = 0;
    auto [end, ec] = std::from_chars(r.padded.data(), r.padded.data() + r.padded.size(), n);
    r.accepted = ec == std::errc() && end == r.padded.data() + r.padded.size() && n >= 1 &&
                 n <= 999 && r.padded.size() == 3;
    return r;
}

RenumberResult renumberApplication(db::Connection& conn, const store::HomeFolder& home,
                                   const std::string& projectId, const std::string& schoolNumber) {
    RenumberResult r;
    r.newId = projectId.substr(0, 8) + schoolNumber;
    {
        auto taken = conn.prepare("SELECT 1 FROM ApplyInfo WHERE Project_ID = ?1");
        taken.bind(1, r.newId);
        if (taken.step()) {
            r.error = kNumberTaken;
            return r;
        }
    }
    auto st = conn.prepare("SELECT Apply_Year, Applyer_Name FROM ApplyInfo WHERE Project_ID = ?1");
    st.bind(1, projectId);
    if (!st.step()) {
        r.error = "申请不存在：" + projectId;
        return r;
    }
    const std::string year = st.text(0), applicant = st.text(1);

    fs::path folder = home.newDocDir() / year;
    std::error_code ec;
    if (!fs::is_directory(folder, ec) && !fs::create_directories(folder, ec)) {
        r.error = "Cannot create" + folder.string();
        return r;
    }

    // The new copy first; the old one goes only once the rows have moved.
    std::optional<fs::path> oldForm = findFiledForm(home, year, projectId, applicant);
    std::optional<fs::path> newForm;
    if (oldForm) {
        std::string ext = oldForm->extension().string();
        newForm = folder / (r.newId + applicant + ext);
        fs::copy_file(*oldForm, *newForm, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            newForm.reset();
            r.warnings.push_back("复制文件错误，请与系统管理员联系！");
        }
    } else {
        r.warnings.push_back("复制文件错误，请与系统管理员联系！");
    }

    try {
        db::Transaction tx(conn);
        for (const char* table :
             {"ApplyInfo", "AttenDeeInfo", "MachineInfo", "ProductionInfo", "ProjectInfo"}) {
            conn.prepare(std::string("UPDATE ") + table +
                         " SET Project_ID = ?1 WHERE Project_ID = ?2")
                .bind(1, r.newId)
                .bind(2, projectId)
                .exec();
        }
        conn.prepare("UPDATE ProjectControl SET ProjectID = ?1 WHERE ProjectID = ?2")
            .bind(1, r.newId)
            .bind(2, projectId)
            .exec();
        tx.commit();
    } catch (...) {
        if (newForm) fs::remove(*newForm, ec);
        throw;
    }
    // Only a form that now exists under the new number lets the old copy go.
    if (oldForm && newForm) fs::remove(*oldForm, ec);
    r.ok = true;
    return r;
}

}  // namespace xinghe::applications
