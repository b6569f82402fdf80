// Helpers shared by the windows: placement and the fonts of the program.
#pragma once

class QWidget;
class QApplication;

namespace xinghe::gui {

// Moves a top-level window to the centre of the screen it is on.
void centreOnScreen(QWidget* window);

// Sets the program font (Noto Sans CJK SC where installed) and maps the classic
// Chinese font names the windows ask for (黑体, 宋体) to installed fonts.
void setUpFonts(QApplication& app);

}  // namespace xinghe::gui
