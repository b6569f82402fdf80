// The two progress bars of an import batch: the current document and the whole batch.
#pragma once

#include <cstddef>

namespace xinghe::applications {

class BatchProgress {
public:
    static constexpr int kStep = 10;
    static constexpr int kDocumentMaximum = 120;

    explicit BatchProgress(std::size_t documents)
        : batchMaximum_(kDocumentMaximum * static_cast<int>(documents)) {}

    int documentValue() const { return document_; }
    int batchValue() const { return batch_; }
    int batchMaximum() const { return batchMaximum_; }

    // A progress tick of the document in hand: both bars one step on.
    void tick();
    // A document has its result. With documents left the document bar starts again.
    void documentDone(bool moreToCome);

private:
    void advance(int documentBy, int batchBy);

    int batchMaximum_;
    int document_ = 0;
    int batch_ = 0;
};

}  // namespace xinghe::applications
