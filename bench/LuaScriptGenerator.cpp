#include "LuaScriptGenerator.h"

#include <QStringList>

#include <random>

namespace {
const char* const HookNames[] = { "spawn", "die", "hit", "say", "join", "leave", "second", "minute", "use", "kill" };
const char* const Words[] = { "player", "score", "health", "armor", "money", "weapon", "team", "name", "target",
    "count", "delay", "value", "index", "result" };

class Writer {
public:
    explicit Writer(unsigned seed)
        : random(seed)
    {
    }

    int Number(int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); }
    const char* Word() { return Words[Number(std::size(Words))]; }

    void Line(int depth, const QString& text)
    {
        script += QString(depth, QChar(u'\t'));
        script += text;
        script += QChar(u'\n');
        ++lines;
    }

    void Statement(int depth)
    {
        switch (Number(8)) {
        case 0:
            Line(depth,
                QStringLiteral("local %1 = player(id, \"%2\") -- the %3 of this player").arg(Word(), Word(), Word()));
            break;
        case 1:
            Line(depth,
                QStringLiteral("msg2(id, \"\u00a9%1Hello \" .. %2 .. \", your %3 is \" .. %3)")
                    .arg(QStringLiteral("255") + QString::number(Number(900) + 100) + QStringLiteral("000"), Word(),
                        Word()));
            break;
        case 2:
            Line(depth,
                QStringLiteral("%1 = %1 + %2 * 2.5 + math.floor(%3 / 4) -- scale the %4")
                    .arg(Word())
                    .arg(Number(100))
                    .arg(Word(), Word()));
            break;
        case 3:
            Line(depth,
                QStringLiteral("parse(\"hudtxt2 \" .. id .. \" %1 \\\"%2\\\" 10 %3 0\")")
                    .arg(Number(50))
                    .arg(Word())
                    .arg(Number(480)));
            break;
        case 4:
            Line(depth,
                QStringLiteral("timer(%1, \"on_%2\", tostring(%3), %4) -- repeat")
                    .arg(Number(5000))
                    .arg(Word(), Word())
                    .arg(Number(9) + 1));
            break;
        case 5:
            Line(depth,
                QStringLiteral("local t = {a = %1, b = \"%2\", c = {%3, %4}}")
                    .arg(Number(99))
                    .arg(Word())
                    .arg(Number(9))
                    .arg(Number(9)));
            break;
        case 6:
            Line(depth, QStringLiteral("-- update the %1 and the %2 when the %3 changes").arg(Word(), Word(), Word()));
            break;
        default:
            Line(depth,
                QStringLiteral("%1[%2] = not %3 or (%4 ~= nil)").arg(Word()).arg(Number(32)).arg(Word(), Word()));
            break;
        }
    }

    void Block(int depth)
    {
        const int kind = Number(4);
        if (kind == 0) {
            Line(depth,
                QStringLiteral("if %1 > %2 and %3 < %4 then")
                    .arg(Word())
                    .arg(Number(100))
                    .arg(Word())
                    .arg(Number(100)));
            Statement(depth + 1);
            Statement(depth + 1);
            Statement(depth + 1);
            Line(depth, QStringLiteral("elseif not %1 then").arg(Word()));
            Line(depth + 1, QStringLiteral("return false"));
            Line(depth, QStringLiteral("end"));
        } else if (kind == 1) {
            Line(depth, QStringLiteral("for i = 1, %1 do").arg(Number(32) + 1));
            Statement(depth + 1);
            Statement(depth + 1);
            Statement(depth + 1);
            Line(depth, QStringLiteral("end"));
        } else {
            Statement(depth);
        }
    }

    void Function(int serial)
    {
        Line(0,
            QStringLiteral("-- handler %1 for the %2 hook").arg(serial).arg(HookNames[serial % std::size(HookNames)]));
        Line(0, QStringLiteral("function hook_%1(id, x, y)").arg(serial));
        const int blocks = 3 + Number(6);
        for (int b = 0; b < blocks; ++b)
            Block(1);
        Line(1, QStringLiteral("return true"));
        Line(0, QStringLiteral("end"));
        Line(0,
            QStringLiteral("addhook(\"%1\", \"hook_%2\")").arg(HookNames[serial % std::size(HookNames)]).arg(serial));
        Line(0, QString());
    }

    QString script;
    int lines = 0;

private:
    std::mt19937 random;
};
} // namespace

QString GenerateLuaScript(int lines, int characters)
{
    Writer writer(20240601u);
    writer.script.reserve(characters + 4096);
    for (int serial = 0; writer.lines < lines || writer.script.size() < characters; ++serial)
        writer.Function(serial);
    writer.script.chop(1); // no line break after the last line, as a loaded script has none
    return writer.script;
}
