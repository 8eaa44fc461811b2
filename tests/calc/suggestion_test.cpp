// The core section proposed while the welding current is typed, and the mapping of the
// option lists' texts to their indexes.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "calc/design_calculation.h"

namespace tremira::calc {
namespace {

struct Keystroke {
    std::string_view Text2;
    std::optional<std::string> Text1;  // nothing: Text1 stays as it was
};

void typeInto(Int16 coreType, std::initializer_list<Keystroke> keystrokes) {
    for (const Keystroke &k : keystrokes) {
        SCOPED_TRACE("Text2 = \"" + std::string(k.Text2) + "\"");
        EXPECT_EQ(SuggestCoreSection(k.Text2, coreType), k.Text1);
    }
}

// A rod core, a toroid and an unlisted core type, counted as a rod.
TEST(SuggestCoreSection, FollowsTheCurrentAsItIsTyped) {
    typeInto(0, {{"1", "0,5292"}, {"16", "8,4672"}, {"160", "84,672"}, {"16", "8,4672"}, {"1", "0,5292"}, {"", {}}});
    typeInto(1, {{"1", "0,378"}, {"16", "6,048"}, {"160", "60,48"}});
    typeInto(-1, {{"160", "84,672"}, {"25", "13,23"}});
    // Zero fractions and currents below the minimum.
    typeInto(0, {{"0", {}}, {"05", "2,646"}, {"12,5", "6,615"}, {"24", "12,7008"}, {"0,0", "0"}, {",5", "0,2646"}});
    // Texts that are no numbers leave Text1 as it was; fifteen-digit currents get an exponent form.
    typeInto(0, {{",", {}}, {"1,2,3", {}}, {" ", {}}, {"12a", {}}, {"1" + std::string(400, '0'), {}}, {"1.5", {}}});
    typeInto(0, {{"100000000000000000000", "5,292E+19"}, {"-100000000000000000000", "-5,292E+19"}});
    typeInto(1, {{"0,0000000001", "3,78E-11"}});
}

TEST(ListIndexOf, ShownTextsMapToTheirIndexOthersToMinusOne) {
    struct Case {
        std::string_view text;
        Int16 material;
        Int16 coreType;
    } const cases[] = {
        {"Медь", 0, -1},  {"Алюминий", 1, -1}, {"Стержневой", -1, 0}, {"Тор", -1, 1},
        {"медь", -1, -1}, {"Тор ", -1, -1},    {"", -1, -1},          {"Copper", -1, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(ListIndexOf(c.text, kMaterialEntries), c.material);
        EXPECT_EQ(ListIndexOf(c.text, kCoreTypeEntries), c.coreType);
    }
}

}  // namespace
}  // namespace tremira::calc
