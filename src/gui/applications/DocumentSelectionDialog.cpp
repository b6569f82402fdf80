#include "gui/applications/DocumentSelectionDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/applications/DocumentChoice.h"
#include "core/imports/ImportBatch.h"
#include "gui/applications/ImportProgressDialog.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"

namespace xinghe::gui {

namespace {

// The folder of the last batch: the next batch usually comes from the same place.
QString& lastFolder() {
    static QString folder;
    return folder;
}

std::filesystem::path toPath(const QString& s) {
    return std::filesystem::path(s.toStdString());
}

}  // namespace

DocumentSelectionDialog::DocumentSelectionDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmsortapply"));
    setWindowTitle(QStringLiteral("选择要增加的申请书"));

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QDir::rootPath());
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("DirectoryTree"));
    tree_->setModel(folders_);
    tree_->setHeaderHidden(true);
    for (int c = 1; c < folders_->columnCount(); ++c) tree_->hideColumn(c);

    files_ = new QListWidget(this);
    files_->setObjectName(QStringLiteral("FileList"));
    name_ = new QLineEdit(QString::fromUtf8(applications::kDocumentPattern), this);
    name_->setObjectName(QStringLiteral("FileNameEdit"));
    all_ = new QCheckBox(QStringLiteral("全选"), this);
    all_->setObjectName(QStringLiteral("SelectAll"));
    filter_ = new QComboBox(this);
    filter_->setObjectName(QStringLiteral("FilterCombo"));
    filter_->addItem(QStringLiteral("申请书 (*.doc *.docx)"));

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("Btn_ok"));
    ok->setAutoDefault(false);
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("Btn_return"));
    back->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("文件目录："), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("文件列表："), this), 0, 1);
    grid->addWidget(tree_, 1, 0);
    grid->addWidget(files_, 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("文件名："), this));
    nameRow->addWidget(name_, 1);
    nameRow->addWidget(all_);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("文件类型："), this));
    filterRow->addWidget(filter_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(30);
    buttons->addWidget(back);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(nameRow);
    layout->addLayout(filterRow);
    layout->addLayout(buttons);
    resize(620, 440);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    folder_ = folders_->filePath(current);
                    listFiles();
                }
            });
    // The folders are read in the background: once the folders around the current one
    // have come in, it is shown again where it now lies.
    auto* reveal = new QTimer(this);
    reveal->setSingleShot(true);
    reveal->setInterval(50);
    connect(reveal, &QTimer::timeout, this, &DocumentSelectionDialog::revealFolder);
    connect(
        folders_, &QFileSystemModel::rowsInserted, this, [this, reveal](const QModelIndex& parent) {
            const QString above = folders_->filePath(parent);
            if (folder_ == above ||
                folder_.startsWith(above.endsWith(QLatin1Char('/')) ? above
                                                                    : above + QLatin1Char('/'))) {
                reveal->start();
            }
        });
    connect(files_, &QListWidget::itemClicked, this, &DocumentSelectionDialog::fileClicked);
    connect(files_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        fileClicked(item);
        confirm();
    });
    connect(ok, &QPushButton::clicked, this, &DocumentSelectionDialog::confirm);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    setFolder(lastFolder().isEmpty() ? QDir::homePath() : lastFolder());
}

void DocumentSelectionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
    // Scrolled once the tree has its size.
    QTimer::singleShot(0, this, &DocumentSelectionDialog::revealFolder);
}

void DocumentSelectionDialog::setFolder(const QString& folder) {
    folder_ = QDir::cleanPath(folder);
    revealFolder();
    listFiles();
}

void DocumentSelectionDialog::revealFolder() {
    const QModelIndex index = folders_->index(folder_);
    if (!index.isValid()) return;
    QSignalBlocker quiet(tree_->selectionModel());
    tree_->setCurrentIndex(index);
    tree_->expand(index);
    tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void DocumentSelectionDialog::listFiles() {
    files_->clear();
    for (const auto& path : imports::collectDocuments({toPath(folder_)})) {
        files_->addItem(QString::fromStdString(path.filename().string()));
    }
}

void DocumentSelectionDialog::fileClicked(QListWidgetItem* item) {
    if (item) name_->setText(QDir(folder_).filePath(item->text()));
}

void DocumentSelectionDialog::confirm() {
    std::vector<std::string> listed;
    for (int i = 0; i < files_->count(); ++i) listed.push_back(ss(files_->item(i)->text()));
    const applications::DocumentChoice choice = applications::chooseDocuments(
        all_->isChecked(), toPath(folder_), listed, ss(name_->text()));
    using Action = applications::DocumentChoice::Action;
    if (choice.action == Action::None) return;
    if (choice.action == Action::Open) {
        setFolder(QString::fromStdString(choice.folder.string()));
        name_->setText(QString::fromUtf8(applications::kDocumentPattern));
        return;
    }
    if (choice.action == Action::Refuse) {
        ctx_.prompt.message(this, qs(choice.message));
        return;
    }
    lastFolder() = folder_;
    ImportProgressDialog progress(ctx_, kind_, choice.documents, this);
    connect(&progress, &ImportProgressDialog::batchEnded, this,
            &DocumentSelectionDialog::batchEnded);
    hide();
    ctx_.showModal(progress);
    accept();
}

}  // namespace xinghe::gui
