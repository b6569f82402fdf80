// What every window of one run shares: the databases, the prompt interface and the
// log-in state (the logged-in user and the submission-made flag).
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/store/DataStore.h"
#include "gui/common/Prompt.h"

namespace xinghe::gui {

struct AppContext {
    AppContext(store::DataStore& s, Prompt& p) : store(s), prompt(p) {}

    store::DataStore& store;
    Prompt& prompt;

    // Log-in state, kept for the whole run.
    std::string loggedInUser;     // UID of the successful log-in
    bool submissionMade = false;  // set when a submission file was saved

    // Shows a dialog modally and returns its result. Every window opens its child
    // dialogs through here, so that tests can drive a dialog while it is open.
    std::function<int(QDialog&)> modalRunner;

    int showModal(QDialog& dialog) { return modalRunner ? modalRunner(dialog) : dialog.exec(); }
    db::Connection& db() { return store.system(); }
};

}  // namespace xinghe::gui
