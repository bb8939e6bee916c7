/* Exit lines, read-back strings, the error log and the trace log ring. */
#include <regex>

#include "wltest.h"

static const Variant kE = {'E', 5};

static void ExpectLine(const std::string &line, const std::string &pattern)
{
    EXPECT_TRUE(std::regex_match(line, std::regex(pattern))) << "line: [" << line << "]\npattern: " << pattern;
}

class TraceTest : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveFile("\\wllog.txt");
        RemoveFile("\\wlerr.txt");
    }
    void TearDown() override
    {
        RemoveFile("\\wllog.txt");
        RemoveFile("\\wlerr.txt");
    }
};

TEST_F(TraceTest, SuccessExitLineNamesCodeAndEndsInBlank)
{
    WLLib lib(kE);
    DWORD os = 0;
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLOSTypeGet)(&os));
    ExpectLine(lib.returnString(),
               R"(\} <WLOSTypeGet> \(line \d+\) returned \[NORMAL RETURN\] \(WL_SUCCESS, 0x00000000, 0\) \n)");
}

TEST_F(TraceTest, FailedCheckNamesReasonCodeAndError)
{
    WLLib lib(kE);
    char name[64];
    DWORD size = sizeof name;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLComponentNameGet)(96, name, &size));
    ExpectLine(lib.returnString(),
               R"(\} <WLComponentNameGet> \(line \d+\) returned \[!INTERVAL \(0, <=, Comp, <=, \(int\) NCompNames - 1\)\] \(WL_INVALID_PARAMETER, 0x00002329, 9001\) ERROR\n)");
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLComponentNameGet)(-1, name, &size));
    size = 63;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib, WLComponentNameGet)(95, name, &size));
    ExpectLine(lib.returnString(), R"(.*returned \[\*Size < 64\] \(WL_INPUT_BUFFER_INSUFFICIENT, 0x0000232C, 9004\) ERROR\n)");
    size = 64;
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLComponentNameGet)(95, name, &size));
    EXPECT_EQ(strlen(name), size);
    size = 64;
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLComponentNameGet)(94, name, &size));
    EXPECT_STREQ("-", name);
    size = 64;
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLComponentNameGet)(70, name, &size));
    EXPECT_STREQ("Utility 70", name);
}

TEST_F(TraceTest, ReasonWithSuccessCodeIsNotAnError)
{
    WLLib lib(kE);
    WL(lib, WLLogErrorNew)();
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLApply)());
    ExpectLine(lib.returnString(), R"(\} <WLApply> \(line \d+\) returned \[!ApplyNeed\] \(WL_SUCCESS, 0x00000000, 0\) \n)");
    EXPECT_EQ("", ReadFile("\\wlerr.txt"));
}

TEST_F(TraceTest, ReturnStringGetChecksAndLeavesBufferOnShortSize)
{
    WLLib lib(kE);
    DWORD os;
    WL(lib, WLOSTypeGet)(&os);
    char buf[256];
    memset(buf, 'x', sizeof buf);
    DWORD size = 10;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib, WLReturnStringGet)(buf, &size));
    EXPECT_EQ(10u, size);
    EXPECT_EQ('x', buf[0]);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLReturnStringGet)(NULL, &size));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLReturnStringGet)(buf, NULL));
    ExpectLine(lib.returnString(), R"(\} <WLReturnStringGet> \(line \d+\) returned \[Size == NULL\] .* ERROR\n)");
}

TEST_F(TraceTest, SameFailureTwiceReachesErrorLogOnce)
{
    WLLib lib(kE);
    EXPECT_EQ(0, WL(lib, WLLogErrorNew)());
    char name[64];
    DWORD size = sizeof name;
    WL(lib, WLComponentNameGet)(200, name, &size);
    WL(lib, WLComponentNameGet)(200, name, &size);
    std::string log = ReadFile("\\wlerr.txt");
    EXPECT_EQ(lib.returnString(), log);
    WL(lib, WLDAINameGet)(NULL, &size);
    WL(lib, WLComponentNameGet)(200, name, &size);
    log = ReadFile("\\wlerr.txt");
    EXPECT_EQ(3u, (size_t)std::count(log.begin(), log.end(), '\n')) << log;
}

TEST_F(TraceTest, NoErrorLogFileDropsLines)
{
    WLLib lib(kE);
    char name[64];
    DWORD size = sizeof name;
    WL(lib, WLComponentNameGet)(200, name, &size);
    EXPECT_FALSE(FileExists("\\wlerr.txt"));
}

TEST_F(TraceTest, DaiNameIsTheLibraryBaseName)
{
    for (const Variant &v : kVariants) {
        WLLib lib(v);
        char name[16];
        DWORD size = 8;
        EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib, WLDAINameGet)(name, &size));
        size = 9;
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLDAINameGet)(name, &size));
        EXPECT_EQ(v.dll(), name);
        EXPECT_EQ(8u, size);
    }
}

TEST_F(TraceTest, GeneralErrorStringChecks)
{
    WLLib lib(kE);
    char buf[8];
    DWORD size = sizeof buf;
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLGeneralErrorStringGet)(buf, &size));
    EXPECT_EQ(0u, size);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLGeneralErrorStringGet)(NULL, &size));
    size = 0;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib, WLGeneralErrorStringGet)(buf, &size));
}

/* ---- The trace log file ---- */

class TraceLogTest : public TraceTest {
protected:
    void SetUp() override
    {
        TraceTest::SetUp();
        for (int n = -1; n <= 9; n++) RemoveFile(LogName(n));
    }
    void TearDown() override
    {
        for (int n = -1; n <= 9; n++) RemoveFile(LogName(n));
        TraceTest::TearDown();
    }
    static std::string LogName(int n) { return "\\wllog48E" + std::to_string(n) + ".txt"; }
};

TEST_F(TraceLogTest, DisabledWithoutMarker)
{
    WLLib lib(kE);
    EXPECT_EQ(-1, WL(lib, WLLog)("hello %d\n", 1));
    EXPECT_FALSE(FileExists(LogName(0)));
    /* once disabled it stays so, even when the marker appears */
    WriteFile("\\wllog.txt", "");
    EXPECT_EQ(-1, WL(lib, WLLog)("hello %d\n", 2));
}

TEST_F(TraceLogTest, FirstEntryOverwritesBannerAndFrameIndents)
{
    WriteFile("\\wllog.txt", "");
    WLLib lib(kE);
    std::string opened = ReadFile(LogName(0));
    EXPECT_EQ("\n *** logfile opened *** \n", opened);
    EXPECT_EQ(0, WL(lib, WLLog)("first %s\n", "entry"));
    std::string log = ReadFile(LogName(0));
    EXPECT_EQ(0u, log.find("first entry\nFINGER, line 1\n")) << log;
    /* the header went after the banner on the first write */
    EXPECT_NE(std::string::npos, log.find("DAI COMPATIBILITY is WL_COMPATIBILITY_UNCHECKED\n")) << log;

    DWORD os;
    WL(lib, WLOSTypeGet)(&os);
    log = ReadFile(LogName(0));
    EXPECT_NE(std::string::npos, log.find("first entry\n<WLOSTypeGet> {\n|   OSType <")) << log;
    std::regex exitLine(R"(first entry\n<WLOSTypeGet> \{\n\|   OSType <\d+>, OSName <[^>]*>\n\} <WLOSTypeGet> \(line \d+\) returned \[NORMAL RETURN\] \(WL_SUCCESS, 0x00000000, 0\) \nFINGER, line 4\n[\s\S]*)");
    EXPECT_TRUE(std::regex_match(log, exitLine)) << log;
}

TEST_F(TraceLogTest, TenNumberedFilesGiveNumberMinusOne)
{
    WriteFile("\\wllog.txt", "");
    for (int n = 0; n <= 9; n++) WriteFile(LogName(n), "old");
    WLLib lib(kE);
    EXPECT_EQ(0, WL(lib, WLLog)("x\n"));
    EXPECT_EQ(0u, ReadFile(LogName(-1)).find("x\nFINGER, line 1\n"));
    EXPECT_EQ("old", ReadFile(LogName(9)));
}

TEST_F(TraceLogTest, NextFreeNumberIsTaken)
{
    WriteFile("\\wllog.txt", "");
    WriteFile(LogName(0), "old");
    WriteFile(LogName(1), "old");
    WLLib lib(kE);
    WL(lib, WLLog)("y\n");
    EXPECT_EQ(0u, ReadFile(LogName(2)).find("y\n"));
}

TEST_F(TraceLogTest, RingWrapsAfterOneHundredThousandEntries)
{
    WriteFile("\\wllog.txt", "");
    WLLib lib(kE);
    auto log = WL(lib, WLLog);
    DWORD start = GetTickCount();
    for (int i = 1; i <= 100001; i++) ASSERT_EQ(0, log("entry %06d\n", i));
    DWORD ms = GetTickCount() - start;
    printf("100001 log entries took %lu ms\n", (unsigned long)ms);
    std::string text = ReadFile(LogName(0));
    /* entry 100001 was written, then the ring went back to the start */
    EXPECT_NE(std::string::npos, text.find("entry 100001\n"));
    EXPECT_EQ(std::string::npos, text.find("FINGER, line 100001"));
    ASSERT_EQ(0, log("wrapped\n"));
    text = ReadFile(LogName(0));
    EXPECT_EQ(0u, text.find("wrapped\nFINGER, line 1\n")) << text.substr(0, 80);
    EXPECT_NE(std::string::npos, text.find("entry 100000\nentry 100001\n"));
}

TEST_F(TraceLogTest, LogNewEmptiesTheFile)
{
    WriteFile("\\wllog.txt", "");
    WLLib lib(kE);
    WL(lib, WLLog)("before\n");
    EXPECT_EQ(0, WL(lib, WLLogNew)());
    EXPECT_EQ("", ReadFile(LogName(0)));
    WL(lib, WLLog)("after\n");
    EXPECT_EQ("after\nFINGER, line 1\n", ReadFile(LogName(0)));
}

TEST_F(TraceLogTest, LongTextIsCutTo247Characters)
{
    WriteFile("\\wllog.txt", "");
    WLLib lib(kE);
    std::string big(400, 'a');
    WL(lib, WLLog)("%s", big.c_str());
    std::string text = ReadFile(LogName(0));
    EXPECT_EQ(std::string(247, 'a') + "FINGER, line 1\n", text.substr(0, 247 + 15));
}

/* The dump functions run the editor on the log through the command
 * interpreter and return when it has ended. */
TEST_F(TraceLogTest, DumpShowsTheLogInTheEditor)
{
    std::string editor = std::string("Z:") + WL_TESTBIN_DIR + "/notepad.exe";
    for (char &c : editor)
        if (c == '/') c = '\\';
    ASSERT_TRUE(CopyFileA(editor.c_str(), "notepad.exe", FALSE)) << editor;
    WriteFile("\\wllog.txt", "");
    {
        WLLib lib(kE);
        RemoveFile("shown.txt");
        EXPECT_EQ(0, WL(lib, WLLogErrorDump)());
        EXPECT_EQ("\\wlerr.txt", ReadFile("shown.txt"));
        RemoveFile("shown.txt");
        EXPECT_EQ(0, WL(lib, WLLogDump)());
        EXPECT_EQ(LogName(0), ReadFile("shown.txt"));
    }
    RemoveFile("shown.txt");
    RemoveFile("notepad.exe");
}

/* ---- Balanced frames ---- */

/* An export the older firmware does not support answers with its exit line
 * only, and leaves the frame depth and the trace indent as they were. */
TEST_F(TraceTest, FrameDepthStaysBalancedAcrossRefusedExports)
{
    const Variant c = {'C', 3};
    const std::string log = "\\wllog48C0.txt";
    RemoveFile(log);
    WriteFile("\\wllog.txt", "");
    {
        WLLib lib(c);
        int v = 0;
        FrameDepthTake();
        EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(lib, WLTXPowerLevelGet)(&v));
        EXPECT_EQ(0, FrameDepthTake()) << "the refusal closed a frame it never opened";
        EXPECT_EQ(WL_NOT_CONNECTED, WL(lib, WLConnected)());
        EXPECT_EQ(0, FrameDepthTake());
    }
    const std::string text = ReadFile(log);
    EXPECT_EQ(std::string::npos, text.find("indent negative")) << text;
    EXPECT_NE(std::string::npos, text.find("\n<WLConnected> {\n")) << "entry line not at indent 0:\n" << text;
    RemoveFile(log);
}
