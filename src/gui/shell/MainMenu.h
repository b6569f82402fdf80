// The picture main menu: one entry per subsystem. Each entry has a plain picture
// (always visible) and an active one shown while the mouse is over the entry; a
// click on the active picture opens the entry's window.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "gui/shell/AppContext.h"

class QLabel;

namespace xinghe::gui {

enum class MenuEntry { System, Applications, Projects, FinalReports, Experts, Exit };
inline constexpr std::array kMenuEntries = {MenuEntry::System,   MenuEntry::Applications,
                                            MenuEntry::Projects, MenuEntry::FinalReports,
                                            MenuEntry::Experts,  MenuEntry::Exit};

class MainMenu : public QWidget {
    Q_OBJECT
public:
    // Opens an entry's window (modally) with the menu as parent.
    using Opener = std::function<void(QWidget* parent)>;

    explicit MainMenu(AppContext& ctx, QWidget* parent = nullptr);

    // The window an entry opens. An entry without an opener does nothing after its
    // unit check. 退出管理系统 needs none: it ends the program.
    void setEntryOpener(MenuEntry entry, Opener opener);

    static QString label(MenuEntry entry);
    // Whether the entry needs a registered unit before it opens.
    static bool needsUnit(MenuEntry entry);

    QLabel* plainPicture(MenuEntry entry) const { return slot(entry).plain; }
    QLabel* activePicture(MenuEntry entry) const { return slot(entry).active; }

signals:
    // 退出管理系统 was chosen: the program is to end.
    void exitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Slot {
        QLabel* plain = nullptr;
        QLabel* active = nullptr;
        Opener opener;
    };
    Slot& slot(MenuEntry e) { return slots_[static_cast<std::size_t>(e)]; }
    const Slot& slot(MenuEntry e) const { return slots_[static_cast<std::size_t>(e)]; }

    void choose(MenuEntry entry);
    bool unitCheck();
    void upgradeSchema();

    AppContext& ctx_;
    QPixmap background_;
    std::array<Slot, kMenuEntries.size()> slots_;
    bool shownOnce_ = false;
};

}  // namespace xinghe::gui
