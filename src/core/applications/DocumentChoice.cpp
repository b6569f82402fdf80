#include "core/applications/DocumentChoice.h"

namespace xinghe::applications {

DocumentChoice chooseDocuments(bool selectAll, const std::filesystem::path& folder,
                               const std::vector<std::string>& listedFiles,
                               const std::string& fieldText) {
    DocumentChoice choice;
    if (selectAll) {
        if (listedFiles.empty()) {
            choice.action = DocumentChoice::Action::Refuse;
            choice.message = kNoDocumentChosen;
            return choice;
        }
        choice.action = DocumentChoice::Action::Import;
        for (const auto& name : listedFiles) choice.documents.push_back(folder / name);
        return choice;
    }
    if (fieldText.empty() || fieldText == kDocumentPattern) return choice;
    const std::filesystem::path typed(fieldText);
    const std::filesystem::path path =
        typed.is_absolute() || folder.empty() ? typed : folder / typed;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        choice.action = DocumentChoice::Action::Open;
        choice.folder = path;
        return choice;
    }
    choice.action = DocumentChoice::Action::Import;
    choice.documents.push_back(path);
    return choice;
}

}  // namespace xinghe::applications
