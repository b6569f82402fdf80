// The registration record of the user's own unit: read-only until 编辑, saved as a
// whole with 保存.
#pragma once

#include <QDialog>
#include <QLabel>

#include "core/admin/UnitInfo.h"
#include "gui/shell/AppContext.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace xinghe::gui {

// A label that reports double-clicks (the notes that unlock the start number).
class NoteLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class UnitInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit UnitInfoDialog(AppContext& ctx, QWidget* parent = nullptr);

private:
    QLineEdit* addEdit(const QString& name);
    void load();
    void nameChosen(const QString& name);
    void joinAddress();
    void startEditing();
    void unlockStartNumber();
    void save();
    admin::UnitRecord gather() const;

    AppContext& ctx_;
    QComboBox* name_;
    QLineEdit* collegenum_;
    QLineEdit* department_;
    QLineEdit* post_;
    QLineEdit* sheng_;
    QLineEdit* shi_;
    QLineEdit* qu_;
    QLineEdit* jie_;
    QLineEdit* hao_;
    QLineEdit* address_;
    QLineEdit* managedepart_;
    QLineEdit* man_;
    QLineEdit* phone_;
    QLineEdit* email_;
    QLineEdit* countname_;
    QLineEdit* bank_;
    QLineEdit* count_;
    QLineEdit* code_;
    NoteLabel* codeNote_;
    NoteLabel* saveNote_;
    QPushButton* edit_;
    QPushButton* save_;
};

}  // namespace xinghe::gui
