// A batch of documents imported one after another on a worker thread. The worker
// reports through one channel with two kinds of event: progress ticks, then exactly
// one result per document. Only one batch runs at a time.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "core/imports/ImportResult.h"
#include "core/store/DataStore.h"

namespace xinghe::imports {

enum class DocumentKind { Application = 1, FinalReport = 2 };

struct ImportEvent {
    enum class Type { Tick, Result };
    Type type = Type::Tick;
    std::size_t index = 0;  // the document's position in the batch, from 0
    ImportResult result;    // with Result only
};

using EventSink = std::function<void(const ImportEvent&)>;

// Runs the whole batch on the calling thread; each event goes to the sink as it happens.
std::vector<ImportResult> runBatch(store::DataStore& store,
                                   const std::vector<std::filesystem::path>& documents,
                                   const EventSink& sink = {});

// Runs a batch on a thread of its own. The sink is called on that thread: a window
// hands each event on to its own thread (a queued signal) before touching controls.
class BatchImporter {
public:
    explicit BatchImporter(store::DataStore& store) : store_(store) {}
    ~BatchImporter();
    BatchImporter(const BatchImporter&) = delete;
    BatchImporter& operator=(const BatchImporter&) = delete;

    // Starts the batch; false when one is still running.
    bool start(std::vector<std::filesystem::path> documents, EventSink sink);
    bool running() const { return running_; }
    // Waits for the batch to end.
    void wait();

private:
    store::DataStore& store_;
    std::thread worker_;
    std::atomic<bool> running_{false};
};

// The documents of a list of files and folders: a folder gives its *.doc and *.docx
// files (by name, case-insensitive), a file is taken as it is. Sorted by name per folder.
std::vector<std::filesystem::path> collectDocuments(
    const std::vector<std::filesystem::path>& paths);
bool isWordDocumentName(const std::filesystem::path& p);

}  // namespace xinghe::imports
