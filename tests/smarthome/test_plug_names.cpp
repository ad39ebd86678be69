// The name the plug editor proposes: the smallest free number after the type's
// prefix among the names of the present plugs 2-232.
#include "smarthome/PlugNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quilo;

namespace {

struct Named {
    int id;
    std::u16string name;
    bool present = true;
};

PlugTableData tableOf(const std::vector<Named>& plugs) {
    PlugTable table;
    for (const Named& p : plugs) {
        table.setRecord(p.id, PlugRecord::make(kSwitchPlug, p.name));
        table.setPresent(p.id, p.present);
    }
    return table.snapshot();
}

} // namespace

TEST(PlugNames, TheSmallestFreeNumberAfterTheTypesPrefix) {
    struct Case {
        const char* what;
        std::uint8_t type;
        std::vector<Named> plugs;
        std::u16string expected;
    };
    const std::vector<Case> cases{
        {"no plug", kSwitchPlug, {}, u"开关1"},
        {"1 and 2 taken", kSwitchPlug, {{2, u"开关1"}, {3, u"开关2"}}, u"开关3"},
        {"1 renamed", kSwitchPlug, {{2, u"Lamp"}, {3, u"开关2"}}, u"开关1"},
        {"dimmer prefix", kDimmerPlug, {{2, u"开关1"}, {5, u"调压1"}}, u"调压2"},
        {"absent plugs do not count", kSwitchPlug, {{2, u"开关1", false}}, u"开关1"},
        {"the controller does not count", kSwitchPlug, {{1, u"开关1"}}, u"开关1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(defaultPlugName(c.type, tableOf(c.plugs)), c.expected) << c.what;
    }
}
