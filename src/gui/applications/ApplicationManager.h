// The hub of the applications: imported applications by year, with adding (the import
// batch), deleting, printing, the detail view and the year setting.
#pragma once

#include <QDialog>

#include "gui/shell/AppContext.h"

class QLabel;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace xinghe::gui {

class ApplicationManager : public QDialog {
    Q_OBJECT
public:
    explicit ApplicationManager(AppContext& ctx, QWidget* parent = nullptr);

    // 刷新: the year tree from the stored applications, the list emptied. The import
    // batch does the same when it ends.
    void refreshYears();
    // The applications of one year into the list.
    void showYear(const QString& year);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QToolButton* addButton(const QString& name, const QString& caption, const QIcon& icon);
    QTreeWidgetItem* selectedRow() const;

    void openYearSetting();
    void addApplications();
    void deleteApplication();
    void printApplication();
    void openDetail(QTreeWidgetItem* row);
    void moveBanner();

    AppContext& ctx_;
    QToolBar* toolbar_;
    QTreeWidget* years_;
    QTreeWidget* list_;
    QLabel* banner_;
    QTimer* timer_;
};

}  // namespace xinghe::gui
