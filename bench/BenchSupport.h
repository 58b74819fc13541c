// Timing and memory readings, and the editor-sized text area, shared by the benchmark's scenarios.
#pragma once

#include "gui/GadgetFactory.h"
#include "gui/GuiFont.h"
#include "gui/TextArea.h"

#include <QApplication>

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace bench {
using Clock = std::chrono::steady_clock;

inline double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

inline double TimeOnce(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return Milliseconds(Clock::now() - start);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median time of `runs` runs of `work`, each after `prepare` (untimed) when given.
inline double MedianOf(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        times.push_back(TimeOnce(work));
    }
    return Median(times);
}

// The median times of `first` and `second` run in turn, `runs` times each: on a machine whose speed
// changes from moment to moment, a figure and its floor are measured under the same conditions.
inline std::pair<double, double> MedianOfInTurn(
    int runs, const std::function<void()>& first, const std::function<void()>& second)
{
    std::vector<double> firstTimes, secondTimes;
    for (int i = 0; i < runs; ++i) {
        firstTimes.push_back(TimeOnce(first));
        secondTimes.push_back(TimeOnce(second));
    }
    return { Median(firstTimes), Median(secondTimes) };
}

// One figure for the parent process to collect, as a key=value line.
inline void Report(const char* key, double value)
{
    std::printf("%s=%.4f\n", key, value);
}

// Peak resident memory of this process so far, in MiB.
inline double PeakMiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}
// A window with a text area shaped, fonted and focused as the editor's own.
inline TTextArea* MakeBenchTextArea()
{
    TGadget* window = MakeWindow("Bench", 0, 0, 640, 512, nullptr, 1 | 2 | 0x20);
    auto* area = static_cast<TTextArea*>(MakeTextArea(0, 32, 640, 460, window, 0));
    area->SetTabs(4);
    area->SetFont(LibraryFont(FontKind::Monospaced, 10, 0));
    window->SetShow(1);
    area->Activate(ActivateCommand::Focus);
    QApplication::processEvents();
    return area;
}
} // namespace bench
