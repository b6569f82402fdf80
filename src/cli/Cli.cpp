#include "cli/Cli.h"

#include <algorithm>

#include "cli/Session.h"
#include "core/store/HomeFolder.h"

namespace xinghe::cli {

const store::StartupReport& Session::startup() {
    if (report_) return *report_;
    std::optional<std::filesystem::path> explicitHome;
    if (!homeOption.empty()) explicitHome = homeOption;
    auto folder = store::chooseHomeFolder(explicitHome);
    auto registerFolder = env.registerFolder.value_or(store::backupRegisterFolder());
    auto made = std::make_unique<store::DataStore>(store::HomeFolder(folder), registerFolder);
    try {
        report_ = store::runStartup(*made);
    } catch (const store::HomeError& e) {
        throw CommandError(std::string("the home folder cannot be used: ") + e.what());
    }
    store_ = std::move(made);
    return *report_;
}

store::DataStore& Session::store() {
    const auto& report = startup();
    if (!warned_) {
        warned_ = true;
        for (const auto& m : report.messages) {
            err << "warning: " << m.text << " (" << m.detail << ")\n";
        }
    }
    return *store_;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env) {
    Session s(out, err, env);
    CLI::App app{"星河署基金管理软件: batch work from the command line", "xinghe-cli"};
    // --home may also follow the command's name.
    app.fallthrough();
    app.require_subcommand(1);
    app.add_option("--home", s.homeOption,
                   "Home folder (default: XINGHE_HOME, else $XDG_DATA_HOME/xinghe)");
    addStoreCommands(app, s);
    addImportCommands(app, s);
    addApplicationCommands(app, s);
    addFormCommands(app, s);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e, out, err);
        return code == 0 ? kExitOk : kExitUsage;
    }

    auto chosen = std::find_if(s.actions().begin(), s.actions().end(),
                               [](const auto& a) { return a.first->parsed(); });
    if (chosen == s.actions().end()) {
        err << app.help();
        return kExitUsage;
    }
    try {
        int status = chosen->second();
        out.flush();
        return status;
    } catch (const std::exception& e) {
        out.flush();
        err << "xinghe-cli: " << e.what() << '\n';
        return kExitFailed;
    }
}

}  // namespace xinghe::cli
