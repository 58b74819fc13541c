#include "lua/SyntaxCheck.h"

#include "lua/LuaMemory.h"

#include <QRegularExpression>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

std::optional<TSyntaxError> CheckLuaSyntax(const QByteArray& utf8, const QString& chunkName, std::size_t memoryLimit)
{
    TLuaBudget budget { 0, memoryLimit };
    lua_State* state = NewBudgetedLuaState(budget);
    if (!state)
        return TSyntaxError { 0, QStringLiteral("not enough memory") };
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
