#include "core/imports/ImportLog.h"

#include <chrono>
#include <ctime>
#include <fstream>

namespace xinghe::imports {

namespace {
std::string now() {
    std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}
}  // namespace

void ImportLog::reset() {
    std::ofstream(file_, std::ios::binary | std::ios::trunc);
}

void ImportLog::line(std::string_view text) {
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    if (out) out << now() << ' ' << text << '\n';
}

}  // namespace xinghe::imports
