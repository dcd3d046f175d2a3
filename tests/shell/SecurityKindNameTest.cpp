#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/CLanguageCatalog.h"
#include "shell/SecurityKindName.h"

namespace {

TEST(SecurityKindNameTest, NamesByKindWithUnknownOutside)
{
    CLanguageCatalog english; // nothing loaded: the English texts themselves
    const char16_t* expected[] = {u"None", u"UnKnown", u"WEP", u"WPA-PSK", u"WPA2-PSK", u"WPA/WPA2-PSK", u"WPA", u"WPA2"};
    for (int kind = 0; kind < 8; ++kind)
        EXPECT_EQ(SecurityKindName(english, kind), expected[kind]) << kind;
    EXPECT_EQ(SecurityKindName(english, 8), u"UnKnown");
    EXPECT_EQ(SecurityKindName(english, -1), u"UnKnown");
}

TEST(SecurityKindNameTest, NamesPassThroughTheCatalogue)
{
    CLanguageCatalog chinese;
    chinese.Load(std::string(getenv("ZARNWELL_BIN_DIR")) + "/", 2052);
    EXPECT_NE(SecurityKindName(chinese, 0), u"None");
    EXPECT_NE(SecurityKindName(chinese, 1), u"UnKnown");
}

} // namespace
