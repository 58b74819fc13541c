// The registry of files embedded in the executable, opened through "incbin::" + name.
#pragma once

#include <QString>
#include <vector>

struct TIncbin {
    QString name;
    const unsigned char* bytes = nullptr;
    qint64 size = 0;
};

// The program's files live in the one IncbinRegistry(); a test that must see a registry from its start
// makes its own.
class TIncbinRegistry {
public:
    // Adds the file unless its name is already registered: 1 when added, 0 when the name was taken.
    // The bytes must stay valid as long as the registry.
    int Register(const QString& name, const unsigned char* bytes, qint64 size);
    // The entry with exactly this name (case matters); bytes null and size 0 when there is none.
    TIncbin Find(const QString& name) const;
    // Every registered file, in the order of registration.
    const std::vector<TIncbin>& Entries() const { return entries; }

private:
    std::vector<TIncbin> entries;
};

TIncbinRegistry& IncbinRegistry();

// The process's registry, as the stream layer and start-up use it.
int RegisterIncbin(const QString& name, const unsigned char* bytes, qint64 size);
TIncbin FindIncbin(const QString& name);
const std::vector<TIncbin>& RegisteredIncbins();
