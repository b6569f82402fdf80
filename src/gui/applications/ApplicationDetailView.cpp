#include "gui/applications/ApplicationDetailView.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPieSeries>
#include <QPieSlice>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/applications/ApplicationSheets.h"
#include "core/applications/Applications.h"
#include "gui/applications/ProjectNumberDialog.h"
#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"

namespace xinghe::gui {

namespace {

constexpr QSize kClientSize(755, 704);

// The colours of the six groups of people, in the order of the pie's slices; each
// count box has the colour of its slice.
struct PeopleGroup {
    const char* column;
    const char* label;
    QColor colour;
};
const std::vector<PeopleGroup>& peopleGroups() {
    static const std::vector<PeopleGroup> groups = {
        {"Lector_Num", "讲师：", QColor(0xff, 0x00, 0x00)},
        {"Doctor_Num", "博士生：", QColor(0x00, 0x80, 0x00)},
        {"Master_Num", "硕士生：", QColor(0xff, 0xff, 0x00)},
        {"OtherPeople_Num", "其他人员：", QColor(0x00, 0x00, 0xff)},
        {"AdjunctProfessor_Num", "副教授：", QColor(0xff, 0xff, 0xff)},
        {"Professor_Num", "教授：", QColor(0xc0, 0xc0, 0xc0)},
    };
    return groups;
}

QGroupBox* group(const QString& title, QWidget* parent, bool yellow = false) {
    auto* g = new QGroupBox(title, parent);
    if (yellow) {
        // The title inside the yellow, as on the paper sheet.
        g->setStyleSheet(QStringLiteral(
            "QGroupBox { background-color: #ffffe1; border: 1px solid #a0a0a0; "
            "border-radius: 2px; margin-top: 2px; padding-top: 18px; } "
            "QGroupBox::title { subcontrol-origin: padding; subcontrol-position: top left; "
            "left: 8px; top: 3px; }"));
    }
    return g;
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QTreeWidget* reportList(const QString& name, const QStringList& headings,
                        const std::vector<int>& widths, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHeaderLabels(headings);
    list->header()->setMinimumSectionSize(1);
    list->header()->setStretchLastSection(false);
    for (std::size_t c = 0; c < widths.size(); ++c) {
        if (widths[c] > 0) list->setColumnWidth(static_cast<int>(c), widths[c]);
    }
    return list;
}

QHBoxLayout* pair(QWidget* a, QWidget* b) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(a);
    row->addWidget(b);
    return row;
}

}  // namespace

ApplicationDetailView::ApplicationDetailView(AppContext& ctx, const QString& projectId,
                                             QWidget* parent)
    : QDialog(parent), ctx_(ctx), projectId_(projectId) {
    setObjectName(QStringLiteral("frmProInfo"));
    setWindowTitle(QStringLiteral("项目信息"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    QFont bold = pages_->tabBar()->font();
    bold.setBold(true);
    pages_->tabBar()->setFont(bold);
    pages_->addTab(firstSheet(), QStringLiteral("简表一"));
    pages_->addTab(secondSheet(), QStringLiteral("简表二"));
    pages_->addTab(thirdSheet(), QStringLiteral("简表三"));
    pages_->addTab(fourthSheet(), QStringLiteral("简表四"));
    for (int i = 0; i < pages_->count(); ++i) {
        pages_->widget(i)->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
    }

    auto* hiddenId = boundEdit(QStringLiteral("Project_ID"), this);
    hiddenId->hide();
    auto* renumber = new QPushButton(QStringLiteral("修改项目编号"), this);
    renumber->setObjectName(QStringLiteral("Button2"));
    renumber->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("确认"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(renumber);
    buttons->addSpacing(40);
    buttons->addWidget(ok);
    buttons->addSpacing(20);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
    setFixedSize(kClientSize);

    connect(renumber, &QPushButton::clicked, this, &ApplicationDetailView::renumber);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QLineEdit* ApplicationDetailView::boundEdit(const QString& column, QWidget* parent,
                                            const QString& name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name.isEmpty() ? QStringLiteral("DBEdit_") + column : name);
    e->setReadOnly(true);
    e->setProperty("dataField", column);
    bindings_.push_back({column, e, nullptr});
    return e;
}

QPlainTextEdit* ApplicationDetailView::boundMemo(const QString& column, QWidget* parent) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QStringLiteral("DBMemo_") + column);
    m->setReadOnly(true);
    m->setProperty("dataField", column);
    bindings_.push_back({column, nullptr, m});
    return m;
}

QWidget* ApplicationDetailView::firstSheet() {
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidgetResizable(true);
    auto* sheet = new QWidget(scroll);
    auto* layout = new QVBoxLayout(sheet);
    auto e = [&](const char* column, QWidget* parent) {
        return boundEdit(QString::fromUtf8(column), parent);
    };

    auto* topic = group(QStringLiteral("研究课题"), sheet, true);
    auto* g = new QGridLayout(topic);
    g->addWidget(caption(QStringLiteral("名称"), topic), 0, 0);
    g->addWidget(e("Project_Name", topic), 0, 1, 1, 5);
    g->addWidget(caption(QStringLiteral("学科名称"), topic), 1, 0);
    g->addWidget(e("SubjectName", topic), 1, 1, 1, 2);
    g->addWidget(caption(QStringLiteral("相关学科"), topic), 1, 3);
    g->addWidget(e("CorrelativeSub_Name", topic), 1, 4, 1, 2);
    g->addWidget(caption(QStringLiteral("学科代码"), topic), 2, 0);
    g->addWidget(e("Subjectcode", topic), 2, 1, 1, 2);
    g->addWidget(caption(QStringLiteral("学科代码"), topic), 2, 3);
    g->addWidget(e("CorrelativeSub_Code", topic), 2, 4, 1, 2);
    g->addWidget(caption(QStringLiteral("申请经费"), topic), 3, 0);
    g->addWidget(e("PrimaryProj_BeginYear", topic), 3, 1);
    g->addWidget(caption(QStringLiteral("起始年月"), topic), 3, 2);
    g->addLayout(pair(e("BeginYear", topic), e("BeginMonth", topic)), 3, 3);
    g->addWidget(caption(QStringLiteral("终止年月"), topic), 3, 4);
    g->addLayout(pair(e("EndYear", topic), e("EndMonth", topic)), 3, 5);
    auto* kind = group(QStringLiteral("研究类别"), topic, true);
    auto* kindLayout = new QHBoxLayout(kind);
    kindLayout->addWidget(e("SearchKind", kind));
    g->addWidget(kind, 4, 0, 1, 6);
    layout->addWidget(topic);

    auto* applicant = group(QStringLiteral("申请者"), sheet, true);
    g = new QGridLayout(applicant);
    g->addWidget(caption(QStringLiteral("姓名"), applicant), 0, 0);
    g->addWidget(e("Applyer_Name", applicant), 0, 1);
    g->addWidget(caption(QStringLiteral("出生年月"), applicant), 0, 2);
    g->addLayout(pair(e("Applyer_BirthYear", applicant), e("Applyer_BirthMonth", applicant)), 0, 3);
    g->addWidget(caption(QStringLiteral("性别"), applicant), 0, 4);
    g->addWidget(e("Applyer_Sex", applicant), 0, 5);
    g->addWidget(caption(QStringLiteral("技术职称"), applicant), 1, 0);
    g->addWidget(e("Applyer_TechPosition", applicant), 1, 1);
    g->addWidget(caption(QStringLiteral("定职时间"), applicant), 1, 2);
    g->addWidget(e("Applyer_PositionYear", applicant), 1, 3);
    g->addWidget(caption(QStringLiteral("行政职务"), applicant), 1, 4);
    g->addWidget(e("Applyer_AdminPosition", applicant), 1, 5);
    g->addWidget(caption(QStringLiteral("毕业学校"), applicant), 2, 0);
    g->addWidget(e("Applyer_GraduateSchool", applicant), 2, 1);
    g->addWidget(caption(QStringLiteral("毕业时间"), applicant), 2, 2);
    g->addWidget(e("Applyer_GraduateDate", applicant), 2, 3);
    g->addWidget(caption(QStringLiteral("最终学位"), applicant), 2, 4);
    g->addWidget(e("Applyer_FinalDegree", applicant), 2, 5);
    g->addWidget(caption(QStringLiteral("联系电话"), applicant), 3, 0);
    g->addWidget(e("Applyer_Telephone", applicant), 3, 1);
    g->addWidget(caption(QStringLiteral("e_mail地址"), applicant), 3, 2);
    g->addWidget(e("Applyer_Email", applicant), 3, 3, 1, 3);
    g->addWidget(caption(QStringLiteral("学术兼职（限45汉字）"), applicant), 4, 0, 1, 2);
    g->addWidget(e("Applyer_AddedJob", applicant), 4, 2, 1, 4);
    auto* languages = group(QStringLiteral("外语"), applicant, true);
    auto* lg = new QGridLayout(languages);
    lg->addWidget(caption(QStringLiteral("语种一"), languages), 0, 0);
    lg->addWidget(e("Language1_name", languages), 0, 1);
    lg->addWidget(caption(QStringLiteral("程度"), languages), 0, 2);
    lg->addWidget(e("Language1_grade", languages), 0, 3);
    lg->addWidget(caption(QStringLiteral("语种二"), languages), 1, 0);
    lg->addWidget(e("Language2_name", languages), 1, 1);
    lg->addWidget(caption(QStringLiteral("程度"), languages), 1, 2);
    lg->addWidget(e("Language2_grade", languages), 1, 3);
    g->addWidget(languages, 5, 0, 1, 6);
    e("Apply_Year", applicant)->hide();
    layout->addWidget(applicant);

    auto* keywords =
        group(QStringLiteral("填写概括课题内容的六个关键词(主题词),关键词个数可少于六个,"
                             "关键词之间用逗号隔开"),
              sheet, true);
    auto* kl = new QHBoxLayout(keywords);
    kl->addWidget(e("ProjectKeyword", keywords));
    layout->addWidget(keywords);

    auto* earlier = group(QStringLiteral("申请人已完成的本基金原资助课题"), sheet, true);
    g = new QGridLayout(earlier);
    g->addWidget(caption(QStringLiteral("执行年限"), earlier), 0, 0);
    g->addWidget(e("PrimaryPro_EndYear", earlier), 0, 1);
    g->addWidget(caption(QStringLiteral("资助经费"), earlier), 0, 2);
    g->addWidget(e("PrimaryPro_AidMoney", earlier), 0, 3);
    g->addWidget(caption(QStringLiteral("完成时间"), earlier), 0, 4);
    g->addWidget(e("PrimaryPro_FinDate", earlier), 0, 5);
    layout->addWidget(earlier);

    auto* sources = group(QStringLiteral("本课题组及课题负责人其他经费来源(<30个字)"
                                         "(申请联合资助,应注明联合资助单位及金额)"),
                          sheet, true);
    auto* sl = new QVBoxLayout(sources);
    auto* memo = boundMemo(QStringLiteral("OtherMoneySource"), sources);
    memo->setFixedHeight(60);
    sl->addWidget(memo);
    layout->addWidget(sources);
    layout->addStretch();

    scroll->setWidget(sheet);
    return scroll;
}

QWidget* ApplicationDetailView::secondSheet() {
    auto* sheet = new QWidget;
    auto* layout = new QVBoxLayout(sheet);

    auto* people = group(QStringLiteral("课题申请人及主要参加人员的基本情况表"), sheet);
    auto* pl = new QVBoxLayout(people);
    members_ = reportList(
        QStringLiteral("ListView1"),
        {QString(), QStringLiteral("姓名"), QStringLiteral("出生年月"), QStringLiteral("技术职称"),
         QStringLiteral("专业"), QStringLiteral("工作单位"), QStringLiteral("投入工时（月/年）")},
        {1, 80, 90, 100, 150, 200, 100}, people);
    pl->addWidget(members_);
    layout->addWidget(people, 3);

    auto* counts = group(QStringLiteral("人员统计"), sheet);
    auto* cg = new QGridLayout(counts);
    cg->addWidget(caption(QStringLiteral("总人数："), counts), 0, 0);
    cg->addWidget(boundEdit(QStringLiteral("AttendedSumPeople"), counts), 0, 1);
    // Two columns of counts as on the paper form, each box in its slice's colour.
    const std::vector<std::pair<int, int>> places = {{3, 0}, {1, 2}, {2, 2},
                                                     {3, 2}, {2, 0}, {1, 0}};
    const auto& groups = peopleGroups();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        auto* box = boundEdit(QString::fromUtf8(groups[i].column), counts);
        const QColor c = groups[i].colour;
        const bool dark = 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue() < 150;
        box->setStyleSheet(
            QStringLiteral("QLineEdit { background-color: %1; color: %2; }")
                .arg(c.name(), dark ? QStringLiteral("white") : QStringLiteral("black")));
        box->setFixedWidth(60);
        cg->addWidget(caption(QString::fromUtf8(groups[i].label), counts), places[i].first,
                      places[i].second);
        cg->addWidget(box, places[i].first, places[i].second + 1);
    }
    cg->setRowStretch(4, 1);

    auto* pieGroup = group(QStringLiteral("参加人员知识结构饼图"), sheet);
    auto* pgl = new QVBoxLayout(pieGroup);
    pgl->setContentsMargins(2, 2, 2, 2);
    pie_ = new QPieSeries;
    pie_->setObjectName(QStringLiteral("Series1"));
    chart_ = new QChart;
    chart_->addSeries(pie_);
    chart_->setTitle(QString::fromUtf8(applications::kKnowledgePieTitle));
    chart_->setTitleBrush(QColor(0x00, 0x00, 0xff));
    QFont titleFont;
    titleFont.setFamilies({QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi"),
                           QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")});
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    chart_->setTitleFont(titleFont);
    chart_->legend()->hide();
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    auto* view = new QChartView(chart_, pieGroup);
    view->setObjectName(QStringLiteral("DBChart1"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setInteractive(false);
    pgl->addWidget(view);

    auto* middle = new QHBoxLayout;
    middle->addWidget(counts, 2);
    middle->addWidget(pieGroup, 3);
    layout->addLayout(middle, 4);

    layout->addWidget(new QLabel(QStringLiteral("本课题合作单位简单情况："), sheet));
    auto* cooperation = boundMemo(QStringLiteral("Cooperator_Info"), sheet);
    layout->addWidget(cooperation, 1);
    return sheet;
}

QWidget* ApplicationDetailView::thirdSheet() {
    auto* sheet = new QWidget;
    auto* layout = new QVBoxLayout(sheet);

    auto* budget = group(QStringLiteral("经费概算（单位：万元人民币）"), sheet);
    auto* g = new QGridLayout(budget);
    g->addWidget(caption(QStringLiteral("合计："), budget), 0, 0);
    g->addWidget(
        boundEdit(QStringLiteral("PrimaryProj_BeginYear"), budget, QStringLiteral("DBEdit_Total")),
        0, 1);
    const std::vector<std::pair<const char*, const char*>> fees = {
        {"设备费：", "Machine_Fee"},     {"材料费：", "Stuff_Fee"},  {"计算费：", "Count_Fee"},
        {"资料费：", "Information_Fee"}, {"差旅费：", "Travel_Fee"}, {"其它：", "Other_Fee"}};
    for (std::size_t i = 0; i < fees.size(); ++i) {
        const int row = 1 + static_cast<int>(i) / 3;
        const int col = 2 * (static_cast<int>(i) % 3);
        g->addWidget(caption(QString::fromUtf8(fees[i].first), budget), row, col);
        g->addWidget(boundEdit(QString::fromUtf8(fees[i].second), budget), row, col + 1);
    }
    layout->addWidget(budget);

    auto* machines = group(QStringLiteral("需购置设备"), sheet);
    auto* ml = new QVBoxLayout(machines);
    equipment_ = reportList(
        QStringLiteral("ListView2"),
        {QString(), QStringLiteral("名称"), QStringLiteral("数量"), QStringLiteral("金额")},
        {1, 200, 0, 80}, machines);
    ml->addWidget(equipment_);
    layout->addWidget(machines, 1);

    auto* profile = group(QStringLiteral("申请人员简介"), sheet);
    auto* pl = new QVBoxLayout(profile);
    pl->addWidget(boundMemo(QStringLiteral("Applyer_Introduction"), profile));
    layout->addWidget(profile, 2);
    return sheet;
}

QWidget* ApplicationDetailView::fourthSheet() {
    auto* sheet = new QWidget;
    auto* layout = new QVBoxLayout(sheet);
    auto* works = group(QStringLiteral("申请者和主要合作者五年以来的主要研究成果，发表的论文，"
                                       "著作目录（按申请者，合作者，发表时间由新至"),
                        sheet);
    auto* wl = new QVBoxLayout(works);
    publications_ = reportList(QStringLiteral("ListView3"),
                               {QStringLiteral("姓名"), QStringLiteral("序号"),
                                QStringLiteral("时间"), QStringLiteral("著者名次"),
                                QStringLiteral("论文专著名称"), QStringLiteral("发表刊物及出版社")},
                               {1, 60, 100, 70, 300, 300}, works);
    wl->addWidget(publications_);
    layout->addWidget(works);
    return sheet;
}

void ApplicationDetailView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
    load();
}

void ApplicationDetailView::load() {
    for (const Binding& b : bindings_) {
        if (b.edit) b.edit->clear();
        if (b.memo) b.memo->clear();
    }
    members_->clear();
    equipment_->clear();
    publications_->clear();
    pie_->clear();

    guarded(ctx_.prompt, this, [&] {
        const std::string id = ss(projectId_);
        auto detail = applications::loadApplication(ctx_.db(), id);
        if (!detail) return;
        for (const Binding& b : bindings_) {
            const QString text = qs(applications::boxText(detail->apply, ss(b.column)));
            if (b.edit) {
                b.edit->setText(text);
                b.edit->setCursorPosition(0);
            }
            if (b.memo) b.memo->setPlainText(text);
        }
        auto addRow = [](QTreeWidget* list, QStringList cells) {
            list->addTopLevelItem(new QTreeWidgetItem(cells));
        };
        auto texts = [](const std::vector<std::string>& cells) {
            QStringList out{QString()};
            for (const auto& c : cells) out << qs(c);
            return out;
        };
        for (const auto& m : detail->members) addRow(members_, texts(applications::memberCells(m)));
        for (const auto& m : detail->equipment) {
            addRow(equipment_, texts(applications::equipmentCells(m)));
        }
        for (const auto& p : applications::publicationsNewestFirst(ctx_.db(), id)) {
            addRow(publications_, texts(applications::publicationCells(p)));
        }
        const auto slices = applications::knowledgeStructure(detail->apply);
        const auto& groups = peopleGroups();
        for (std::size_t i = 0; i < slices.size(); ++i) {
            auto* slice = pie_->append(qs(slices[i].label), slices[i].value);
            slice->setColor(groups[i].colour);
            slice->setBorderColor(QColor(0x40, 0x40, 0x40));
            slice->setLabelVisible(slices[i].value > 0);
            slice->setProperty("dataField", QString::fromUtf8(slices[i].column.c_str()));
        }
    });
}

void ApplicationDetailView::renumber() {
    ProjectNumberDialog dialog(ctx_, this);
    dialog.setNumber(projectId_.mid(8, 3));
    ctx_.showModal(dialog);
    const QString number = dialog.number();
    if (number.isEmpty()) return;

    applications::RenumberResult result;
    if (!guarded(ctx_.prompt, this, [&] {
            result = applications::renumberApplication(ctx_.db(), ctx_.store.home(), ss(projectId_),
                                                       ss(number));
        })) {
        return;
    }
    for (const std::string& warning : result.warnings) ctx_.prompt.message(this, qs(warning));
    if (!result.ok) {
        if (result.error == applications::kNumberTaken) {
            ctx_.prompt.captioned(this, QStringLiteral("错误"), qs(result.error));
        } else {
            ctx_.prompt.error(this, qs(result.error));
        }
        return;
    }
    projectId_ = qs(result.newId);
}

}  // namespace xinghe::gui
