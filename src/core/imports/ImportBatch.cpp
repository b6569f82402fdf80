#include "core/imports/ImportBatch.h"

#include <malloc.h>

#include <algorithm>
#include <mutex>

#include "core/imports/ApplicationImport.h"
#include "core/text/Ascii.h"

namespace xinghe::imports {

namespace fs = std::filesystem;

namespace {
// Every document allocates and frees a few large buffers (the unpacked XML, the parse
// tree). By default the allocator hands them back to the system each time and the next
// document pays for fresh zeroed pages; keeping them cuts the import's time by a third.
void keepLargeBuffers() {
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    });
}
}  // namespace

std::vector<ImportResult> runBatch(store::DataStore& store, const std::vector<fs::path>& documents,
                                   const EventSink& sink) {
    keepLargeBuffers();
    std::vector<ImportResult> results;
    // The worker's own connection: its transactions never mix with the windows'.
    std::unique_ptr<db::Connection> conn;
    std::string openError;
    try {
        conn = store.openSeparate(store::kSystem);
    } catch (const std::exception& e) {
        openError = e.what();
    }
    for (std::size_t i = 0; i < documents.size(); ++i) {
        auto tick = [&] {
            if (sink) sink({ImportEvent::Type::Tick, i, {}});
        };
        ImportResult r;
        if (conn) {
            r = importApplication(*conn, store.home(), documents[i], tick);
        } else {
            tick();
            r.reason = openError;
        }
        if (sink) sink({ImportEvent::Type::Result, i, r});
        results.push_back(std::move(r));
    }
    return results;
}

BatchImporter::~BatchImporter() {
    wait();
}

bool BatchImporter::start(std::vector<fs::path> documents, EventSink sink) {
    if (running_) return false;
    wait();
    running_ = true;
    worker_ = std::thread([this, docs = std::move(documents), sink = std::move(sink)] {
        runBatch(store_, docs, sink);
        running_ = false;
    });
    return true;
}

void BatchImporter::wait() {
    if (worker_.joinable()) worker_.join();
}

bool isWordDocumentName(const fs::path& p) {
    const std::string ext = text::asciiLower(p.extension().string());
    return ext == ".doc" || ext == ".docx";
}

std::vector<fs::path> collectDocuments(const std::vector<fs::path>& paths) {
    std::vector<fs::path> out;
    for (const auto& p : paths) {
        std::error_code ec;
        if (fs::is_directory(p, ec)) {
            std::vector<fs::path> found;
            for (const auto& entry : fs::directory_iterator(p, ec)) {
                // Word's lock files (~$name.docx) are not documents.
                auto name = entry.path().filename().string();
                if (entry.is_regular_file(ec) && isWordDocumentName(entry.path()) &&
                    name.rfind("~$", 0) != 0) {
                    found.push_back(entry.path());
                }
            }
            std::sort(found.begin(), found.end());
            out.insert(out.end(), found.begin(), found.end());
        } else {
            out.push_back(p);
        }
    }
    return out;
}

}  // namespace xinghe::imports
