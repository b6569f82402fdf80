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
    std::filesystem::path typed(fieldText);
    choice.action = DocumentChoice::Action::Import;
    choice.documents.push_back(typed.is_absolute() || folder.empty() ? typed : folder / typed);
    return choice;
}

}  // namespace xinghe::applications
