// The named databases of one home folder, opened on first use:
// "system" (the working database), "temp_summary" (the packaging copy) and
// "Backup_Info" (the backup register).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "core/store/Database.h"
#include "core/store/HomeFolder.h"

namespace xinghe::store {

inline constexpr std::string_view kSystem = "system";
inline constexpr std::string_view kTempSummary = "temp_summary";
inline constexpr std::string_view kBackupInfo = "Backup_Info";

class DataStore {
public:
    explicit DataStore(HomeFolder home,
                       std::filesystem::path registerFolder = backupRegisterFolder());

    const HomeFolder& home() const { return home_; }
    std::filesystem::path registerFile() const { return registerFolder_ / "BackupInformation.mdb"; }
    const std::filesystem::path& registerFolder() const { return registerFolder_; }

    // The file behind a database name; throws std::invalid_argument for an unknown name.
    std::filesystem::path fileOf(std::string_view name) const;

    // The connection of a database name, opened on first use and kept open.
    db::Connection& db(std::string_view name);
    db::Connection& system() { return db(kSystem); }

    // A connection of its own, for a worker thread that must not share transactions
    // with the windows' connection.
    std::unique_ptr<db::Connection> openSeparate(std::string_view name) const;

    // Closes a connection (packaging and restore replace the files behind them).
    void close(std::string_view name);
    void closeAll();

private:
    HomeFolder home_;
    std::filesystem::path registerFolder_;
    std::mutex mutex_;
    std::map<std::string, std::unique_ptr<db::Connection>, std::less<>> open_;
};

}  // namespace xinghe::store
