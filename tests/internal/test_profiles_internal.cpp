/* The profile store's key deletion helper, linked in directly. */
#include <gtest/gtest.h>

#include "profiles/profile.h"

static const char kBase[] = "Software\\Wireless\\DeletionTest";

static bool Exists(const std::string &key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

static void Create(const std::string &key)
{
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                             &h, NULL));
    RegSetValueExA(h, "V", 0, REG_SZ, (const BYTE *)"x", 2);
    RegCloseKey(h);
}

TEST(ProfileKeyDeletion, DeletesWholeTreesAndRefusesAnEmptyPath)
{
    const std::string base = kBase;
    for (const char *sub : {"\\a\\b\\c", "\\a\\d", "\\e"}) Create(base + sub);
    EXPECT_EQ(WL_INVALID_PARAMETER, RegKeyDelete(""));
    EXPECT_EQ(WL_INVALID_PARAMETER, RegKeyDelete(NULL));
    EXPECT_TRUE(Exists(base + "\\a\\b\\c"));
    EXPECT_EQ(WL_SUCCESS, RegKeyDelete(kBase));
    EXPECT_FALSE(Exists(base));
    EXPECT_TRUE(Exists("Software\\Wireless")) << "the parent stays";
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, RegKeyDelete(kBase));
}

TEST(ProfileKeyDeletion, ProfileKeyPathsNameOneProfileOnly)
{
    std::string path;
    EXPECT_TRUE(ProfileKeyPath("Office", &path));
    EXPECT_EQ("Software\\Wireless\\Driver\\Office", path);
    EXPECT_FALSE(ProfileKeyPath("", &path));
    EXPECT_FALSE(ProfileKeyPath("a\\b", &path));
}
