// The system-management window: the administrative functions behind one toolbar.
#pragma once

#include <QDialog>

#include "gui/shell/AppContext.h"

class QToolBar;
class QToolButton;

namespace xinghe::gui {

class SystemWindow : public QDialog {
    Q_OBJECT
public:
    explicit SystemWindow(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QToolButton* addButton(const QString& name, const QString& caption, const QIcon& icon);
    void openUnitInfo();
    void openUsers();
    void openPassword();

    AppContext& ctx_;
    QToolBar* toolbar_;
};

}  // namespace xinghe::gui
