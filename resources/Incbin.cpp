#include "resources/Incbin.h"

#include <algorithm>

int TIncbinRegistry::Register(const QString& name, const unsigned char* bytes, qint64 size)
{
    if (std::any_of(entries.begin(), entries.end(), [&](const TIncbin& entry) { return entry.name == name; }))
        return 0;
    entries.push_back({ name, bytes, size });
    return 1;
}

TIncbin TIncbinRegistry::Find(const QString& name) const
{
    const auto entry
        = std::find_if(entries.begin(), entries.end(), [&](const TIncbin& entry) { return entry.name == name; });
    return entry == entries.end() ? TIncbin() : *entry;
}

TIncbinRegistry& IncbinRegistry()
{
    static TIncbinRegistry registry;
    return registry;
}

int RegisterIncbin(const QString& name, const unsigned char* bytes, qint64 size)
{
    return IncbinRegistry().Register(name, bytes, size);
}

TIncbin FindIncbin(const QString& name)
{
    return IncbinRegistry().Find(name);
}

const std::vector<TIncbin>& RegisteredIncbins()
{
    return IncbinRegistry().Entries();
}
