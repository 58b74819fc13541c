// The keeper's writers on a slow disk: a copy is taken only when a writer can start on it, two may be on
// their way at once, and the newest is the one that stays.
#include "app/RecoveryKeeper.h"

#include "support/QStringPrinter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {
// Every write of a copy waits at this gate until the test lets one through.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    int waiting = 0;
    int open = 0;

    static int Pass(bool)
    {
        std::unique_lock lock(gate.mutex);
        ++gate.waiting;
        gate.changed.notify_all();
        gate.changed.wait(lock, [] { return gate.open > 0; });
        --gate.open;
        --gate.waiting;
        gate.changed.notify_all();
        return 0;
    }
    // False when it did not come to `count` writes waiting.
    bool WaitFor(int count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return waiting == count; });
    }
    void Let(int count)
    {
        std::lock_guard lock(mutex);
        open += count;
        changed.notify_all();
    }
    static Gate gate;
};
Gate Gate::gate;

TEST(RecoveryKeeperTest, ACopyIsTakenOnlyWhenAWriterCanStartOnIt)
{
    QTemporaryDir folder;
    TRecoveryStore store(folder.filePath("recovery"), 100);
    TRecoveryKeeper keeper(store);
    keeper.delay = std::chrono::milliseconds(0);
    int taken = 0;
    const auto snapshot = [&] {
        return TRecoverySnapshot { {}, QString::number(++taken), QDateTime::currentDateTime() };
    };
    RecoveryWriteFault = Gate::Pass;
    // However the test ends, the writers get through before the keeper waits for them.
    struct OpenAtEnd {
        ~OpenAtEnd() { Gate::gate.Let(1000); }
    } openAtEnd;

    for (int copy = 1; copy <= 2; ++copy) {
        keeper.Changed();
        keeper.Pass(snapshot);
        ASSERT_TRUE(Gate::gate.WaitFor(copy)) << "copy " << copy << " did not start";
    }
    EXPECT_EQ(taken, 2) << "two copies on their way at once";
    keeper.Changed();
    keeper.Pass(snapshot);
    EXPECT_EQ(taken, 2) << "no writer is free: the text is not taken yet";

    // A writer comes free: the change still waiting is taken at the next pass, as it stands then.
    Gate::gate.Let(1);
    ASSERT_TRUE(Gate::gate.WaitFor(1));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (taken == 2 && std::chrono::steady_clock::now() < deadline)
        keeper.Pass(snapshot);
    ASSERT_EQ(taken, 3);
    Gate::gate.Let(2);
    keeper.Flush();
    EXPECT_EQ(keeper.Written(), 3);
    QFile copy(store.File());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(DecodeRecovery(copy.readAll(), 100)->text, "3");
    RecoveryWriteFault = nullptr;
}
} // namespace
