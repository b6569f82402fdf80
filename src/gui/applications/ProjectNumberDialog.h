// Asks for the in-school part (three digits) of a project number.
#pragma once

#include <QDialog>

#include "gui/shell/AppContext.h"

class QLineEdit;

namespace xinghe::gui {

class ProjectNumberDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProjectNumberDialog(AppContext& ctx, QWidget* parent = nullptr);

    void setNumber(const QString& number);
    // The accepted three digits; empty when the dialog was cancelled.
    QString number() const;

    void reject() override;  // 取消, Escape and the window frame: no number

private:
    void confirm();

    AppContext& ctx_;
    QLineEdit* edit_;
};

}  // namespace xinghe::gui
