#include "platform/system/Failure.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

using plat::ClearLastError;
using plat::LastError;
using plat::ReportFailure;

// Each thread reads back its own last reason: a worker's failure neither replaces nor
// clears the one the GUI thread recorded, and a new thread starts with none.
TEST(FailureTest, TheLastReasonBelongsToTheThreadThatRecordedIt)
{
    ReportFailure("gui: first");
    std::string workerBefore, workerAfter;
    std::thread worker([&] {
        workerBefore = LastError();
        ReportFailure("worker: second");
        workerAfter = LastError();
        ClearLastError();
    });
    worker.join();
    EXPECT_EQ(workerBefore, "");
    EXPECT_EQ(workerAfter, "worker: second");
    EXPECT_EQ(LastError(), "gui: first");
    ClearLastError();
    EXPECT_EQ(LastError(), "");
}

// Many threads failing at once each keep their own text (a shared string would tear or
// mix under the sanitizers).
TEST(FailureTest, ThreadsFailingTogetherKeepTheirOwnReasons)
{
    constexpr int Threads = 4;
    bool kept[Threads] = {};
    std::thread workers[Threads];
    for (int t = 0; t < Threads; ++t)
        workers[t] = std::thread([t, &kept] {
            std::string mine = "thread " + std::to_string(t);
            bool ok = true;
            for (int i = 0; i < 2000; ++i) {
                ReportFailure(mine);
                ok = ok && LastError() == mine;
            }
            kept[t] = ok;
        });
    for (auto& w : workers)
        w.join();
    for (int t = 0; t < Threads; ++t)
        EXPECT_TRUE(kept[t]) << t;
}
