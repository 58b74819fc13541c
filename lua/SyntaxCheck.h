// Compiling a script with the Lua 5.1 compiler, the dialect the game runs, to find where it does not
// compile. The code is compiled, never run.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct TSyntaxError {
    int line = 0; // 1 for the first line; 0 when Lua names none (it ran out of memory)
    QString message; // Lua's message without the script's name and line in front
    bool operator==(const TSyntaxError&) const = default;
};

// Nothing when `utf8` compiles. `chunkName` names the script in Lua's messages. The compiler gets at
// most `memoryLimit` bytes, so that no script can exhaust the machine.
std::optional<TSyntaxError> CheckLuaSyntax(
    const QByteArray& utf8, const QString& chunkName, std::size_t memoryLimit = std::size_t(256) << 20);
