#include "gui/shell/EntryWindows.h"

#include "gui/shell/SystemWindow.h"

namespace xinghe::gui {

void plugEntryWindows(MainMenu& menu, AppContext& ctx) {
    menu.setEntryOpener(MenuEntry::System, [&ctx](QWidget* parent) {
        SystemWindow window(ctx, parent);
        ctx.showModal(window);
    });
}

}  // namespace xinghe::gui
