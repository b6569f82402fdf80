// Which documents the selection dialog hands to the import batch.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace xinghe::applications {

inline constexpr const char* kNoDocumentChosen = "对不起，您没有选中任何有效文档！";
// What the file-name field holds before a file is chosen.
inline constexpr const char* kDocumentPattern = "*.doc";

struct DocumentChoice {
    enum class Action {
        None,    // nothing chosen yet: the dialog stays as it is
        Refuse,  // show `message` and stay
        Import,  // import `documents` in this order
        Open,    // the field names a folder: show `folder` instead
    };
    Action action = Action::None;
    std::string message;
    std::vector<std::filesystem::path> documents;
    std::filesystem::path folder;  // with Open
};

// selectAll: every listed file of `folder` in list order, refused when there is none.
// Otherwise the field's text: nothing when it is empty or still the pattern; a name
// without a folder is taken from `folder`, a full path as it is; a name of an existing
// folder opens that folder.
DocumentChoice chooseDocuments(bool selectAll, const std::filesystem::path& folder,
                               const std::vector<std::string>& listedFiles,
                               const std::string& fieldText);

}  // namespace xinghe::applications
