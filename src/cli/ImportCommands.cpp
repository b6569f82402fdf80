// import applications PATH...
#include <filesystem>

#include "cli/Json.h"
#include "cli/Session.h"
#include "core/imports/ImportBatch.h"

namespace xinghe::cli {

namespace {

namespace fs = std::filesystem;

// The line on the error stream that shows which document is being worked on; drawn only
// on a terminal and overwritten in place.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool enabled, const std::vector<fs::path>& docs)
        : err_(err), enabled_(enabled), docs_(docs) {}

    void tick(std::size_t index) {
        if (!enabled_) return;
        ++ticks_;
        err_ << "\r\x1b[K[" << index + 1 << '/' << docs_.size() << "] " << imports::kRunning << ' '
             << docs_[index].filename().string() << ' ' << std::string(ticks_ % 8, '.')
             << std::flush;
        shown_ = true;
    }
    void clear() {
        if (!shown_) return;
        err_ << "\r\x1b[K" << std::flush;
        shown_ = false;
    }

private:
    std::ostream& err_;
    bool enabled_;
    const std::vector<fs::path>& docs_;
    std::size_t ticks_ = 0;
    bool shown_ = false;
};

Json resultJson(const fs::path& file, const imports::ImportResult& r) {
    Json j = Json::object();
    j["file"] = file.string();
    j["status"] = imports::statusText(r);
    j["hint"] = imports::hintText(r);
    j["code"] = r.code;
    j["projectId"] = r.projectId.empty() ? Json(nullptr) : Json(r.projectId);
    j["warnings"] = r.warnings;
    return j;
}

}  // namespace

void addImportCommands(CLI::App& app, Session& s) {
    auto* imp = app.add_subcommand("import", "Import Word forms into the working database");
    imp->require_subcommand(1);

    auto* apps = imp->add_subcommand(
        "applications",
        "Import application forms: files, or folders whose *.doc and *.docx files are taken "
        "in name order. One line per document: ID, file, 处理状态, 提示");
    auto paths = std::make_shared<std::vector<std::string>>();
    auto json = std::make_shared<bool>(false);
    apps->add_option("PATH", *paths, "Application forms, or folders holding them")->required();
    apps->add_flag("--json", *json,
                   "JSON array of {file, status, hint, code, projectId, warnings}");
    s.on(apps, [&s, paths, json] {
        std::vector<fs::path> given;
        for (const auto& p : *paths) {
            std::error_code ec;
            if (!fs::exists(p, ec)) throw CommandError("no such file or folder: " + p);
            given.emplace_back(p);
        }
        const auto docs = imports::collectDocuments(given);
        if (docs.empty()) throw CommandError("no Word documents (*.doc, *.docx) were found");

        auto& store = s.store();
        ProgressLine progress(s.err, s.env.progress, docs);
        std::size_t succeeded = 0;
        Json all = Json::array();
        imports::runBatch(store, docs, [&](const imports::ImportEvent& e) {
            if (e.type == imports::ImportEvent::Type::Tick) {
                progress.tick(e.index);
                return;
            }
            if (e.result.succeeded()) ++succeeded;
            if (*json) {
                all.push_back(resultJson(docs[e.index], e.result));
                return;
            }
            progress.clear();
            s.out << e.index + 1 << '\t' << docs[e.index].string() << '\t'
                  << imports::statusText(e.result) << '\t' << imports::hintText(e.result) << '\n';
            for (const auto& w : e.result.warnings) s.out << "\twarning: " << w << '\n';
            s.out.flush();
        });
        progress.clear();
        if (*json) {
            printJson(s.out, all);
        } else {
            s.out << "done: " << docs.size() << " document(s), " << succeeded << " succeeded, "
                  << docs.size() - succeeded << " failed\n";
        }
        return kExitOk;
    });
}

}  // namespace xinghe::cli
