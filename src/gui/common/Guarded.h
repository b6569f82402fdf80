// Runs one step of a window that reaches the core. An error thrown by the core (a
// database error above all) ends the step and is shown in the standard error box.
#pragma once

#include <QWidget>
#include <exception>
#include <utility>

#include "gui/common/Prompt.h"

namespace xinghe::gui {

// False when the step ended with an error (already shown).
template <typename Step>
bool guarded(Prompt& prompt, QWidget* parent, Step&& step) {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const std::exception& e) {
        prompt.error(parent, QString::fromUtf8(e.what()));
        return false;
    }
}

}  // namespace xinghe::gui
