#include "core/applications/BatchProgress.h"

#include <algorithm>

namespace xinghe::applications {

void BatchProgress::advance(int documentBy, int batchBy) {
    // A bar stops at its maximum.
    document_ = std::min(document_ + documentBy, kDocumentMaximum);
    batch_ = std::min(batch_ + batchBy, batchMaximum_);
}

void BatchProgress::tick() {
    advance(kStep, kStep);
}

void BatchProgress::documentDone(bool moreToCome) {
    if (moreToCome) {
        advance(90, 60);
        document_ = 0;
    } else {
        advance(90, 500);
    }
}

}  // namespace xinghe::applications
