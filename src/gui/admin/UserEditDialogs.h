// Adding a user and changing a user's full name and description.
#pragma once

#include <QDialog>

#include "gui/shell/AppContext.h"

class QLineEdit;

namespace xinghe::gui {

class UserAddDialog : public QDialog {
    Q_OBJECT
public:
    explicit UserAddDialog(AppContext& ctx, QWidget* parent = nullptr);

private:
    void add();

    AppContext& ctx_;
    QLineEdit* uid_;
    QLineEdit* name_;
    QLineEdit* describe_;
    QLineEdit* password_;
    QLineEdit* confirm_;
};

class UserModifyDialog : public QDialog {
    Q_OBJECT
public:
    UserModifyDialog(AppContext& ctx, const QString& uid, QWidget* parent = nullptr);

private:
    void modify();

    AppContext& ctx_;
    QLineEdit* uid_;
    QLineEdit* name_;
    QLineEdit* describe_;
};

}  // namespace xinghe::gui
