// The home folder: every working file of the program lives below it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace xinghe::store {

class HomeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Chooses the home folder: an explicit folder, else XINGHE_HOME, else
// $XDG_DATA_HOME/xinghe (~/.local/share/xinghe).
std::filesystem::path chooseHomeFolder(const std::optional<std::filesystem::path>& explicitHome);

// The backup register's folder: XINGHE_BACKUP_DIR, else $XDG_DATA_HOME/Vantor/Backup.
std::filesystem::path backupRegisterFolder();

// Folder of the delivered data (seed tables, form templates): XINGHE_DATA_DIR, else
// the data folder installed beside the program, else the source tree's data folder.
std::filesystem::path dataFolder();

// Paths below one home folder, one spelling per folder.
class HomeFolder {
public:
    explicit HomeFolder(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path databaseDir() const { return root_ / "DataBase"; }
    std::filesystem::path workingDatabase() const { return databaseDir() / "apply.mdb"; }
    std::filesystem::path packagingDatabase() const { return databaseDir() / "temp.mdb"; }
    std::filesystem::path subjectDatabase() const { return databaseDir() / "xk.db"; }
    std::filesystem::path newDocDir() const { return root_ / "NewDoc"; }
    std::filesystem::path summaryDocDir() const { return root_ / "SummaryDoc"; }
    std::filesystem::path tempDir() const { return root_ / "temp"; }
    std::filesystem::path backupDir() const { return root_ / "Backup"; }
    std::filesystem::path backupTemplate() const { return backupDir() / "BackupInformation.mdb"; }
    std::filesystem::path logFile() const { return root_ / "log.txt"; }

    // Creates the root and its folders. Throws HomeError with a clear reason when the
    // folder cannot be made or written; nothing is left half made in that case.
    void create() const;

private:
    std::filesystem::path root_;
};

}  // namespace xinghe::store
