// What runs between the launch of the program and the log-in: folders, the working
// database (made with its delivered rows at the first start), the packaging copy and
// the backup register.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/store/DataStore.h"

namespace xinghe::store {

// The text shown when a start-up copy fails; start-up goes on after it.
inline constexpr const char* kStartupProblem = "This have some problem!!!";

struct StartupMessage {
    std::string text;    // what the user is shown
    std::string detail;  // the underlying reason, for logs and the command line
};

struct StartupReport {
    bool firstStart = false;  // the working database was created by this start
    std::vector<StartupMessage> messages;
};

// Runs the start-up steps in order. Throws HomeError when the home folder cannot be
// made or written; every later failure becomes a message and start-up goes on.
StartupReport runStartup(DataStore& store);

// Creates a working database with every table and the delivered rows. The file is
// built aside and moved into place only when complete.
void createWorkingDatabase(const std::filesystem::path& file, const std::filesystem::path& seed);
void createSubjectDatabase(const std::filesystem::path& file, const std::filesystem::path& seed);
void createBackupRegister(const std::filesystem::path& file);

}  // namespace xinghe::store
