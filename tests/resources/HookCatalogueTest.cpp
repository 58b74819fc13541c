// The hook catalogue as its readers use it: lookups by name and the order the wizard's tree follows.
#include "resources/HookCatalogue.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <set>

namespace {
TEST(HookCatalogueTest, FindHookTakesExactHookNamesOnly)
{
    const std::pair<QString, QStringList> found[] = {
        { "die", { "victim", "killer", "wpn", "x", "y" } },
        { "startround_prespawn", { "mode" } },
        { "second", {} }, // a timed hook: no parameters, not one empty one
        { "objectupgrade", { "objid", "id", "progress", "total" } },
    };
    for (const auto& [name, parameters] : found) {
        const TGameHook* hook = FindHook(name);
        ASSERT_NE(hook, nullptr) << name.toStdString();
        EXPECT_EQ(hook->name, name);
        EXPECT_EQ(hook->parameters, parameters) << name.toStdString();
    }
    EXPECT_EQ(FindHook(u"hit")->ParameterList(), "id, src, wpn, hpdmg, apdmg, rawdmg");
    EXPECT_EQ(FindHook(u"ms100")->ParameterList(), "");
    for (const char* unknown : { "Die", "die ", "", "Player", "startround_", "addhook" })
        EXPECT_EQ(FindHook(QString::fromLatin1(unknown)), nullptr) << unknown;
}

// Each category's hooks stand together, the categories in the tree's order; no name is there twice.
TEST(HookCatalogueTest, FiftyEightUniqueHooksGroupedByCategory)
{
    const std::vector<TGameHook>& hooks = HookCatalogue();
    ASSERT_EQ(hooks.size(), 58u);
    EXPECT_EQ(HookCategories(), (QStringList { "Basic", "Time", "Player", "Object" }));
    QStringList order;
    std::set<QString> names;
    for (const TGameHook& hook : hooks) {
        if (order.isEmpty() || order.back() != hook.category)
            order.append(hook.category);
        EXPECT_TRUE(names.insert(hook.name).second) << hook.name.toStdString();
    }
    EXPECT_EQ(order, HookCategories());
    EXPECT_EQ(hooks.front().name, "break");
    EXPECT_EQ(hooks.back().name, "objectupgrade");
}
} // namespace
