// The logged-in user changes the own password.
#pragma once

#include <QDialog>

#include "gui/shell/AppContext.h"

class QLineEdit;

namespace xinghe::gui {

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit PasswordDialog(AppContext& ctx, QWidget* parent = nullptr);

private:
    void change();

    AppContext& ctx_;
    QLineEdit* old_;
    QLineEdit* new_;
    QLineEdit* confirm_;
};

}  // namespace xinghe::gui
