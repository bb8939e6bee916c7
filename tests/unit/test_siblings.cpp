/* Names of a variant's deliverables, derived from one another. */
#include <gtest/gtest.h>

#include <string>

#include "wlcore/siblings.h"

TEST(SiblingName, DerivesEachDeliverable)
{
    struct Case {
        const char *name;
        char letter;
        const char *ext;
        const char *expected;
    } cases[] = {
        {"WAVXQ48E", WL_SIBLING_COINSTALLER, ".dll", "WdVXQ48E.dll"},
        {"WAVXQ48C", WL_SIBLING_DEVICE, ".vxd", "WuVXQ48C.vxd"},
        {"WDVXQ48F.dll", WL_SIBLING_LIBRARY, ".dll", "WaVXQ48F.dll"},  /* cut at the first "." */
        {"WuVXQ48D.vxd.old", WL_SIBLING_LIBRARY, ".dll", "WaVXQ48D.dll"},
        {"WAVXQ48D", WL_SIBLING_SERVICE, ".exe", "WSVXQ48D.exe"},
        {"WAVXQ48E", WL_SIBLING_UTILITY, "", "WCVXQ48E"},
        {"W", WL_SIBLING_LIBRARY, ".dll", "W.dll"},  /* too short to have a second letter */
        {"", WL_SIBLING_LIBRARY, ".dll", ".dll"},
        {".x", WL_SIBLING_LIBRARY, ".dll", ".dll"},
    };
    for (const Case &c : cases) {
        char out[32];
        int n = WLSiblingName(c.name, c.letter, c.ext, out, sizeof out);
        EXPECT_STREQ(c.expected, out) << c.name;
        EXPECT_EQ((int)strlen(c.expected), n) << c.name;
    }
}

TEST(SiblingName, RefusesWhatDoesNotFit)
{
    char out[13];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(12, WLSiblingName("WAVXQ48E", 'd', ".dll", out, 13)); /* exactly fits */
    EXPECT_STREQ("WdVXQ48E.dll", out);
    memset(out, 'x', sizeof out);
    EXPECT_EQ(-1, WLSiblingName("WAVXQ48E", 'd', ".dll", out, 12));
    EXPECT_EQ('\0', out[0]);
    EXPECT_EQ('x', out[1]); /* nothing else written */
    EXPECT_EQ(-1, WLSiblingName("WAVXQ48E", 'd', ".dll", out, 0));
}
