/* Adapter enumeration, selection and the per-adapter store. */
#include "wltest.h"

class NicTest : public testing::TestWithParam<Variant> {
protected:
    NICInfoBuffer Info() { return TypedBuffer<NICInfoBuffer>(NICInfoBufferType); }
    /* All adapters the enumeration lists, as "nic=dll". */
    std::vector<std::string> Enumerate(WLLib &lib)
    {
        std::vector<std::string> found;
        NICInfoBuffer b = Info();
        for (int rc = WL(lib, WLFirstNICGet)(&b); rc == WL_SUCCESS; rc = WL(lib, WLNextNICGet)(&b)) {
            found.push_back(std::string(b.Nic) + "=" + b.Dll);
            b = Info();
        }
        return found;
    }
};

TEST_P(NicTest, EnumerationListsFamilyAdaptersWithTheirLibrary)
{
    RegAdapter a(AdapterSpec("0140", "Card A", true, 'E'));
    RegAdapter b(AdapterSpec("0141", "Card B", true, 'F'));
    RegAdapter noDesc(AdapterSpec("0142", "", false, 'E'));
    RegAdapter emptyDesc(AdapterSpec("0143", "", true, 'E'));
    WLLib lib(GetParam());
    std::vector<std::string> found = Enumerate(lib);
    auto has = [&](const std::string &s) { return std::find(found.begin(), found.end(), s) != found.end(); };
    EXPECT_TRUE(has("0140=WaVXQ48E.dll"));
    EXPECT_TRUE(has("0141=WaVXQ48F.dll"));
    for (const std::string &s : found) {
        EXPECT_NE(0u, s.find("0142")) << "adapter without VendorDescription listed";
        EXPECT_NE(0u, s.find("0143")) << "adapter with empty VendorDescription listed";
    }
}

TEST_P(NicTest, EnumerationEndsAndStartsAgain)
{
    RegAdapter a(AdapterSpec("0140", "Card A", true, 'E'));
    WLLib lib(GetParam());
    size_t n = Enumerate(lib).size();
    ASSERT_GE(n, 1u);
    NICInfoBuffer b = Info();
    /* after the end, the next call starts again at the first subkey */
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLNextNICGet)(&b));
}

TEST_P(NicTest, EnumerationChecksTheBuffer)
{
    WLLib lib(GetParam());
    NICInfoBuffer b = Info();
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLFirstNICGet)(NULL));
    b.TS.Type = 16;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLFirstNICGet)(&b));
    EXPECT_NE(std::string::npos, lib.returnString().find("[Val->TS.Type != NICInfoBufferType]"));
    b = Info();
    b.TS.Size = 41;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLNextNICGet)(&b));
    EXPECT_NE(std::string::npos, lib.returnString().find("[Val->TS.Size != sizeof (NICInfoBuffer)]"));
}

TEST_P(NicTest, SelectionOfOwnAndForeignAdapters)
{
    const Variant v = GetParam();
    char other = v.letter == 'E' ? 'F' : 'E';
    RegAdapter own(AdapterSpec("0150", "Own", true, v.letter));
    RegAdapter foreign(AdapterSpec("0151", "Foreign", true, other));
    RegAdapter noDesc(AdapterSpec("0152", "", false, v.letter));
    WLLib lib(v);
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0150", 4));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLCurrentNICSet)("0151", 4));
    EXPECT_NE(std::string::npos, lib.returnString().find("[(Size != 0) && (!MatchingDll (Val, Size))]"));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLCurrentNICSet)("0152", 4));
    EXPECT_NE(std::string::npos, lib.returnString().find("[(Size != 0) && (!IsThisOurNic (Val, Size))]"));
    /* the refused calls left the selection alone */
    char nic[16];
    DWORD size = sizeof nic;
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICGet)(nic, &size));
    EXPECT_STREQ("0150", nic);
    EXPECT_EQ(4u, size);
}

TEST_P(NicTest, SelectionSizes)
{
    const Variant v = GetParam();
    RegAdapter own(AdapterSpec("01500000", "Own", true, v.letter));
    WLLib lib(v);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLCurrentNICSet)(NULL, 4));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLCurrentNICSet)("015000001", 9));
    EXPECT_NE(std::string::npos, lib.returnString().find("[Size > NIC_ID_SIZE]"));
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("01500000", 8));
    char nic[16];
    DWORD size = 8;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLCurrentNICGet)(nic, &size));
    EXPECT_NE(std::string::npos, lib.returnString().find("[*Size <= NIC_ID_SIZE]"));
    size = 9;
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICGet)(nic, &size));
    EXPECT_STREQ("01500000", nic);
    EXPECT_EQ(8u, size);
    /* Size 0 clears the selection */
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("", 0));
    size = 9;
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICGet)(nic, &size));
    EXPECT_EQ(0u, size);
    EXPECT_STREQ("", nic);
}

TEST_P(NicTest, NoSelectionMeansNoDriverAccess)
{
    const Variant v = GetParam();
    RegAdapter own(AdapterSpec("0153", "Own", true, v.letter));
    WLLib lib(v);
    SimAdapterFor(own, v);
    SimClearLog();
    unsigned short rec[4] = {3, 0xFC00, 0, 0};
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(lib, WLGenericGet)((WL_LTV *)rec));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib, WLConnect)());
    EXPECT_NE(std::string::npos, lib.generalError().find("[WL_DATA_NOT_AVAILABLE] (0x232d, 9005)"));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(0u, c.exchanges);
}

INSTANTIATE_TEST_SUITE_P(All, NicTest, testing::ValuesIn(kVariants), VariantName);
