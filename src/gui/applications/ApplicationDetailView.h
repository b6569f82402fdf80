// One imported application, read-only, laid out like the four summary sheets of the
// paper form; offers a new in-school number.
#pragma once

#include <QDialog>
#include <vector>

#include "gui/shell/AppContext.h"

class QChart;
class QLineEdit;
class QPieSeries;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;

namespace xinghe::gui {

class ApplicationDetailView : public QDialog {
    Q_OBJECT
public:
    ApplicationDetailView(AppContext& ctx, const QString& projectId, QWidget* parent = nullptr);

    // The application shown; a renumbering replaces it.
    QString projectId() const { return projectId_; }

    // 修改项目编号
    void renumber();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Binding {
        QString column;
        QLineEdit* edit = nullptr;
        QPlainTextEdit* memo = nullptr;
    };
    QLineEdit* boundEdit(const QString& column, QWidget* parent, const QString& name = {});
    QPlainTextEdit* boundMemo(const QString& column, QWidget* parent);

    QWidget* firstSheet();
    QWidget* secondSheet();
    QWidget* thirdSheet();
    QWidget* fourthSheet();
    void load();

    AppContext& ctx_;
    QString projectId_;
    std::vector<Binding> bindings_;
    QTabWidget* pages_ = nullptr;
    QTreeWidget* members_ = nullptr;
    QTreeWidget* equipment_ = nullptr;
    QTreeWidget* publications_ = nullptr;
    QChart* chart_ = nullptr;
    QPieSeries* pie_ = nullptr;
};

}  // namespace xinghe::gui
