// Environment variables a test sets for itself: the old values come back when it ends, so that no later
// test reads a folder that is gone.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <vector>

class TScopedEnvironment {
public:
    TScopedEnvironment() = default;
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;
    ~TScopedEnvironment() { Restore(); }

    void Set(const char* name, const QByteArray& value)
    {
        std::optional<QByteArray> old;
        if (qEnvironmentVariableIsSet(name))
            old = qgetenv(name);
        saved.emplace_back(name, std::move(old));
        qputenv(name, value);
    }

    // Latest first, so that a variable set twice gets its first old value back.
    void Restore()
    {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->second)
                qputenv(it->first, *it->second);
            else
                qunsetenv(it->first);
        }
        saved.clear();
    }

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved;
};
