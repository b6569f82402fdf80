#include "core/store/DataStore.h"

#include <stdexcept>

namespace xinghe::store {

DataStore::DataStore(HomeFolder home, std::filesystem::path registerFolder)
    : home_(std::move(home)), registerFolder_(std::move(registerFolder)) {}

std::filesystem::path DataStore::fileOf(std::string_view name) const {
    if (name == kSystem) return home_.workingDatabase();
    if (name == kTempSummary) return home_.packagingDatabase();
    if (name == kBackupInfo) return registerFile();
    throw std::invalid_argument("unknown database name: " + std::string(name));
}

db::Connection& DataStore::db(std::string_view name) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(name);
    if (it != open_.end()) return *it->second;
    // A database that is not there is an error, not a new empty file.
    auto conn = std::make_unique<db::Connection>(fileOf(name), db::Connection::Mode::ReadWrite);
    auto& ref = *conn;
    open_.emplace(std::string(name), std::move(conn));
    return ref;
}

std::unique_ptr<db::Connection> DataStore::openSeparate(std::string_view name) const {
    return std::make_unique<db::Connection>(fileOf(name), db::Connection::Mode::ReadWrite);
}

void DataStore::close(std::string_view name) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(name);
    if (it != open_.end()) open_.erase(it);
}

void DataStore::closeAll() {
    std::lock_guard lock(mutex_);
    open_.clear();
}

}  // namespace xinghe::store
