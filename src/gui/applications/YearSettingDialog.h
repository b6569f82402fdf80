// Sets the application year the imports accept.
#pragma once

#include <QDialog>

#include "gui/shell/AppContext.h"

class QComboBox;

namespace xinghe::gui {

class YearSettingDialog : public QDialog {
    Q_OBJECT
public:
    explicit YearSettingDialog(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();

    AppContext& ctx_;
    QComboBox* year_;
};

}  // namespace xinghe::gui
