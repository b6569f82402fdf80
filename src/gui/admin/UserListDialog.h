// The user list: add, delete and change users.
#pragma once

#include <QDialog>

#include "gui/shell/AppContext.h"

class QTreeWidget;

namespace xinghe::gui {

class UserListDialog : public QDialog {
    Q_OBJECT
public:
    explicit UserListDialog(AppContext& ctx, QWidget* parent = nullptr);

    void refill();

private:
    // The user name of the selected row; empty when no row is selected.
    QString selectedUser() const;
    void addUser();
    void deleteUser();
    void modifyUser();

    AppContext& ctx_;
    QTreeWidget* list_;
};

}  // namespace xinghe::gui
