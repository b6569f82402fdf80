#include "gui/applications/ImportProgressDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/imports/ImportResult.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"

namespace xinghe::gui {

namespace {

enum Column { kHidden, kId, kFile, kStatus, kHint };

}  // namespace

ImportProgressDialog::ImportProgressDialog(AppContext& ctx, int kind,
                                           std::vector<std::filesystem::path> documents,
                                           QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      kind_(kind),
      documents_(std::move(documents)),
      progress_(documents_.size()),
      importer_(ctx.store) {
    setObjectName(QStringLiteral("frmdoc"));
    setWindowTitle(QStringLiteral("正在处理文档列表"));
    // No close box: the dialog is left through 返回 only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* note = new QLabel(QStringLiteral("注意：此过程将会耗费较多的时间，请耐心等待！"), this);
    note->setObjectName(QStringLiteral("Label1"));
    note->setStyleSheet(QStringLiteral("color: red;"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ListView1"));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHeaderLabels({QString(), QStringLiteral("ID"), QStringLiteral("文件名"),
                            QStringLiteral("处理状态"), QStringLiteral("提示")});
    list_->header()->setStretchLastSection(true);
    list_->header()->setMinimumSectionSize(1);
    list_->setColumnWidth(kHidden, 1);
    list_->setColumnWidth(kId, 40);
    list_->setColumnWidth(kFile, 300);
    list_->setColumnWidth(kStatus, 90);
    for (std::size_t i = 0; i < documents_.size(); ++i) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kId, QString::number(i + 1));
        item->setText(kFile, QString::fromStdString(documents_[i].string()));
        item->setText(kStatus, QString::fromUtf8(imports::kWaiting));
    }

    documentBar_ = new QProgressBar(this);
    documentBar_->setObjectName(QStringLiteral("ProgressBar1"));
    batchBar_ = new QProgressBar(this);
    batchBar_->setObjectName(QStringLiteral("ProgressBar2"));
    documentBar_->setRange(0, applications::BatchProgress::kDocumentMaximum);
    batchBar_->setRange(0, progress_.batchMaximum());
    showProgress();
    auto* bars = new QGridLayout;
    bars->addWidget(new QLabel(QStringLiteral("文档处理进度"), this), 0, 0);
    bars->addWidget(documentBar_, 0, 1);
    bars->addWidget(new QLabel(QStringLiteral("总进度"), this), 1, 0);
    bars->addWidget(batchBar_, 1, 1);

    start_ = new QPushButton(QStringLiteral("开始处理"), this);
    start_->setObjectName(QStringLiteral("Btn_start"));
    start_->setAutoDefault(false);
    back_ = new QPushButton(QStringLiteral("返回"), this);
    back_->setObjectName(QStringLiteral("Btn_return"));
    back_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addSpacing(30);
    buttons->addWidget(back_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(list_, 1);
    layout->addLayout(bars);
    layout->addLayout(buttons);
    resize(720, 420);

    connect(start_, &QPushButton::clicked, this, &ImportProgressDialog::start);
    connect(back_, &QPushButton::clicked, this, &ImportProgressDialog::reject);
}

ImportProgressDialog::~ImportProgressDialog() {
    // The worker posts to this window; it must be finished before the window goes.
    importer_.wait();
}

void ImportProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void ImportProgressDialog::reject() {
    if (running_) return;
    QDialog::reject();
}

void ImportProgressDialog::showProgress() {
    documentBar_->setValue(progress_.documentValue());
    batchBar_->setValue(progress_.batchValue());
}

void ImportProgressDialog::setRow(std::size_t index, const QString& status, const QString& hint) {
    QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(index));
    if (!item) return;
    item->setText(kStatus, status);
    item->setText(kHint, hint);
    list_->scrollToItem(item);
}

void ImportProgressDialog::start() {
    start_->setEnabled(false);
    back_->setEnabled(false);
    if (kind_ != static_cast<int>(imports::DocumentKind::Application)) {
        // Only application forms can be imported so far.
        ctx_.prompt.message(this, QStringLiteral("文档类型不支持"));
        back_->setEnabled(true);
        return;
    }
    if (documents_.empty()) {
        back_->setEnabled(true);
        return;
    }
    running_ = true;
    setRow(0, QString::fromUtf8(imports::kRunning), QString());
    // The worker calls the sink on its own thread: each event is handed on to this
    // window's thread before anything is drawn.
    importer_.start(documents_, [this](const imports::ImportEvent& event) {
        QMetaObject::invokeMethod(
            this, [this, event] { handle(event); }, Qt::QueuedConnection);
    });
}

void ImportProgressDialog::handle(const imports::ImportEvent& event) {
    if (event.type == imports::ImportEvent::Type::Tick) {
        progress_.tick();
        showProgress();
        return;
    }
    const imports::ImportResult& r = event.result;
    QString hint = qs(imports::hintText(r));
    for (const std::string& warning : r.warnings) hint += QStringLiteral("；") + qs(warning);
    setRow(event.index, qs(imports::statusText(r)), hint);

    const std::size_t next = event.index + 1;
    if (next < documents_.size()) {
        setRow(next, QString::fromUtf8(imports::kRunning), QString());
        progress_.documentDone(true);
        showProgress();
        return;
    }
    progress_.documentDone(false);
    showProgress();
    importer_.wait();
    running_ = false;
    ctx_.prompt.message(this, QStringLiteral("所有文档处理完毕！"));
    emit batchEnded();
    back_->setEnabled(true);
}

}  // namespace xinghe::gui
