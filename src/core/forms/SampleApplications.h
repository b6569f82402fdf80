// Filled application forms made from generated data: the demonstration folder, the
// benchmark and the tests use them.
#pragma once

#include <filesystem>
#include <string>

#include "core/forms/FormData.h"

namespace xinghe::forms {

// A complete, locked application of `year` from `university`; the n-th sample has its
// own applicant name (n from 0), so samples never collide as duplicates.
FormData sampleApplication(int n, const std::string& year, const std::string& university);

// A unique Chinese personal name for n.
std::string sampleName(int n);

// Writes `count` sample forms into `folder` as 申请书_0001.docx …; returns the paths.
std::vector<std::filesystem::path> writeSampleApplications(const std::filesystem::path& folder,
                                                           int count, const std::string& year,
                                                           const std::string& university);

}  // namespace xinghe::forms
