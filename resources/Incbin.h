// The registry of files embedded in the executable, opened through "incbin::" + name.
#pragma once

#include <QString>
#include <vector>

struct TIncbin {
    QString name;
    const unsigned char* bytes = nullptr;
    qint64 size = 0;
};

// Adds the file unless its name is already registered: 1 when added, 0 when the name was taken.
// The bytes must stay valid for the rest of the process.
int RegisterIncbin(const QString& name, const unsigned char* bytes, qint64 size);

// The entry with exactly this name (case matters); bytes null and size 0 when there is none.
TIncbin FindIncbin(const QString& name);

// Every registered file, in the order of registration.
const std::vector<TIncbin>& RegisteredIncbins();
