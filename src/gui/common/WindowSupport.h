// Helpers shared by the windows: placement and the fonts of the program.
#pragma once

class QWidget;
class QApplication;
class QIcon;
class QSize;
class QString;
class QToolBar;
class QToolButton;

namespace xinghe::gui {

// Moves a top-level window to the centre of the screen it is on.
void centreOnScreen(QWidget* window);

// Sets the program font (Noto Sans CJK SC where installed) and maps the classic
// Chinese font names the windows ask for (黑体, 宋体) to installed fonts.
void setUpFonts(QApplication& app);

// A caption-under-icon button of a fixed size at the end of a window's toolbar.
QToolButton* addToolbarButton(QToolBar* toolbar, const QString& name, const QString& caption,
                              const QIcon& icon, const QSize& size);

}  // namespace xinghe::gui
