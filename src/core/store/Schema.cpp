#include "core/store/Schema.h"

#include "core/text/Ascii.h"

#include <stdexcept>

namespace xinghe::schema {

namespace {

// Declared types of the delivered tables. SQLite keeps what is bound; these give the
// column affinity that matches how each column is used.
constexpr const char* T = "TEXT";
constexpr const char* I = "INTEGER";
constexpr const char* R = "REAL";
constexpr const char* B = "bit";  // truth value: -1 true, 0 false

Table applyInfo() {
    return {"ApplyInfo",
            {{"Project_ID", T},
             {"Apply_Kind", T},
             {"Subject_Code", T},
             {"Project_Name", T},
             {"Applyer_Name", T},
             {"University_Name", T},
             {"College_Name", T},
             {"Department_Name", T},
             {"Postalcode", I},
             {"DoctorPoint_Name", T},
             {"ImportantSubject", T},
             {"DoctorTutor", B},
             {"ImportantLab_Name", T},
             {"Apply_Year", I},
             {"Apply_Monnth", I},
             {"SubjectName", T},
             {"Subjectcode", T},
             {"CorrelativeSub_Name", T},
             {"CorrelativeSub_Code", T},
             {"SearchKind", T},
             {"BeginYear", I},
             {"BeginMonth", I},
             {"EndYear", I},
             {"EndMonth", I},
             {"ApplyMoney", R},
             {"ApplyerName", T},
             {"Applyer_BirthYear", I},
             {"Applyer_BirthMonth", I},
             {"Applyer_Sex", T},
             {"Applyer_TechPosition", T},
             {"Applyer_PositionYear", T},
             {"Applyer_AdminPosition", T},
             {"Applyer_Telephone", T},
             {"Applyer_Email", T},
             {"Applyer_GraduateSchool", T},
             {"Applyer_GraduateDate", T},
             {"Applyer_FinalDegree", T},
             {"Language1_name", T},
             {"Language1_grade", T},
             {"Language2_name", T},
             {"Language2_grade", T},
             {"Applyer_AddedJob", T},
             {"ProjectKeyword", T},
             {"PrimaryProj_BeginYear", T},
             {"PrimaryPro_EndYear", T},
             {"PrimaryPro_AidMoney", T},
             {"PrimaryPro_FinDate", T},
             {"OtherMoneySource", T},
             {"AttendedSumPeople", T},
             {"Professor_Num", I},
             {"AdjunctProfessor_Num", I},
             {"Lector_Num", I},
             {"Doctor_Num", I},
             {"Master_Num", I},
             {"OtherPeople_Num", I},
             {"Cooperator_Info", T},
             {"Machine_Fee", R},
             {"Stuff_Fee", R},
             {"Count_Fee", R},
             {"Information_Fee", R},
             {"Travel_Fee", R},
             {"Other_fee", R},
             {"TotalMoney", R},
             {"Applyer_Introduction", T}},
            ""};
}

std::vector<Table> deliveredTables() {
    std::vector<Table> t;
    t.push_back(applyInfo());
    t.push_back({"AttenDeeInfo",
                 {{"Project_ID", T},
                  {"Attendee_Name", T},
                  {"Birth_Date", T},
                  {"TechPosition", T},
                  {"Profession", T},
                  {"WorkSite", T},
                  {"WorkTime", I}},
                 ""});
    t.push_back({"MachineInfo",
                 {{"Project_ID", T}, {"Machine_Name", T}, {"Machine_Num", I}, {"Machine_Price", R}},
                 ""});
    t.push_back({"ProductionInfo",
                 {{"Project_ID", T},
                  {"Production_SerialNumber", I},
                  {"Production_Date", T},
                  {"Author_Li", I},
                  {"Production_Name", T},
                  {"Magazine_Press", T}},
                 ""});
    t.push_back({"ProjectInfo",
                 {{"project_id", T},
                  {"Apply_year", I},
                  {"IntoProject", B},
                  {"expectmoney1", R},
                  {"expectmoney2", R},
                  {"expectmoney3", R},
                  {"applyer_name", T},
                  {"project_name", T},
                  {"University_Name", T},
                  {"College_Name", T},
                  {"SubjectName", T},
                  {"Subjectcode", T},
                  {"Applyer_BirthYear", I},
                  {"Applyer_TechPosition", T},
                  {"ApplyMoney", R},
                  {"PrimaryProj_BeginYear", T}},
                 ""});
    t.push_back({"ProjectControl",
                 {{"编号", "INTEGER PRIMARY KEY AUTOINCREMENT"},
                  {"ProjectID", T},
                  {"PDate", T},
                  {"PMoney", R},
                  {"PMemo", T}},
                 ""});
    t.push_back({"CollegeInfo",
                 {{"collegenum", T},
                  {"Name", T},
                  {"Department", T},
                  {"post", T},
                  {"sheng", T},
                  {"shi", T},
                  {"qu", T},
                  {"jie", T},
                  {"hao", T},
                  {"address", T},
                  {"man", T},
                  {"phone", T},
                  {"email", T},
                  {"countname", T},
                  {"bank", T},
                  {"count", T},
                  {"managedepart", T},
                  {"code", T}},
                 ""});
    t.push_back({"UniversityCode", {{"name", T}, {"code", T}}, ""});
    t.push_back({"Users", {{"UID", T}, {"NAME", T}, {"PASSWORD", T}, {"DESCRIBE", T}}, ""});
    t.push_back({"YearSet", {{"Year", I}}, ""});
    t.push_back({"Position", {{"PositionCode", I}, {"PositionName", T}}, ""});
    t.push_back({"Nationality", {{"NationalityCode", T}, {"NationalityName", T}}, ""});
    t.push_back({"SubjectCode", {{"Code", T}, {"Name", T}}, ""});
    t.push_back({"ApplyRegManage", {{"Project_ID", T}, {"RegDate", T}, {"Memo", T}}, ""});
    return t;
}

constexpr const char* V50 = "varchar(50)";
constexpr const char* TX = "text";
constexpr const char* IN = "int";
constexpr const char* DT = "datetime";

std::vector<Column> named(std::initializer_list<const char*> names, const char* type) {
    std::vector<Column> out;
    for (const char* n : names) out.push_back({n, type});
    return out;
}

void append(std::vector<Column>& to, const std::vector<Column>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

Table summaryInfo() {
    std::vector<Column> c = {{"Project_ID", V50},
                             {"ProjectName", V50},
                             {"UniversityName", V50},
                             {"PlanBeginYear", IN},
                             {"PlanBeginMonth", IN},
                             {"PlanFinYear", IN},
                             {"PlanFinMonth", IN},
                             {"PracticalFinYear", IN},
                             {"PracticalFinMonth", IN},
                             {"Applyer", V50},
                             {"WriteYear", IN},
                             {"WriteMonth", IN},
                             {"WriteDay", IN},
                             {"SubjectName", V50},
                             {"SubjectCode", V50},
                             {"ApplyMoney", IN},
                             {"ApplyMoneyShow", V50},
                             {"PracticalOutlay", IN},
                             {"PracticalOutlayShow", V50},
                             {"BirthYear", IN},
                             {"BirthMonth", IN},
                             {"TechPosition", V50},
                             {"Attendeenum", IN},
                             {"ThesisNumSum", IN}};
    for (int i = 1; i <= 10; ++i) c.push_back({"ThesisNum" + std::to_string(i), IN});
    for (int i = 1; i <= 7; ++i) c.push_back({"OutputNum" + std::to_string(i), IN});
    c.push_back({"AwardNumSum", IN});
    for (int i = 1; i <= 7; ++i) c.push_back({"AwardNum" + std::to_string(i), IN});
    c.push_back({"PersonNumSum", IN});
    for (int i = 1; i <= 5; ++i) c.push_back({"PersonNum" + std::to_string(i), IN});
    // Reserve columns: a..n as text, aa..pp and aaa..ttt as integers.
    for (char ch = 'a'; ch <= 'n'; ++ch) c.push_back({std::string(1, ch), V50});
    for (char ch = 'a'; ch <= 'p'; ++ch) c.push_back({std::string(2, ch), IN});
    for (char ch = 'a'; ch <= 't'; ++ch) c.push_back({std::string(3, ch), IN});
    c.push_back({"SummaryYear", IN});
    return {"SummaryInfo", c, ""};
}

std::vector<Column> attendees() {
    std::vector<Column> c;
    for (int i = 1; i <= 8; ++i) c.push_back({"attendee" + std::to_string(i), V50});
    return c;
}

std::vector<Table> makeUpgradeTables() {
    std::vector<Table> t;
    t.push_back({"Expert",
                 {{"Code", V50},       {"UCode", "INTEGER PRIMARY KEY AUTOINCREMENT"},
                  {"Name", V50},       {"Sex", "bit"},
                  {"Birth", DT},       {"Nationality", V50},
                  {"National", V50},   {"Title", V50},
                  {"Univ_code", V50},  {"Univ_name", V50},
                  {"Duty", V50},       {"Depart", V50},
                  {"Grad_univ", V50},  {"Grad_year", DT},
                  {"Address", V50},    {"E_mail", V50},
                  {"Tele", V50},       {"Zip", V50},
                  {"Fax", V50},        {"Degree", V50},
                  {"Lang1", V50},      {"Lang2", V50},
                  {"Subj0", V50},      {"Subj_code0", V50},
                  {"Subj1", V50},      {"Subj_code1", V50},
                  {"Seco_post", TX},   {"Strong_pt", TX},
                  {"Province", V50},   {"City", V50},
                  {"Title_year", V50}, {"Is_drguide", "bit"},
                  {"Is_gacad", "bit"}, {"Is_kacad", "bit"},
                  {"Identifier", V50}, {"Is_Exit", "bit"}},
                 ""});
    t.push_back({"ExpertArticle",
                 {{"Code", V50},
                  {"UCode", V50},
                  {"ExpertName", V50},
                  {"Birth", DT},
                  {"ArticleName", V50},
                  {"PublishDate", DT},
                  {"PublishMagzine", V50}},
                 ""});
    t.push_back({"SummaryAchieveInfo",
                 {{"Project_ID", V50},
                  {"AchieveName", V50},
                  {"Person", V50},
                  {"num", IN},
                  {"commend", TX},
                  {"Award", TX},
                  {"patent", TX}},
                 ""});
    t.push_back({"SummaryAchieveBrief",
                 {{"Project_ID", V50}, {"AchieveName", V50}, {"AchieveBrief", TX}},
                 ""});
    t.push_back(summaryInfo());
    t.push_back({"SummaryOutLayInfo",
                 {{"Project_ID", V50},
                  {"Content", TX},
                  {"MoneyIn", IN},
                  {"MoneyOut", IN},
                  {"Material", IN},
                  {"Consume", IN},
                  {"Reference", TX},
                  {"Travel", TX},
                  {"Manage", IN},
                  {"Equipment", TX},
                  {"Other", TX},
                  {"MoneyLeft", IN}},
                 ""});
    {
        std::vector<Column> c = {{"Project_ID", V50}, {"TechName", V50},  {"patentid1", V50},
                                 {"patentid2", V50},  {"scope", TX},      {"features", TX},
                                 {"Output", V50},     {"NewOutPut", V50}, {"NewTax", V50},
                                 {"ResultName", V50}};
        append(c, attendees());
        append(c, named({"Project_Name", "Project_FinishDate"}, V50));
        t.push_back({"SummaryOutPutInfo", c, ""});
    }
    {
        std::vector<Column> c = {{"Project_ID", V50}, {"patentid1", V50},  {"patentid2", V50},
                                 {"patenttype", V50}, {"patentname", V50}, {"features", TX},
                                 {"resultname", V50}};
        append(c, attendees());
        append(c, named({"Project_Name", "Project_FinishDate"}, V50));
        t.push_back({"SummaryPatentInfo", c, ""});
    }
    t.push_back({"SummaryThesisInfo",
                 {{"Project_ID", V50},
                  {"Title", V50},
                  {"person", V50},
                  {"Num", IN},
                  {"FinishDate", V50},
                  {"PublishDate", V50},
                  {"press", TX},
                  {"Reflect", TX}},
                 ""});
    t.push_back({"NoSummary",
                 {{"Project_ID", "varchar(50) PRIMARY KEY"},
                  {"Applyer", V50},
                  {"Project_name", V50},
                  {"reason", TX}},
                 ""});
    return t;
}

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

const std::vector<Table>& upgradeTables() {
    static const std::vector<Table> tables = makeUpgradeTables();
    return tables;
}

const Table& tempExpertArticle() {
    static const Table t{"TempExpertArticle",
                         {{"Birth", DT},
                          {"ArticleName", "varchar(50) PRIMARY KEY"},
                          {"PublishDate", DT},
                          {"PublishMagzine", V50}},
                         ""};
    return t;
}

const std::vector<Table>& workingTables() {
    static const std::vector<Table> tables = [] {
        std::vector<Table> all = deliveredTables();
        for (const auto& u : upgradeTables()) all.push_back(u);
        all.push_back(tempExpertArticle());
        return all;
    }();
    return tables;
}

const Table& backupRegisterTable() {
    static const Table t{"Backup_Info", {{"date", T}, {"time", T}}, ""};
    return t;
}

const Table& subjectTable() {
    // NUMERIC affinity keeps 110 an integer and 110.14 a real, so that the text form
    // of a code tells its level the way the picker expects.
    static const Table t{"xk", {{"Code", "NUMERIC"}, {"Disc", "varchar(34)"}}, ""};
    return t;
}

const Table& table(std::string_view name) {
    for (const auto& t : workingTables()) {
        if (text::equalsIgnoringCase(t.name, name)) return t;
    }
    throw std::out_of_range("no table named " + std::string(name));
}

std::vector<std::string> columnNames(std::string_view name) {
    std::vector<std::string> out;
    for (const auto& c : table(name).columns) out.push_back(c.name);
    return out;
}

std::string createStatement(const Table& t) {
    std::string sql = "CREATE TABLE " + quoted(t.name) + " (";
    for (size_t i = 0; i < t.columns.size(); ++i) {
        if (i) sql += ", ";
        // Columns compare without regard to case, as the stored data has always assumed.
        sql += quoted(t.columns[i].name) + " " + t.columns[i].type;
    }
    if (!t.constraints.empty()) sql += ", " + t.constraints;
    return sql + ")";
}

void createWorkingSchema(db::Connection& conn) {
    db::Transaction tx(conn);
    for (const auto& t : workingTables()) {
        if (!conn.tableExists(t.name)) conn.execScript(createStatement(t));
    }
    tx.commit();
}

UpgradeResult upgradeSchema(db::Connection& conn) {
    UpgradeResult result;
    try {
        auto probe = conn.prepare("SELECT * FROM ExpertArticle");
        return result;
    } catch (const db::Error& e) {
        // Only a missing table means an older database; anything else is a real fault.
        if ((e.code() & 0xff) != 1 /* SQLITE_ERROR */) throw;
    }
    result.upgraded = true;
    for (const auto& t : upgradeTables()) {
        try {
            conn.execScript(createStatement(t));
            result.created.push_back(t.name);
        } catch (const db::Error& e) {
            result.error = t.name + ": " + e.what();
            break;
        }
    }
    return result;
}

}  // namespace xinghe::schema
