#include "core/forms/ApplicationForm.h"

#include <fstream>
#include <set>

#include "core/forms/FormError.h"

namespace xinghe::forms {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUnknown = "?????";
// What Word shows in a text form field with no default: five en spaces, so that the field
// can be seen and clicked.
constexpr const char* kEmptyResult = "\u2002\u2002\u2002\u2002\u2002";

Inline formField(std::string name, std::string defaultText) {
    Inline field = Inline::field(std::move(name), defaultText);
    if (defaultText.empty()) field.text = kEmptyResult;
    return field;
}

Paragraph text(std::string content, Paragraph::Style style = Paragraph::Style::Normal,
               Paragraph::Align align = Paragraph::Align::Left) {
    Paragraph p;
    p.style = style;
    p.align = align;
    if (!content.empty()) p.inlines.push_back(Inline::plain(std::move(content)));
    return p;
}

Paragraph heading(std::string content, bool newPage = false) {
    Paragraph p = text(std::move(content), Paragraph::Style::Heading);
    p.pageBreakBefore = newPage;
    return p;
}

// "label：[field]" on one line of the cover.
Paragraph coverLine(std::string label, std::string field, std::string defaultText) {
    Paragraph p;
    p.inlines.push_back(Inline::plain(std::move(label), true));
    p.inlines.push_back(formField(std::move(field), std::move(defaultText)));
    return p;
}

Cell label(std::string content, int span = 1) {
    Cell c;
    c.label = true;
    c.span = span;
    c.paragraphs.push_back(
        text(std::move(content), Paragraph::Style::Normal, Paragraph::Align::Center));
    return c;
}

Cell banner(std::string content, int span) {
    Cell c;
    c.label = true;
    c.span = span;
    Paragraph p;
    p.inlines.push_back(Inline::plain(std::move(content), true));
    c.paragraphs.push_back(std::move(p));
    return c;
}

Cell value(int span = 1) {
    Cell c;
    c.span = span;
    return c;
}

TableRow row(std::vector<Cell> cells, int minHeight = 0) {
    TableRow r;
    r.cells = std::move(cells);
    r.minHeight = minHeight;
    return r;
}

std::vector<int> evenGrid(int columns, int width) {
    return std::vector<int>(columns, width / columns);
}

constexpr int kTextWidth = 9620;  // twips between the margins, rounded to the grids below
constexpr int kValueRow = 420;

Table codeTable() {
    Table t;
    t.columnWidths = {1500, 2700};
    t.rows = {
        row({label("申请类别"), value()}, kValueRow), row({label("受理编号"), value()}, kValueRow),
        row({label("学科代码"), value()}, kValueRow), row({label("受理日期"), value()}, kValueRow)};
    return t;
}

// 简表一: twenty narrow grid columns so that every row can have its own cells.
Table basicsTable() {
    Table t;
    t.columnWidths = evenGrid(20, kTextWidth);
    t.rows = {
        row({banner("一、项目基本情况", 20)}),
        row({label("研究学科", 3), label("主学科名称", 3), value(4), label("相关学科名称", 3),
             value(3), label("研究类型", 2), value(2)},
            kValueRow),
        row({label("学科代码", 3), label("主学科代码", 3), value(4), label("相关学科代码", 3),
             value(3), label("代码见《学科分类与代码》", 4)},
            kValueRow),
        row({banner("二、研究期限与申请经费", 20)}),
        row({label("起始年份", 2), value(2), label("起始月份", 2), value(2), label("终止年份", 2),
             value(2), label("终止月份", 2), value(2), label("申请经费（万元）", 2), value(2)},
            kValueRow),
        row({label("申请者", 2), label("国籍", 2), value(2), label("出生", 2), value(2),
             label("年", 1), value(2), label("月", 1), label("性别", 3), value(3)},
            kValueRow),
        row({label("申请者", 2), label("联系方式", 2), label("通讯地址", 2), value(4),
             label("电话", 2), value(3), label("传真", 2), value(3)},
            kValueRow),
        row({label("专业技术职务及评定年份", 4), value(3), value(2), label("行政职务", 2), value(3),
             label("电子邮箱", 2), value(4)},
            kValueRow),
        row({label("学历", 2), label("毕业学校", 2), value(5), label("毕业时间", 2), value(2),
             label("所学专业", 2), value(5)},
            kValueRow),
        row({label("学位", 2), label("最后学位", 2), value(3), label("外语", 2),
             label("第一外语", 2), value(3), label("熟练程度", 2), value(4)},
            kValueRow),
        row({label("学位", 2), label("授予单位", 2), value(3), label("外语", 2),
             label("第二外语", 2), value(3), label("熟练程度", 2), value(4)},
            kValueRow),
        row({label("兼职", 2), label("主要学术兼职", 4), value(14)}, kValueRow),
        row({banner("三、项目主题词（3～5 个，用分号隔开）", 20)}),
        row({value(20)}, kValueRow),
        row({label("前期资助", 4), label("前期项目起止年份", 6), value(10)}, kValueRow),
        row({label("前期资助", 4), label("资助金额（万元）", 6), value(10)}, kValueRow),
        row({label("前期资助", 4), label("结题日期", 6), value(10)}, kValueRow),
        row({banner("四、其他经费来源", 20)}),
        row({value(20)}, 840),
        row({value(10), label("← 申请者姓名（与封面一致）", 10)}, kValueRow),
    };
    return t;
}

Table sectionTable(std::string title) {
    Table t;
    t.columnWidths = {kTextWidth};
    t.rows = {row({banner(std::move(title), 1)}), row({value()}, 5200)};
    return t;
}

// 简表三: members, their totals and the cooperating units.
Table membersTable() {
    Table t;
    t.columnWidths = {700, 1300, 1300, 1300, 1600, 2320, 1100};
    t.rows.push_back(row({banner("项目组主要成员（含申请者）", 7)}));
    t.rows.push_back(row({label("序号"), label("姓名"), label("出生年月"), label("职称"),
                          label("专业"), label("工作单位"), label("每年工作时间（月）")}));
    for (int i = 1; i <= 12; ++i)
        t.rows.push_back(
            row({label(std::to_string(i)), value(), value(), value(), value(), value(), value()},
                kValueRow));
    t.rows.push_back(row({label("总人数"), label("教授"), label("副教授"), label("讲师"),
                          label("博士研究生"), label("硕士研究生"), label("其他")}));
    t.rows.push_back(
        row({value(), value(), value(), value(), value(), value(), value()}, kValueRow));
    t.rows.push_back(row({banner("合作单位及合作内容", 7)}));
    t.rows.push_back(row({value(7)}, 1400));
    return t;
}

// 简表四: the budget, the equipment to buy and the applicant's profile.
Table budgetTable() {
    Table t;
    t.columnWidths = evenGrid(7, kTextWidth);
    t.rows.push_back(row({banner("经费预算（万元）", 7)}));
    t.rows.push_back(row({label("合计"), label("设备费"), label("材料费"), label("测试计算费"),
                          label("资料费"), label("差旅费"), label("其他")}));
    t.rows.push_back(
        row({value(), value(), value(), value(), value(), value(), value()}, kValueRow));
    t.rows.push_back(row({banner("拟购置的主要仪器设备", 7)}));
    t.rows.push_back(row({label("名称及型号", 4), label("数量", 1), label("单价（万元）", 2)}));
    for (int i = 0; i < 7; ++i) t.rows.push_back(row({value(4), value(1), value(2)}, kValueRow));
    t.rows.push_back(row({banner("申请者简介（学习与工作经历、主要研究成果）", 7)}));
    t.rows.push_back(row({value(7)}, 4000));
    return t;
}

// 简表五: publications of the last five years.
Table publicationsTable() {
    Table t;
    t.columnWidths = {700, 1300, 1300, 1100, 2900, 2320};
    t.rows.push_back(row({banner("申请者近五年发表的主要论著", 6)}));
    t.rows.push_back(row({label("序号"), label("发表年月"), label("论著类别"), label("作者排名"),
                          label("论著名称"), label("刊物或出版社")}));
    for (int i = 1; i <= 20; ++i)
        t.rows.push_back(row(
            {label(std::to_string(i)), value(), value(), value(), value(), value()}, kValueRow));
    return t;
}

struct CoverField {
    const char* name;
    const char* label;
    const char* defaultText;
};

// In cover order. The fields whose "?????" default means "not filled in" carry it.
constexpr CoverField kCoverFields[] = {
    {"ffd_subjectname", "项 目 名 称：", kUnknown},
    {"ffd_applyer", "申  请  者：", kUnknown},
    {"ffd_university", "所 在 学 校：", kUnknown},
    {"ffd_department", "所 在 院 系：", kUnknown},
    {"ffd_postcode", "邮 政 编 码：", kUnknown},
    {"ffd_doctorname", "博士点名称：", kUnknown},
    {"ffd_iptsubjectname", "重点学科名称：", kUnknown},
    {"ffd_labname", "重点实验室名称：", kUnknown},
    {"ffd_doctor", "申请者是否博士生导师（是/否）：", ""},
};

DocumentModel blankModel() {
    DocumentModel m;
    m.title = "澄川基金项目申请书";
    auto add = [&m](Block b) { m.blocks.push_back(std::move(b)); };

    // The title comes first: a form field in the first paragraph of a protected form loses
    // its bookmark in LibreOffice.
    add(text("澄川基金项目申请书", Paragraph::Style::Title));
    add(text("（受理编号、受理日期由基金管理办公室填写）", Paragraph::Style::Small,
             Paragraph::Align::Right));
    add(codeTable());
    add(text(""));
    for (const CoverField& f : kCoverFields) add(coverLine(f.label, f.name, f.defaultText));
    {
        Paragraph date;
        date.inlines = {Inline::plain("申 请 日 期：", true), formField("ffd_appyear", ""),
                        Inline::plain(" 年 "), formField("ffd_appmonth", ""), Inline::plain(" 月")};
        add(date);
    }
    add(text(""));
    add(coverLine("填写完成确认（全部填好并核对无误后改为 1）：", "status", "0"));
    add(text(""));
    add(text("澄川基金管理办公室制", Paragraph::Style::Normal, Paragraph::Align::Center));

    add(heading("填写说明", true));
    for (const char* line : {
             "一、封面各项填在带下划线的域中，不要删除域；未填的项保留“?????”。",
             "二、简表中的空白格每格只填一项内容，标签格不要改动，不要增删表格的行和列。",
             "三、年份写四位数字，月份写数字；金额以万元为单位，只写数字。",
             "四、申请者姓名须与封面一致；填写完毕并核对无误后，将封面的“填写完成确认”改为 1。",
             "五、本申请书可用 Word、WPS 或 LibreOffice 填写，保存为 .doc 或 .docx 均可。",
         })
        add(text(line));

    add(heading("简表一 项目与申请者基本情况", true));
    add(basicsTable());
    add(heading("简表二 研究内容", true));
    add(sectionTable("一、立项依据（研究意义、国内外研究现状及发展动态）"));
    add(text(""));
    add(sectionTable("二、研究内容、研究目标及拟解决的关键问题"));
    add(text(""));
    add(sectionTable("三、研究方案、技术路线及可行性分析"));
    add(text(""));
    add(sectionTable("四、研究基础与工作条件"));
    add(heading("简表三 项目组成员", true));
    add(membersTable());
    add(heading("简表四 经费预算与仪器设备", true));
    add(budgetTable());
    add(heading("简表五 申请者主要论著", true));
    add(publicationsTable());
    // A paragraph after the last table: LibreOffice's .doc export turns a table that ends
    // the document into plain paragraphs.
    add(text(""));
    add(text("申请者承诺：本申请书所填内容真实可靠。"));
    add(text("申请者签字：                    日期：      年    月    日"));
    return m;
}

template <typename Visit>
void forEachParagraph(DocumentModel& m, Visit visit) {
    for (Block& b : m.blocks) {
        if (auto* p = std::get_if<Paragraph>(&b)) {
            visit(*p);
            continue;
        }
        for (TableRow& r : std::get<Table>(b).rows)
            for (Cell& c : r.cells)
                for (Paragraph& p : c.paragraphs) visit(p);
    }
}

template <typename Visit>
void forEachCell(DocumentModel& m, Visit visit) {
    int table = 0;
    for (Block& b : m.blocks) {
        auto* t = std::get_if<Table>(&b);
        if (!t) continue;
        ++table;
        for (std::size_t r = 0; r < t->rows.size(); ++r)
            for (std::size_t c = 0; c < t->rows[r].cells.size(); ++c)
                visit(CellKey{table, static_cast<int>(r + 1), static_cast<int>(c + 1)},
                      t->rows[r].cells[c]);
    }
}

}  // namespace

const std::vector<std::string>& applicationFormFields() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const CoverField& f : kCoverFields) v.emplace_back(f.name);
        v.emplace_back("ffd_appyear");
        v.emplace_back("ffd_appmonth");
        return v;
    }();
    return names;
}

std::vector<CellKey> applicationFormCells() {
    std::vector<CellKey> keys;
    DocumentModel m = blankModel();
    forEachCell(m, [&](const CellKey& key, const Cell& cell) {
        if (!cell.label) keys.push_back(key);
    });
    return keys;
}

DocumentModel applicationFormModel(const FormData& data) {
    DocumentModel m = blankModel();
    std::vector<std::string> problems;
    auto checkValue = [&](const std::string& what, const std::string& value) {
        if (auto problem = textProblem(value)) {
            problems.push_back(what + "：" + *problem);
            return false;
        }
        return true;
    };

    std::set<std::string> used;
    forEachParagraph(m, [&](Paragraph& p) {
        for (Inline& in : p.inlines) {
            if (in.kind != Inline::Kind::FormField) continue;
            if (in.name == "status") {
                if (data.status && checkValue("status", *data.status)) in.text = *data.status;
            } else if (auto it = data.bookmarks.find(in.name); it != data.bookmarks.end()) {
                used.insert(in.name);
                if (checkValue("书签 " + in.name, it->second)) in.text = it->second;
            }
        }
    });
    for (const auto& [name, text] : data.bookmarks) {
        if (used.count(name)) continue;
        problems.push_back(name == "status" ? "书签 status 是锁定标记，请用 \"status\" 键填写"
                                            : "申请书模板中没有书签 " + name);
    }

    std::set<CellKey> filled;
    forEachCell(m, [&](const CellKey& key, Cell& cell) {
        auto it = data.cells.find(key);
        if (it == data.cells.end()) return;
        filled.insert(key);
        if (cell.label)
            problems.push_back("单元格 " + cellKeyText(key) + " 是标签格，不能填写");
        else if (checkValue("单元格 " + cellKeyText(key), it->second))
            cell.paragraphs = paragraphsOf(it->second);
    });
    for (const auto& [key, text] : data.cells)
        if (!filled.count(key)) problems.push_back("申请书模板中没有单元格 " + cellKeyText(key));

    if (!problems.empty()) {
        std::string message = "表单数据与申请书模板不符：";
        for (std::size_t i = 0; i < problems.size(); ++i) message += (i ? "；" : "") + problems[i];
        throw FormError(message);
    }
    return m;
}

std::string applicationFormBytes(const FormData& data) {
    return buildDocx(applicationFormModel(data));
}

void writeApplicationForm(const FormData& data, const fs::path& file) {
    const std::string bytes = applicationFormBytes(data);
    fs::path temp = file;
    temp += ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw FormError("无法写入文件 " + file.string());
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            throw FormError("写入文件 " + file.string() + " 失败");
        }
    }
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FormError("无法写入文件 " + file.string() + "：" + ec.message());
    }
}

void writeBlankApplicationForm(const fs::path& file) {
    writeApplicationForm(FormData{}, file);
}

}  // namespace xinghe::forms
