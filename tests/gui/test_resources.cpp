/*
 * The co-installer module: imports by ordinal from its own variant's
 * library only, the resources both resource modules carry, their layout,
 * and the version rule that decides whether the resource library is used.
 */
#include <set>

#include "advanced_fixture.h"

namespace {

/* Imports of a loaded module: DLL name and, per DLL, the ordinals (or -1
 * for an import by name). */
std::vector<std::pair<std::string, std::vector<int>>> Imports(HMODULE m)
{
    std::vector<std::pair<std::string, std::vector<int>>> out;
    const BYTE *base = reinterpret_cast<const BYTE *>(m);
    const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const IMAGE_NT_HEADERS32 *nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_IMPORT_DESCRIPTOR *d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress);
    for (; d->Name; d++) {
        std::vector<int> ords;
        const IMAGE_THUNK_DATA32 *t =
            reinterpret_cast<const IMAGE_THUNK_DATA32 *>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        for (; t->u1.Ordinal; t++)
            ords.push_back(IMAGE_SNAP_BY_ORDINAL32(t->u1.Ordinal) ? (int)IMAGE_ORDINAL32(t->u1.Ordinal) : -1);
        out.push_back({reinterpret_cast<const char *>(base + d->Name), ords});
    }
    return out;
}

std::string Upper(std::string s)
{
    for (char &c : s) c = (char)toupper((unsigned char)c);
    return s;
}

class CoInstallerModule : public testing::TestWithParam<Variant> {};

TEST_P(CoInstallerModule, ImportsItsLibraryByOrdinalAndSystemDllsOnly)
{
    const Variant &v = GetParam();
    CoInstaller co(v.letter);
    ASSERT_TRUE(co.module() != NULL);
    const std::set<std::string> system = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL", "COMCTL32.DLL",
                                          "SETUPAPI.DLL", "VERSION.DLL", "MSVCRT.DLL", "SHELL32.DLL"};
    int fromLibrary = 0;
    for (const auto &imp : Imports(co.module())) {
        std::string name = Upper(imp.first);
        if (name == Upper(v.dll() + ".DLL")) {
            for (int ord : imp.second) {
                EXPECT_GT(ord, 0) << "import by name from " << name;
                EXPECT_TRUE(GetProcAddress(co.api(), MAKEINTRESOURCEA(ord)) != NULL) << "ordinal " << ord;
                fromLibrary++;
            }
        } else {
            EXPECT_TRUE(system.count(name)) << "imports " << name;
        }
    }
    EXPECT_GE(fromLibrary, 20);
    EXPECT_TRUE(co.proc("NicSpecificDlgProc") != NULL);
}

INSTANTIATE_TEST_SUITE_P(Variants, CoInstallerModule, testing::ValuesIn(kVariants), VariantName);

/* Every control id of a dialog template, by template. */
struct TemplateIds {
    int dialog;
    std::vector<int> ids;
};

std::vector<TemplateIds> AllTemplates()
{
    std::vector<int> adv = {2314, 2204, 2061, 2248, 2249, 2310, 2311, 2315, 2317, 2250, 2312};
    for (int id = 2212; id <= 2247; id++) adv.push_back(id);
    return {
        {IDD_WIRELESS_ADVANCED, adv},
        {IDD_WIRELESS_NETWORKS,
         {2314, 2050, 2051, 2052, 2053, 2054, 2057, 2160, 2059, 2060, 2055, 2056, 2316, 2313, 2062}},
        {IDD_PROFILE_MANAGEMENT, {2164, 2167, 2169, 2168, 2165, 2166, 2163, 2054, 2055, 2056, 2160, 8, 2197}},
        {IDD_NETWORK_PROPERTIES, {2201, 2202, 2204, 2203, 2205, 2207, 2206, 2208, 2209, 2210, 2211, 1, 2, 2251}},
    };
}

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

/* Width in pixels that a control's text needs in the dialog's font. */
int TextWidth(HWND control, const char *text)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(control, WM_GETFONT, 0, 0));
    RECT r = {0, 0, 0, 0};
    DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.right;
}

struct ResourceModule {
    const char *name;
    std::string path; /* empty: the co-installer itself */
};

class Resources : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        co_.reset(new CoInstaller('E'));
        if (GetParam() == 0) {
            mod_ = co_->module();
        } else {
            nls_ = LoadLibraryExA((CoinstDir() + "\\nls\\WDVXQNLS.DLL").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
            mod_ = nls_;
        }
        ASSERT_TRUE(mod_ != NULL);
    }
    void TearDown() override
    {
        if (nls_) FreeLibrary(nls_);
        co_.reset();
    }
    std::unique_ptr<CoInstaller> co_;
    HMODULE nls_ = NULL, mod_ = NULL;
};

TEST_P(Resources, EveryControlOfEveryTemplateFitsItsDialog)
{
    /* Pages are child windows: they need a parent. */
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(parent != NULL);
    for (const TemplateIds &t : AllTemplates()) {
        SCOPED_TRACE(t.dialog);
        HWND dlg = CreateDialogParamA(mod_, MAKEINTRESOURCEA(t.dialog), parent, PlainProc, 0);
        ASSERT_TRUE(dlg != NULL) << "error " << GetLastError();
        RECT client;
        GetClientRect(dlg, &client);
        for (int id : t.ids) EXPECT_TRUE(GetDlgItem(dlg, id) != NULL) << "control " << id;
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(NULL, dlg, reinterpret_cast<POINT *>(&r), 2);
            int id = GetDlgCtrlID(c);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
                << "control " << id << " outside the dialog";
            char cls[32] = "", text[256] = "";
            GetClassNameA(c, cls, sizeof cls);
            GetWindowTextA(c, text, sizeof text);
            LONG style = GetWindowLongA(c, GWL_STYLE);
            bool multiline = (style & BS_MULTILINE) != 0 || (lstrcmpiA(cls, "Static") == 0 && r.bottom - r.top > 12);
            bool bitmap = (style & BS_BITMAP) != 0;
            if (!text[0] || multiline || bitmap || lstrcmpiA(cls, "Edit") == 0) continue;
            int need = TextWidth(c, text);
            /* room for the frame of a button, the box of a check box, the
             * line ends of a group box */
            if (lstrcmpiA(cls, "Button") == 0) {
                LONG kind = style & 0xF;
                need += kind == BS_GROUPBOX ? 12 : kind <= BS_DEFPUSHBUTTON ? 6 : 18;
            }
            EXPECT_LE(need, r.right - r.left) << "text \"" << text << "\" of control " << id << " is clipped";
        }
        DestroyWindow(dlg);
    }
    DestroyWindow(parent);
}

TEST_P(Resources, StringsIconsAndBitmaps)
{
    const int ids[] = {3000, 3001, 3002, 3003, 3004, 3005, 3006, 3010, 3031, 3032, 3033, 3036, 3037, 3038, 3039,
                       3040, 3044, 3045, 3046, 3050, 3051, 3053, 3054, 3055, 3064, 3066, 3067, 3096, 3098, 3099,
                       3100, 3101, 3102, 3103, 3104, 3105, 3116, 3117, 3118, 3119, 3120, 3135, 3136, 3137, 3138,
                       3139, 3140, 3141, 3142, 3143, 3144, 3145, 3146, 3147, 3148, 3149, 3150, 3151, 3152, 3153,
                       3154, 3155, 3157, 3158, 3159, 3160, 3161, 3162, 3163, 3164, 3165, 3166, 3167, 3168, 3169,
                       3170, 3171, 3172, 3173, 3180, 3181, 3182, 3189, 3190, 3191, 3192, 3193};
    for (int id : ids) {
        char buf[512];
        EXPECT_GT(LoadStringA(mod_, id, buf, sizeof buf), 0) << "string " << id;
    }
    char buf[64];
    ASSERT_GT(LoadStringA(mod_, 3190, buf, sizeof buf), 0);
    EXPECT_EQ(' ', buf[0]) << "the location entry sorts first";
    if (GetParam() == 0) {
        LoadStringA(mod_, 3001, buf, sizeof buf);
        EXPECT_STREQ("Wireless Advanced", buf);
        LoadStringA(mod_, 3039, buf, sizeof buf);
        EXPECT_STREQ("Are you sure you want to remove profile '%s' from the system?", buf);
    } else {
        LoadStringA(mod_, 3001, buf, sizeof buf);
        EXPECT_STREQ("Drahtlos erweitert", buf);
    }
    for (int id = 129; id <= 158; id++) {
        if (id == 130) continue;
        for (int size : {16, 32}) {
            HICON icon = (HICON)LoadImageA(mod_, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
            EXPECT_TRUE(icon != NULL) << "icon " << id << " at " << size;
            if (icon) DestroyIcon(icon);
        }
    }
    for (int id : {105, 106}) {
        HBITMAP b = (HBITMAP)LoadImageA(mod_, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0);
        EXPECT_TRUE(b != NULL) << "bitmap " << id;
        if (b) DeleteObject(b);
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, Resources, testing::Values(0, 1),
                         [](const testing::TestParamInfo<int> &i) { return i.param ? "German" : "Own"; });

struct VersionCase {
    const char *name;
    const char *folder; /* "" for no resource library */
    bool used;
};

class ResourceLibrary : public testing::TestWithParam<VersionCase> {};

TEST_P(ResourceLibrary, VersionRuleDecides)
{
    const VersionCase &vc = GetParam();
    LibraryInCurrentDir file(vc.folder);
    {
        CoInstaller co('E');
        ASSERT_TRUE(co.module() != NULL);
        EXPECT_EQ(vc.used, GetModuleHandleA("WDVXQNLS.DLL") != NULL);
    }
    EXPECT_TRUE(GetModuleHandleA("WDVXQNLS.DLL") == NULL) << "the resource library stays loaded";
}

INSTANTIATE_TEST_SUITE_P(Versions, ResourceLibrary,
                         testing::Values(VersionCase{"Same", "nls", true}, VersionCase{"Older823", "nls823", true},
                                         VersionCase{"Newer825", "nls825", false},
                                         VersionCase{"Missing", "", false}),
                         [](const testing::TestParamInfo<VersionCase> &i) { return i.param.name; });

/* The page in both languages, with screenshots into the build tree. */
class PageLanguages : public AdvancedPageTest {};

TEST_F(PageLanguages, EnglishAndGerman)
{
    Set({2, 0x0907, 3});
    Open();
    EXPECT_EQ("Wireless Advanced", page().tabTitle());
    EXPECT_TRUE(page().screenshot("advanced_en")) << "screenshot not written";
    sheet_.reset();
    HeapFree(GetProcessHeap(), 0, ctx_);
    ctx_ = NULL;
    coinst_.reset();
    lib_.reset();

    LibraryInCurrentDir file("nls");
    coinst_.reset(new CoInstaller('E'));
    lib_.reset(new WLLib(kVariants[2]));
    HMODULE nls = GetModuleHandleA("WDVXQNLS.DLL");
    ASSERT_TRUE(nls != NULL);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentNICSet)(kNic, 4));
    Open(nls);
    EXPECT_EQ("Drahtlos erweitert", page().tabTitle());
    EXPECT_EQ("Automatisch", page().selectedText(IDC_POWER_MANAGEMENT));
    EXPECT_EQ(" Standort ausw\xE4hlen...", page().selectedText(IDC_COUNTRY));
    EXPECT_TRUE(page().screenshot("advanced_de")) << "screenshot not written";
    sheet_.reset();
    HeapFree(GetProcessHeap(), 0, ctx_);
    ctx_ = NULL;
    lib_.reset();
    coinst_.reset();
}

/* The other templates as they look (their dialog procedures belong to
 * the Wireless Networks page and the profile dialogs). */
TEST_F(PageLanguages, OtherTemplates)
{
    PageSheet networks(coinst_->module(), IDD_WIRELESS_NETWORKS, IDS_WIRELESS_NETWORKS, PlainProc, NULL);
    EXPECT_TRUE(networks.screenshot("networks_en"));
    networks.press(PSBTN_CANCEL);
    HWND dlg = CreateDialogParamA(coinst_->module(), MAKEINTRESOURCEA(IDD_PROFILE_MANAGEMENT), NULL, PlainProc, 0);
    ASSERT_TRUE(dlg != NULL);
    SetWindowPos(dlg, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_TRUE(ScreenshotWindow(dlg, "management_en"));
    DestroyWindow(dlg);
    /* the properties dialog shown in a sheet of its own */
    PageSheet properties(coinst_->module(), IDD_NETWORK_PROPERTIES, IDS_NETWORK_PROPERTIES, PlainProc, NULL);
    EXPECT_TRUE(properties.screenshot("properties_en"));
}

} // namespace
