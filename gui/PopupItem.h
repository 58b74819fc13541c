// One entry of the completion list, as the text area shows it.
#pragma once

#include <QString>

struct TPopupItem {
    QString text;
    QString kind; // "hook", "function", ...
    QString detail;
};
