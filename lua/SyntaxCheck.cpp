#include "lua/SyntaxCheck.h"

#include <QRegularExpression>

#include <cstdlib>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

namespace {
// Lua's allocator with a ceiling: past it an allocation fails and Lua reports "not enough memory".
struct TBudget {
    std::size_t used = 0;
    std::size_t limit = 0;
};

void* Allocate(void* context, void* block, std::size_t oldSize, std::size_t newSize)
{
    auto* budget = static_cast<TBudget*>(context);
    if (newSize == 0) {
        budget->used -= block ? oldSize : 0;
        std::free(block);
        return nullptr;
    }
    const std::size_t before = block ? oldSize : 0;
    if (newSize > before && newSize - before > budget->limit - budget->used)
        return nullptr;
    void* grown = std::realloc(block, newSize);
    if (grown)
        budget->used = budget->used - before + newSize;
    return grown;
}

int Panic(lua_State*)
{
    // Only reached outside a protected call, which loading never is; ending beats undefined behaviour.
    std::abort();
}
} // namespace

std::optional<TSyntaxError> CheckLuaSyntax(const QByteArray& utf8, const QString& chunkName, std::size_t memoryLimit)
{
    TBudget budget { 0, memoryLimit };
    lua_State* state = lua_newstate(Allocate, &budget);
    if (!state)
        return TSyntaxError { 0, QStringLiteral("not enough memory") };
    lua_atpanic(state, Panic);
    // "=" names the chunk as given, so that a message reads "name:line: text". Lua cuts a longer name
    // than 59 bytes short; a shorter one, cut whole characters at a time, is never cut again.
    QString shortName = chunkName;
    while (shortName.toUtf8().size() > 59)
        shortName.chop(shortName.size() >= 2 && shortName.back().isLowSurrogate() ? 2 : 1);
    const QByteArray name = "=" + shortName.toUtf8();
    const int status = luaL_loadbuffer(state, utf8.constData(), std::size_t(utf8.size()), name.constData());
    std::optional<TSyntaxError> error;
    if (status != 0) {
        const char* text = lua_tostring(state, -1);
        QString message = text ? QString::fromUtf8(text) : QStringLiteral("not enough memory");
        error = TSyntaxError { 0, message };
        // The name may hold colons itself; the line is the number right after it.
        const QString prefix = QString::fromUtf8(name.mid(1)) + QLatin1Char(':');
        if (message.startsWith(prefix)) {
            const QRegularExpressionMatch line
                = QRegularExpression(QStringLiteral("^(\\d+): ")).match(message.mid(prefix.size()));
            if (line.hasMatch()) {
                error->line = line.captured(1).toInt();
                error->message = message.mid(prefix.size() + line.capturedLength(0));
            }
        }
    }
    lua_close(state);
    return error;
}
