// What a kill loses on a slow disk: a character is typed every 10 ms for 40 seconds while the keeper
// copies the script; every 10 ms, from the first copy on, the copy on the disk is read as the next start
// would read it, and the typing it lacks is the loss a kill at that moment would cause. Run under bench/SlowFsync.c's
// LD_PRELOAD (make bench does) to delay every fsync; prints the loss in seconds, its mean and its worst.
#include "app/RecoveryKeeper.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    using Clock = TRecoveryKeeper::Clock;
    constexpr auto Keystroke = std::chrono::milliseconds(10);
    constexpr auto Duration = std::chrono::seconds(40);

    QTemporaryDir folder;
    TRecoveryStore store(folder.filePath("recovery"), 1 << 22);
    TRecoveryKeeper keeper(store);
    std::vector<Clock::time_point> typedAt;
    const auto start = Clock::now();
    double worst = 0;
    double sum = 0;
    int samples = 0;
    for (auto now = start; now - start < Duration; now = Clock::now()) {
        typedAt.push_back(now);
        keeper.Changed(now);
        const int typed = int(typedAt.size());
        keeper.Pass([&] { return TRecoverySnapshot { {}, QString(typed, 'x'), QDateTime::currentDateTime() }; }, now);

        const QString file = store.File();
        QFile copy(file);
        const auto kept = !file.isEmpty() && copy.open(QIODevice::ReadOnly) ? DecodeRecovery(copy.readAll(), 1 << 22)
                                                                            : std::nullopt;
        if (kept) {
            // A copy of n characters holds the typing up to the n-th keystroke.
            const auto lastKept = typedAt[size_t(kept->text.size() - 1)];
            const double loss = std::chrono::duration<double>(now - lastKept).count();
            worst = std::max(worst, loss);
            sum += loss;
            ++samples;
        }
        std::this_thread::sleep_until(now + Keystroke);
    }
    const char* delay = std::getenv("SLOW_FSYNC_MS");
    std::printf(
        "recovery_loss_fsync_ms %s\nrecovery_loss_mean_s %.2f\nrecovery_loss_worst_s %.2f\nrecovery_copies %d\n",
        delay ? delay : "0", sum / samples, worst, keeper.Written());
    keeper.Flush();
    return 0;
}
