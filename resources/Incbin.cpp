#include "resources/Incbin.h"

#include <algorithm>

namespace {
std::vector<TIncbin>& Registry()
{
    static std::vector<TIncbin> registry;
    return registry;
}

std::vector<TIncbin>::const_iterator Find(const QString& name)
{
    const std::vector<TIncbin>& registry = Registry();
    return std::find_if(registry.begin(), registry.end(), [&](const TIncbin& entry) { return entry.name == name; });
}
} // namespace

int RegisterIncbin(const QString& name, const unsigned char* bytes, qint64 size)
{
    if (Find(name) != Registry().end())
        return 0;
    Registry().push_back({ name, bytes, size });
    return 1;
}

TIncbin FindIncbin(const QString& name)
{
    const auto entry = Find(name);
    if (entry == Registry().end())
        return {};
    return *entry;
}

const std::vector<TIncbin>& RegisteredIncbins()
{
    return Registry();
}
