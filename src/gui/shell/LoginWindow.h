// The log-in window (the program's main window): checks the user and the fund type,
// then hides itself and shows the main menu. Closing it ends the program.
#pragma once

#include <QWidget>
#include <memory>

#include "gui/shell/AppContext.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace xinghe::gui {

class MainMenu;

class LoginWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoginWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~LoginWindow() override;

    // The main menu once the log-in succeeded, else null.
    MainMenu* mainMenu() const { return menu_.get(); }

signals:
    // The program is to end (the window was closed or 退出 was answered with Yes).
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void logIn();
    void askExit();
    void openMainMenu();

    AppContext& ctx_;
    QLineEdit* user_;
    QLineEdit* password_;
    QComboBox* fund_;
    std::unique_ptr<MainMenu> menu_;
    bool exitSignalled_ = false;
    bool placed_ = false;
};

}  // namespace xinghe::gui
