/*
 * The configuration dialog launch: the co-installer of the variant is
 * loaded from the system directory, its entry point runs on a thread of its
 * own with the adapter's NIC id, and the call returns only after it.
 * A probe co-installer (tests/testdll) records what it was handed.
 */
#include "testdll/adt_probe.h"
#include "wltest.h"

namespace {

std::string SystemDir()
{
    char dir[MAX_PATH];
    UINT n = GetSystemDirectoryA(dir, sizeof dir);
    return std::string(dir, n);
}

std::string CoInstallerName(const Variant &v) { return v.sibling(WL_SIBLING_COINSTALLER, ".dll"); }

/* The folder of the probe co-installers, beside the test program's. */
std::string ProbeDir()
{
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, exe, sizeof exe);
    std::string path(exe, n);
    return path.substr(0, path.rfind('\\')) + "\\..\\testdll";
}

/*
 * Puts a file in the system directory under the co-installer's name for
 * the guard's lifetime (or keeps the name free when source is empty); a
 * file already there is set aside and put back afterwards.
 */
class SystemDirFile {
public:
    SystemDirFile(const std::string &name, const std::string &source)
        : target_(SystemDir() + "\\" + name), aside_(target_ + ".aside")
    {
        DeleteFileA(aside_.c_str());
        if (GetFileAttributesA(target_.c_str()) != INVALID_FILE_ATTRIBUTES)
            movedAside_ = MoveFileA(target_.c_str(), aside_.c_str()) != 0;
        if (!source.empty()) {
            EXPECT_TRUE(CopyFileA(source.c_str(), target_.c_str(), FALSE))
                << source << " -> " << target_ << ": error " << GetLastError();
        }
        EXPECT_EQ(source.empty(), GetFileAttributesA(target_.c_str()) == INVALID_FILE_ATTRIBUTES);
    }
    ~SystemDirFile()
    {
        DeleteFileA(target_.c_str());
        if (movedAside_) MoveFileA(aside_.c_str(), target_.c_str());
    }

private:
    std::string target_, aside_;
    bool movedAside_ = false;
};

/* The probe's record, in named shared memory that lives with the object. */
class ProbeRecord {
public:
    ProbeRecord()
    {
        map_ = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(AdtProbeRecord),
                                  ADT_PROBE_MAPPING);
        rec_ = map_ ? (AdtProbeRecord *)MapViewOfFile(map_, FILE_MAP_WRITE, 0, 0, sizeof(AdtProbeRecord)) : NULL;
        EXPECT_TRUE(rec_ != NULL);
        if (rec_) memset(rec_, 0, sizeof *rec_);
    }
    ~ProbeRecord()
    {
        if (rec_) UnmapViewOfFile(rec_);
        if (map_) CloseHandle(map_);
    }
    volatile AdtProbeRecord *operator->() const { return rec_; }

private:
    HANDLE map_ = NULL;
    AdtProbeRecord *rec_ = NULL;
};

} // namespace

class CfgDialogTest : public testing::TestWithParam<Variant> {
protected:
    void SetUp() override { WriteFile("\\wlerr.txt", ""); }
    void TearDown() override { RemoveFile("\\wlerr.txt"); }
};

TEST_P(CfgDialogTest, WithoutCoInstallerNothingIsLoaded)
{
    const Variant v = GetParam();
    SystemDirFile none(CoInstallerName(v), "");
    {
        WLLib lib(v);
        EXPECT_EQ(WL_GENERAL_ERROR, WL(lib, WLCfgDialogGet)());
        EXPECT_EQ(0u, lib.returnString().find("} <WLCfgDialogGet> ")) << lib.returnString();
        EXPECT_TRUE(GetModuleHandleA(CoInstallerName(v).c_str()) == NULL);
    }
    EXPECT_TRUE(HasExitLine(ReadFile("\\wlerr.txt"), "AdtFunction", "hDll == NULL", "(WL_GENERAL_ERROR, 0x00002328, 9000) ERROR"))
        << ReadFile("\\wlerr.txt");
}

TEST_P(CfgDialogTest, WithoutEntryPointTheModuleIsUnloadedAgain)
{
    const Variant v = GetParam();
    SystemDirFile probe(CoInstallerName(v), ProbeDir() + "\\noentry\\WdVXQ48E.dll");
    {
        WLLib lib(v);
        EXPECT_EQ(WL_GENERAL_ERROR, WL(lib, WLCfgDialogGet)());
        EXPECT_TRUE(GetModuleHandleA(CoInstallerName(v).c_str()) == NULL);
    }
    EXPECT_TRUE(HasExitLine(ReadFile("\\wlerr.txt"), "AdtFunction", "pAdtEntryPointFn == NULL", "(WL_GENERAL_ERROR"))
        << ReadFile("\\wlerr.txt");
}

TEST_P(CfgDialogTest, EntryPointRunsOnItsOwnThreadAndTheCallWaitsForIt)
{
    const Variant v = GetParam();
    RegAdapter adapter(AdapterSpec("0180", "Dialog test card", true, v.letter));
    SystemDirFile probe(CoInstallerName(v), ProbeDir() + "\\" + CoInstallerName(v));
    ProbeRecord rec;
    WLLib lib(v);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0180", 4));

    DWORD start = GetTickCount();
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCfgDialogGet)());
    DWORD elapsed = GetTickCount() - start;
    /* the entry point had returned before the call did */
    EXPECT_EQ(1, rec->calls);
    EXPECT_EQ(1, rec->returned);
    EXPECT_GE(elapsed, (DWORD)ADT_PROBE_SLEEP_MS - 50);
    EXPECT_NE(0u, rec->threadId);
    EXPECT_NE(GetCurrentThreadId(), rec->threadId);
    EXPECT_STREQ("0180", (const char *)rec->nic);
    /* the dialog thread reached the library while the caller waited */
    EXPECT_EQ(WL_SUCCESS, rec->libraryNicRc);
    EXPECT_STREQ("0180", (const char *)rec->libraryNic);
    EXPECT_TRUE(GetModuleHandleA(CoInstallerName(v).c_str()) == NULL);
    EXPECT_EQ(0u, lib.returnString().find("} <WLCfgDialogGet> ")) << lib.returnString();

    /* with no adapter selected the entry point gets an empty id */
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("", 0));
    rec->returned = 0;
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCfgDialogGet)());
    EXPECT_EQ(2, rec->calls);
    EXPECT_EQ(1, rec->returned);
    EXPECT_STREQ("", (const char *)rec->nic);
    EXPECT_TRUE(GetModuleHandleA(CoInstallerName(v).c_str()) == NULL);
}

INSTANTIATE_TEST_SUITE_P(All, CfgDialogTest, testing::ValuesIn(kVariants), VariantName);
