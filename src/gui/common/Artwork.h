// The program's own pictures, drawn in code: the main-menu background, the menu
// entries, the system window's background and the toolbar icons.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace xinghe::gui::artwork {

// Deep blue night sky with a golden galaxy band and the product title.
QPixmap menuBackground(QSize size);

// One menu entry with its label drawn in: the plain picture, or the active one
// (brighter, with a golden frame).
QPixmap menuEntry(const QString& label, bool active, QSize size = QSize(162, 31));

// A quiet background for the system-management window.
QPixmap systemBackground(QSize size);

enum class Icon { Unit, Users, Password, Help, Back };
QIcon toolIcon(Icon icon);

}  // namespace xinghe::gui::artwork
