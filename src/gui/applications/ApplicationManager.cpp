#include "gui/applications/ApplicationManager.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/applications/Applications.h"
#include "core/applications/Banner.h"
#include "core/applications/YearSetting.h"
#include "core/forms/LibreOffice.h"
#include "gui/applications/ApplicationDetailView.h"
#include "gui/applications/DocumentSelectionDialog.h"
#include "gui/applications/ManagerIcons.h"
#include "gui/applications/YearSettingDialog.h"
#include "gui/common/Artwork.h"
#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"

namespace xinghe::gui {

namespace {

constexpr QSize kWindowSize(760, 580);
constexpr QSize kButtonSize(55, 35);

// Sub-item positions of a list row after the empty first column.
enum Column { kHidden, kProjectId, kYear, kApplicant, kProject, kUnit, kCollege, kSubject };

const QString kYearMissing =
    QStringLiteral("请先进行【年份设置】操作，设定当前系统认可的申请书年份");
const QString kAfterSubmission = QStringLiteral(
    "您刚刚完成一次数据提交，如果要进行下一年的申请录入工作，请进行 "
    "1:【年份设置】操作重新设置年份！2:【学校信息】的更新");

// Read-only, light-yellow with blue text, as both panels show their data.
void styleDataView(QTreeWidget* view) {
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setStyleSheet(
        QStringLiteral("QTreeWidget { background-color: #ffffe1; color: #0000ff; }"));
}

QWidget* panel(const QString& heading, QWidget* content, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* head = new QLabel(heading, box);
    head->setFrameShape(QFrame::Panel);
    head->setFrameShadow(QFrame::Raised);
    head->setMinimumHeight(22);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(head);
    layout->addWidget(content, 1);
    return box;
}

}  // namespace

ApplicationManager::ApplicationManager(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmYanFaChu"));
    setWindowTitle(productTitle() + QStringLiteral("--项目申请管理"));
    QFont songti(QStringLiteral("宋体"));
    songti.setPixelSize(12);
    setFont(songti);
    resize(kWindowSize);

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("ToolBar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->addSeparator();
    using artwork::Icon;
    auto* year = addButton(QStringLiteral("Tbtn_SetYear"), QStringLiteral("年份设置"),
                           managerIcon(ManagerIcon::Year));
    auto* add = addButton(QStringLiteral("Tbtn_add"), QStringLiteral("添加申请"),
                          managerIcon(ManagerIcon::Add));
    auto* remove = addButton(QStringLiteral("Tbtn_delete"), QStringLiteral("删除申请"),
                             managerIcon(ManagerIcon::Delete));
    auto* print = addButton(QStringLiteral("Tbtn_print"), QStringLiteral("申请打印"),
                            managerIcon(ManagerIcon::Print));
    auto* fresh = addButton(QStringLiteral("Tbtn_fresh"), QStringLiteral("刷新"),
                            managerIcon(ManagerIcon::Refresh));
    auto* help = addButton(QStringLiteral("Tbtn_help"), QStringLiteral("帮助"),
                           artwork::toolIcon(Icon::Help));
    help->setEnabled(false);
    auto* back = addButton(QStringLiteral("Tbtn_exit"), QStringLiteral("返回"),
                           artwork::toolIcon(Icon::Back));
    toolbar_->addSeparator();

    years_ = new QTreeWidget(this);
    years_->setObjectName(QStringLiteral("TreeView1"));
    years_->setHeaderHidden(true);
    years_->setColumnCount(1);
    years_->setAutoExpandDelay(0);
    years_->setRootIsDecorated(false);
    styleDataView(years_);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ListView_look"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::NoContextMenu);
    styleDataView(list_);
    list_->setHeaderLabels({QString(), QStringLiteral("序号"), QStringLiteral("申请年度"),
                            QStringLiteral("申请人"), QStringLiteral("项目名称"),
                            QStringLiteral("所在单位"), QStringLiteral("所在院系"),
                            QStringLiteral("学科名称")});
    // A style sheet does not pass the window's font on: given again.
    years_->setFont(songti);
    list_->setFont(songti);
    list_->header()->setFont(songti);
    list_->header()->setMinimumSectionSize(1);
    list_->header()->setStretchLastSection(false);
    const int widths[] = {1, 80, 60, 60, 80, 100, 100, 100};
    for (int c = 0; c < 8; ++c) list_->setColumnWidth(c, widths[c]);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(panel(QStringLiteral(" 申请项目年份"), years_, split));
    split->addWidget(panel(QStringLiteral(" 申请项目列表"), list_, split));
    split->setStretchFactor(1, 1);
    split->setSizes({150, kWindowSize.width() - 150});

    banner_ = new QLabel(this);
    banner_->setObjectName(QStringLiteral("Label1"));
    QFont kai;
    kai.setFamilies({QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi"),
                     QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")});
    kai.setPixelSize(16);
    kai.setItalic(true);
    banner_->setFont(kai);
    banner_->setStyleSheet(QStringLiteral("color: #0000ff;"));
    banner_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(300);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(toolbar_);
    layout->addWidget(split, 1);
    layout->addWidget(banner_);

    connect(year, &QToolButton::clicked, this, &ApplicationManager::openYearSetting);
    connect(add, &QToolButton::clicked, this, &ApplicationManager::addApplications);
    connect(remove, &QToolButton::clicked, this, &ApplicationManager::deleteApplication);
    connect(print, &QToolButton::clicked, this, &ApplicationManager::printApplication);
    connect(fresh, &QToolButton::clicked, this, &ApplicationManager::refreshYears);
    connect(back, &QToolButton::clicked, this, &QDialog::reject);
    connect(years_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showYear(item->text(0)); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &ApplicationManager::openDetail);
    connect(timer_, &QTimer::timeout, this, &ApplicationManager::moveBanner);

    refreshYears();
    timer_->start();
}

QToolButton* ApplicationManager::addButton(const QString& name, const QString& caption,
                                           const QIcon& icon) {
    return addToolbarButton(toolbar_, name, caption, icon, kButtonSize);
}

void ApplicationManager::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

QTreeWidgetItem* ApplicationManager::selectedRow() const {
    const auto rows = list_->selectedItems();
    return rows.isEmpty() ? nullptr : rows.front();
}

void ApplicationManager::refreshYears() {
    years_->clear();
    list_->clear();
    guarded(ctx_.prompt, this, [&] {
        for (const std::string& y : applications::applicationYears(ctx_.db())) {
            years_->addTopLevelItem(new QTreeWidgetItem(QStringList{qs(y)}));
        }
    });
}

void ApplicationManager::showYear(const QString& year) {
    list_->clear();
    guarded(ctx_.prompt, this, [&] {
        for (const auto& a : applications::listApplications(ctx_.db(), ss(year))) {
            list_->addTopLevelItem(new QTreeWidgetItem(QStringList{
                QString(), qs(a.projectId), qs(a.year), qs(a.applicant), qs(a.projectName),
                qs(a.university), qs(a.college), qs(a.subjectName)}));
        }
    });
}

void ApplicationManager::openYearSetting() {
    YearSettingDialog dialog(ctx_, this);
    ctx_.showModal(dialog);
}

void ApplicationManager::addApplications() {
    bool yearSet = false;
    if (!guarded(ctx_.prompt, this,
                 [&] { yearSet = applications::acceptedYear(ctx_.db()).has_value(); })) {
        return;
    }
    if (!yearSet) {
        ctx_.prompt.message(this, kYearMissing);
        return;
    }
    if (ctx_.submissionMade) {
        // After a submission the next year is set up first; the next press goes on.
        ctx_.submissionMade = false;
        ctx_.prompt.message(this, kAfterSubmission);
        openYearSetting();
        return;
    }
    DocumentSelectionDialog selection(ctx_, this);
    connect(&selection, &DocumentSelectionDialog::batchEnded, this,
            &ApplicationManager::refreshYears);
    ctx_.showModal(selection);
}

void ApplicationManager::deleteApplication() {
    QTreeWidgetItem* row = selectedRow();
    if (!row) {
        ctx_.prompt.information(this, QStringLiteral("请选定要删除的申请！"));
        return;
    }
    if (!ctx_.prompt.confirm(this, QStringLiteral("确实要删除该申请吗？"))) return;
    const std::string projectId = ss(row->text(kProjectId));
    guarded(ctx_.prompt, this,
            [&] { applications::deleteApplication(ctx_.db(), ctx_.store.home(), projectId); });
    refreshYears();
}

void ApplicationManager::printApplication() {
    QTreeWidgetItem* row = selectedRow();
    if (!row) {
        ctx_.prompt.information(this, QStringLiteral("请选定要打印的申请！"));
        return;
    }
    if (!ctx_.prompt.confirm(this, QStringLiteral("确实要打印该申请吗？"))) return;

    const auto form =
        applications::findFiledForm(ctx_.store.home(), ss(row->text(kYear)),
                                    ss(row->text(kProjectId)), ss(row->text(kApplicant)));
    if (!form) {
        ctx_.prompt.message(this,
                            QStringLiteral("找不到该申请的申请书文件（%1年，编号%2），无法打印！")
                                .arg(row->text(kYear), row->text(kProjectId)));
        return;
    }
    const auto office = forms::findLibreOffice();
    if (!office) {
        ctx_.prompt.message(this, QStringLiteral("没有找到 LibreOffice，无法打印申请书！请安装 "
                                                 "LibreOffice Writer 后再试。"));
        return;
    }
    // Printing runs on its own; the window stays usable meanwhile.
    auto* job = new QProcess(this);
    job->setObjectName(QStringLiteral("PrintJob"));
    job->setProgram(QString::fromStdString(office->string()));
    job->setArguments({QStringLiteral("--headless"), QStringLiteral("-p"),
                       QString::fromStdString(form->string())});
    job->setProcessChannelMode(QProcess::MergedChannels);
    connect(job, &QProcess::errorOccurred, this, [this, job](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            ctx_.prompt.message(
                this,
                QStringLiteral("无法启动 LibreOffice 打印申请书：%1").arg(job->errorString()));
            job->deleteLater();
        }
    });
    connect(job, &QProcess::finished, this, [this, job](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0) {
            ctx_.prompt.message(this, QStringLiteral("申请书打印失败：%1")
                                          .arg(QString::fromLocal8Bit(job->readAll()).trimmed()));
        }
        job->deleteLater();
    });
    job->start();
}

void ApplicationManager::openDetail(QTreeWidgetItem* row) {
    if (!row) return;
    ApplicationDetailView view(ctx_, row->text(kProjectId), this);
    ctx_.showModal(view);
    // The application may carry another number now.
    list_->clear();
}

void ApplicationManager::moveBanner() {
    banner_->setText(qs(applications::nextBannerText(ss(banner_->text()))));
}

}  // namespace xinghe::gui
