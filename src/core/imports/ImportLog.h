// log.txt in the home folder: emptied at the start of every document, so it holds
// the lines of the latest document only. Each line is the date and time, one blank
// and the text, and reaches the file as soon as it is written.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace xinghe::imports {

class ImportLog {
public:
    explicit ImportLog(std::filesystem::path file) : file_(std::move(file)) {}
    ~ImportLog();
    ImportLog(const ImportLog&) = delete;
    ImportLog& operator=(const ImportLog&) = delete;

    // Empties the log; a log that cannot be written never stops an import.
    void reset();
    void line(std::string_view text);
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
    std::FILE* out_ = nullptr;  // open from reset() on, so a line costs one write
};

}  // namespace xinghe::imports
