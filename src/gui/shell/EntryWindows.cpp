#include "gui/shell/EntryWindows.h"

#include <QPointer>
#include <memory>

#include "gui/applications/ApplicationManager.h"
#include "gui/shell/SystemWindow.h"

namespace xinghe::gui {

void plugEntryWindows(MainMenu& menu, AppContext& ctx) {
    menu.setEntryOpener(MenuEntry::System, [&ctx](QWidget* parent) {
        SystemWindow window(ctx, parent);
        ctx.showModal(window);
    });
    // One application manager for the whole run: made at its first opening, then shown
    // again as it was left. The menu copies its openers, so the copies share the window.
    auto manager = std::make_shared<QPointer<ApplicationManager>>();
    menu.setEntryOpener(MenuEntry::Applications, [&ctx, manager](QWidget* parent) {
        if (!*manager) *manager = new ApplicationManager(ctx, parent);
        ctx.showModal(**manager);
    });
}

}  // namespace xinghe::gui
