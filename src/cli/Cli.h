// The command-line front end as a library: main() and the tests call runCli with the
// arguments and two streams, so every command also runs in-process.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace xinghe::cli {

// Exit statuses of a command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the command ran and was refused or failed
inline constexpr int kExitUsage = 2;   // the command line itself was wrong

// What the process around the commands provides.
struct CliEnvironment {
    // Folder of the backup register; the usual choice (XINGHE_BACKUP_DIR, else XDG) when
    // unset.
    std::optional<std::filesystem::path> registerFolder;
    // Draw a progress line on the error stream during an import (only on a terminal).
    bool progress = false;
};

// Runs one command line. `args` are the arguments after the program name. Data and
// results go to `out`, errors and progress to `err`. Returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env = {});

}  // namespace xinghe::cli
