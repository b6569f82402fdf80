// Chooses the Word documents of an import batch: one file, or every document of a folder.
#pragma once

#include <QDialog>

#include "gui/shell/AppContext.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTreeView;

namespace xinghe::gui {

class DocumentSelectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit DocumentSelectionDialog(AppContext& ctx, QWidget* parent = nullptr);

    // 1: application forms (the default), 2: final reports.
    int kind() const { return kind_; }
    void setKind(int kind) { kind_ = kind; }

    QString folder() const { return folder_; }
    // Shows the folder in the tree and its documents in the file list.
    void setFolder(const QString& folder);

    // 确定
    void confirm();

signals:
    // The import batch started from here has ended.
    void batchEnded();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void listFiles();
    void revealFolder();
    void fileClicked(QListWidgetItem* item);

    AppContext& ctx_;
    int kind_ = 1;
    QString folder_;

    QFileSystemModel* folders_;
    QTreeView* tree_;
    QListWidget* files_;
    QLineEdit* name_;
    QCheckBox* all_;
    QComboBox* filter_;
};

}  // namespace xinghe::gui
