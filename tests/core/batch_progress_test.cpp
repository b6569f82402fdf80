#include <gtest/gtest.h>

#include "core/applications/BatchProgress.h"

using xinghe::applications::BatchProgress;

TEST(BatchProgress, BatchMaximumIsTwelveStepsPerDocument) {
    EXPECT_EQ(BatchProgress(1).batchMaximum(), 120);
    EXPECT_EQ(BatchProgress(4).batchMaximum(), 480);
}

TEST(BatchProgress, TicksThenResultsMoveBothBars) {
    BatchProgress p(3);
    for (int i = 0; i < 3; ++i) p.tick();
    EXPECT_EQ(p.documentValue(), 30);
    EXPECT_EQ(p.batchValue(), 30);

    // A document with others after it: the document bar starts again.
    p.documentDone(true);
    EXPECT_EQ(p.documentValue(), 0);
    EXPECT_EQ(p.batchValue(), 90);

    for (int i = 0; i < 8; ++i) p.tick();
    p.documentDone(true);
    EXPECT_EQ(p.documentValue(), 0);
    EXPECT_EQ(p.batchValue(), 230);

    // The last one: the document bar stays full and the batch bar is filled.
    p.tick();
    p.documentDone(false);
    EXPECT_EQ(p.documentValue(), 100);
    EXPECT_EQ(p.batchValue(), 360);
}

TEST(BatchProgress, BarsStopAtTheirMaximum) {
    BatchProgress p(1);
    for (int i = 0; i < 15; ++i) p.tick();
    EXPECT_EQ(p.documentValue(), 120);
    EXPECT_EQ(p.batchValue(), 120);
    p.documentDone(false);
    EXPECT_EQ(p.documentValue(), 120);
    EXPECT_EQ(p.batchValue(), 120);

    BatchProgress two(2);
    for (int i = 0; i < 8; ++i) two.tick();
    two.documentDone(true);  // 80 + 60
    for (int i = 0; i < 8; ++i) two.tick();
    EXPECT_EQ(two.batchValue(), 220);
    two.documentDone(false);
    EXPECT_EQ(two.batchValue(), 240);
}
