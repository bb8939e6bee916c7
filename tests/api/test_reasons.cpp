/*
 * The reason texts of the exit lines come from the stringified conditions,
 * spaces included: every listed text (reason_texts.txt) must stand in every
 * library variant exactly, so that a reformat of the sources cannot change
 * what the exit lines say.
 */
#include <fstream>
#include <iterator>

#include "wltest.h"

static const char *const kReasons[] = {
#include "reason_texts.inc"
};

/* The library file's bytes. */
static std::string LibraryImage(const WLLib &lib)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(lib.module(), path, sizeof path);
    std::ifstream in(std::string(path, n), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ReasonTexts, EveryListedReasonStandsInEveryVariantAsWritten)
{
    EXPECT_GT(sizeof kReasons / sizeof kReasons[0], 200u);
    for (const Variant &v : kVariants) {
        SCOPED_TRACE(v.dll());
        WLLib lib(v);
        const std::string image = LibraryImage(lib);
        ASSERT_FALSE(image.empty());
        for (const char *r : kReasons) {
            /* the text as a whole string: it ends at its terminator */
            std::string wanted = std::string(r) + '\0';
            EXPECT_NE(std::string::npos, image.find(wanted)) << "[" << r << "] is not a reason of " << v.dll();
        }
    }
}

/* A sample of the reasons as the exit lines carry them, spaces and all. */
TEST(ReasonTexts, ExitLinesCarryTheTextsExactly)
{
    WLLib lib(kVariants[2]);
    char buf[8];
    DWORD size = 0;
    ExpectRefused(lib, WL(lib, WLGeneralErrorStringGet)(NULL, &size), WL_INVALID_PARAMETER, "Val == NULL");
    ExpectRefused(lib, WL(lib, WLGeneralErrorStringGet)(buf, &size), WL_INPUT_BUFFER_INSUFFICIENT,
                  "*Size < (_tcslen (GeneralErrorString) + 1)");
    ExpectRefused(lib, WL(lib, WLApplySet)(2), WL_INVALID_PARAMETER, "!INTERVAL (0, <=, Val, <=, 1)");
}
