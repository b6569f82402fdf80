#include "core/imports/ImportLog.h"

#include <chrono>
#include <ctime>

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

ImportLog::~ImportLog() {
    if (out_) std::fclose(out_);
}

void ImportLog::reset() {
    if (out_) std::fclose(out_);
    out_ = std::fopen(file_.c_str(), "wb");
}

void ImportLog::line(std::string_view text) {
    if (!out_) out_ = std::fopen(file_.c_str(), "ab");
    if (!out_) return;
    std::string entry = now();
    entry += ' ';
    entry += text;
    entry += '\n';
    std::fwrite(entry.data(), 1, entry.size(), out_);
    // Each line is on disk before the next step runs, so a crash leaves the log readable.
    std::fflush(out_);
}

}  // namespace xinghe::imports
