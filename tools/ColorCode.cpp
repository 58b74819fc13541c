#include "tools/ColorCode.h"

#include "resources/ColourCodes.h"

QString PadColorComponent(const QString& digits)
{
    if (digits.size() == 1)
        return QStringLiteral("00") + digits;
    if (digits.size() == 2)
        return QStringLiteral("0") + digits;
    return digits;
}

QString ColorCode(int red, int green, int blue)
{
    return QChar(ColourCodeSign) + PadColorComponent(QString::number(red)) + PadColorComponent(QString::number(green))
        + PadColorComponent(QString::number(blue));
}
