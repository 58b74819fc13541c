// Path helpers for the names shown to the user.
#pragma once

#include <QString>

// The last component of `path`: what follows its last "/" or "\" (the whole path when it has neither).
QString StripDir(const QString& path);
