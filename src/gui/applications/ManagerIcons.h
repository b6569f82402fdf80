// Toolbar pictures of the application manager, drawn in code like the shell's own.
#pragma once

#include <QIcon>

namespace xinghe::gui {

enum class ManagerIcon { Year, Add, Delete, Print, Refresh };
QIcon managerIcon(ManagerIcon icon);

}  // namespace xinghe::gui
