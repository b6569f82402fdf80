// What the commands of one command line share: the streams, the chosen home folder and
// its data store, opened (and started up) on first use.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/Cli.h"
#include "core/store/DataStore.h"
#include "core/store/Startup.h"

namespace xinghe::cli {

// A command that cannot do what it was asked; the message goes to the error stream and
// the process ends with kExitFailed.
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Session {
public:
    Session(std::ostream& out, std::ostream& err, const CliEnvironment& env)
        : out(out), err(err), env(env) {}

    std::ostream& out;
    std::ostream& err;
    const CliEnvironment& env;
    std::string homeOption;  // --home, "" when not given

    // Runs the start-up on the chosen home folder (once) and returns its report.
    // Throws CommandError when the home folder cannot be made or written.
    const store::StartupReport& startup();
    // The home folder in use; runs the start-up like startup().
    const std::filesystem::path& homeFolder() {
        startup();
        return store_->home().root();
    }
    // The store of the home folder after a quiet start-up: start-up problems are written
    // to the error stream as warnings, nothing else is said.
    store::DataStore& store();
    db::Connection& system() { return store().system(); }

    // Registers the action of a command (a leaf sub-command); runCli runs the action of
    // the command that was parsed.
    void on(CLI::App* command, std::function<int()> action) {
        actions_.emplace_back(command, std::move(action));
    }
    const std::vector<std::pair<CLI::App*, std::function<int()>>>& actions() const {
        return actions_;
    }

private:
    std::unique_ptr<store::DataStore> store_;
    std::optional<store::StartupReport> report_;
    bool warned_ = false;
    std::vector<std::pair<CLI::App*, std::function<int()>>> actions_;
};

// The command groups; each adds its sub-commands to the program.
void addStoreCommands(CLI::App& app, Session& s);        // init, unit, year
void addImportCommands(CLI::App& app, Session& s);       // import applications
void addApplicationCommands(CLI::App& app, Session& s);  // applications list/show
void addFormCommands(CLI::App& app, Session& s);         // template, form fill

}  // namespace xinghe::cli
