// Document conversion through LibreOffice running headless.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace xinghe::forms {

// The LibreOffice program to run: XINGHE_SOFFICE when set (a path; when it names no
// runnable file, LibreOffice counts as not installed), else soffice or libreoffice on PATH.
std::optional<std::filesystem::path> findLibreOffice();

inline constexpr std::chrono::seconds kConversionTimeLimit{120};

// Converts `input` with `soffice --headless --convert-to <format>` ("docx", "doc", or a
// format with its filter such as "docx:MS Word 2007 XML") and returns the bytes of the
// converted file. Each run has its own temporary folder and LibreOffice profile, so runs
// may overlap; the folder is removed afterwards. A run that takes longer than `timeLimit` is
// killed. Throws FormError when LibreOffice is missing, fails or times out.
std::string convertWithLibreOffice(const std::filesystem::path& input, std::string_view format,
                                   std::chrono::milliseconds timeLimit = kConversionTimeLimit);

}  // namespace xinghe::forms
