// Plugs the subsystem windows into the main-menu entries. The log-in calls this once
// when it creates the main menu; each subsystem adds its entry's window here.
#pragma once

#include "gui/shell/AppContext.h"
#include "gui/shell/MainMenu.h"

namespace xinghe::gui {

void plugEntryWindows(MainMenu& menu, AppContext& ctx);

}  // namespace xinghe::gui
