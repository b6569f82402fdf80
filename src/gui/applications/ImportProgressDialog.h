// Imports a list of documents one after another on a worker thread and shows the
// outcome of each in its row.
#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "core/applications/BatchProgress.h"
#include "core/imports/ImportBatch.h"
#include "gui/shell/AppContext.h"

class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace xinghe::gui {

class ImportProgressDialog : public QDialog {
    Q_OBJECT
public:
    ImportProgressDialog(AppContext& ctx, int kind, std::vector<std::filesystem::path> documents,
                         QWidget* parent = nullptr);
    ~ImportProgressDialog() override;

    int kind() const { return kind_; }
    bool running() const { return running_; }

    // 返回, Escape and the window frame are refused while a batch runs.
    void reject() override;

signals:
    // Every document has its outcome; the application years may have changed.
    void batchEnded();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void start();
    void handle(const imports::ImportEvent& event);
    void setRow(std::size_t index, const QString& status, const QString& hint);
    void showProgress();

    AppContext& ctx_;
    int kind_;
    std::vector<std::filesystem::path> documents_;
    applications::BatchProgress progress_;
    imports::BatchImporter importer_;
    bool running_ = false;

    QTreeWidget* list_;
    QPushButton* start_;
    QPushButton* back_;
    QProgressBar* documentBar_;
    QProgressBar* batchBar_;
};

}  // namespace xinghe::gui
