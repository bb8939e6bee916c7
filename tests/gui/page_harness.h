/*
 * GUI test harness: the co-installer loaded from the build tree, its pages
 * shown in a modeless property sheet on the test's thread and driven
 * through messages, and screenshots of what is on the display.
 */
#ifndef PAGE_HARNESS_H
#define PAGE_HARNESS_H

#include <windows.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "coinstaller/pagecontext.h"
#include "wltest.h"

/* Folder of the co-installer builds, beside the test program's. */
std::string CoinstDir();
/* The prefix's system directory. */
std::string SystemDir();

/* One loaded co-installer of a variant (and through it its API library). */
class CoInstaller {
public:
    explicit CoInstaller(char variant = 'E');
    ~CoInstaller();
    HMODULE module() const { return h_; }
    DLGPROC proc(const char *name) const;
    /* The API library the co-installer imports. */
    HMODULE api() const;

private:
    HMODULE h_;
    char v_;
};

/* A context block as a sheet's opener makes it: from the process heap,
 * fully reset, for the adapter nic. */
AdapterPageContext *NewContext(const char *nic);

/* Names of the stored profiles, and their removal, through a library. */
std::vector<std::string> StoredProfiles(const WLLib &lib);
void RemoveStoredProfiles(const WLLib &lib);

/* A networks page block with its context, as the sheet's opener makes
 * them; freed with its context and the context's preferred names. */
NetworksPageBlock *NewBlock(const char *nic);
void FreeBlock(NetworksPageBlock *b);

/* One page in a modeless property sheet. */
class PageSheet {
public:
    PageSheet(HINSTANCE resources, int dialogId, int titleId, DLGPROC proc, void *lParam);
    ~PageSheet();
    HWND sheet() const { return sheet_; }
    HWND page() const { return page_; }
    HWND item(int id) const { return GetDlgItem(page_, id); }
    /* Processes the messages waiting on this thread. */
    void pump() const;

    /* Controls as a person would use them. */
    void select(int id, int index) const; /* CB_SETCURSEL and CBN_SELCHANGE */
    void selectText(int id, const std::string &text) const;
    void click(int id) const; /* BM_CLICK */
    /* PSM_PRESSBUTTON; after OK or Cancel the sheet is gone. */
    void press(int button);
    bool closed() const;

    /* What the controls show. */
    std::vector<std::string> entries(int id) const;
    int selection(int id) const;
    std::string selectedText(int id) const;
    std::string text(int id) const;
    bool checked(int id) const;
    bool enabled(int id) const;
    bool visible(int id) const;
    std::string tabTitle() const;

    /* Screenshot of the sheet (xwd and convert) as <name>.png in the build
     * tree's screenshot folder; false when it could not be taken. */
    bool screenshot(const std::string &name) const;

private:
    HWND sheet_ = NULL;
    HWND page_ = NULL;
};

/* The resource library in the current directory, where the co-installer's
 * search finds it, for the guard's lifetime ("" for none): a co-installer
 * loaded meanwhile takes its dialogs and strings from it. */
class LibraryInCurrentDir {
public:
    explicit LibraryInCurrentDir(const std::string &folder);
    ~LibraryInCurrentDir();
};

/* Screenshot of any window on the display, as PageSheet::screenshot. */
bool ScreenshotWindow(HWND w, const std::string &name);

#endif
