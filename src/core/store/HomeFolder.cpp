#include "core/store/HomeFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace xinghe::store {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> env(const char* name) {
    const char* v = std::getenv(name);
    if (v && *v) return std::string(v);
    return std::nullopt;
}

fs::path xdgDataHome() {
    if (auto x = env("XDG_DATA_HOME")) return *x;
    if (auto h = env("HOME")) return fs::path(*h) / ".local" / "share";
    return fs::current_path() / ".local" / "share";
}

}  // namespace

fs::path chooseHomeFolder(const std::optional<fs::path>& explicitHome) {
    if (explicitHome && !explicitHome->empty()) return fs::absolute(*explicitHome);
    if (auto h = env("XINGHE_HOME")) return fs::absolute(*h);
    return xdgDataHome() / "xinghe";
}

fs::path backupRegisterFolder() {
    if (auto b = env("XINGHE_BACKUP_DIR")) return fs::absolute(*b);
    return xdgDataHome() / "Vantor" / "Backup";
}

fs::path dataFolder() {
    if (auto d = env("XINGHE_DATA_DIR")) return *d;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        fs::path installed = exe.parent_path().parent_path() / "share" / "xinghe" / "data";
        if (fs::is_directory(installed, ec)) return installed;
    }
#ifdef XINGHE_DATA_DIR_DEFAULT
    return XINGHE_DATA_DIR_DEFAULT;
#else
    return "data";
#endif
}

void HomeFolder::create() const {
    std::error_code ec;
    if (fs::exists(root_, ec) && !fs::is_directory(root_, ec)) {
        throw HomeError("主文件夹不是文件夹：" + root_.string());
    }
    // An existing folder that cannot be written is refused before anything is made in it.
    if (fs::is_directory(root_, ec) && ::access(root_.c_str(), W_OK | X_OK) != 0) {
        throw HomeError("主文件夹不可写入：" + root_.string());
    }
    const fs::path dirs[] = {root_,           databaseDir(), newDocDir(),
                             summaryDocDir(), tempDir(),     backupDir()};
    for (const auto& d : dirs) {
        if (fs::is_directory(d, ec)) continue;
        fs::create_directories(d, ec);
        if (ec) throw HomeError("无法创建文件夹 " + d.string() + "：" + ec.message());
    }
}

}  // namespace xinghe::store
