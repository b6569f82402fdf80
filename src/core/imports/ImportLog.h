// log.txt in the home folder: emptied at the start of every document, so it holds
// the lines of the latest document only. Each line is the date and time, one blank
// and the text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace xinghe::imports {

class ImportLog {
public:
    explicit ImportLog(std::filesystem::path file) : file_(std::move(file)) {}
    // Empties the log; a log that cannot be written never stops an import.
    void reset();
    void line(std::string_view text);
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

}  // namespace xinghe::imports
