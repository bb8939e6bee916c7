/*
 * Process-wide state and helpers of the co-installer shared by its files.
 */
#ifndef COINST_H
#define COINST_H

#include <windows.h>
#include <prsht.h>

#include "pagecontext.h"
#include "wlapi.h"

#ifndef WL_VARIANT_LETTER
#error "WL_VARIANT_LETTER must name the build's variant"
#endif
#define COINST_STR2(x) #x
#define COINST_STR(x) COINST_STR2(x)
#define COINST_VARIANT COINST_STR(WL_VARIANT_LETTER)

/* Module of every dialog, string, bitmap and icon: the co-installer itself
 * or its resource library. */
extern HINSTANCE g_ResourceModule;
/* The co-installer's own module. */
extern HINSTANCE g_Instance;
/* WLOSTypeGet's value, refreshed by DllMain. */
extern DWORD g_OsType;
/* Generated module names: the 16-bit partner and the co-installer. */
extern char g_PartnerName[16];
extern char g_OwnName[16];
/* Description of the current adapter, refreshed and read by the pages. */
extern CurrentNICInfoBuffer g_CurrentNICInfo;
/* Checked-rate masks of the Advanced page's rows: [0] 5 GHz, [1] 2.4 GHz. */
extern uint16_t g_CheckedRates[2];

/* Calls into the API library that its export table may not offer yet. */
int ApiCurrentNICInfoGet(CurrentNICInfoBuffer *Val);
int ApiThirdPartyConfigurationSet(int Val);

/* Refreshes g_CurrentNICInfo; returns the library's code. */
int RefreshCurrentNICInfo(void);
/* Own/NotOwn bits of the shared description. */
DWORD SharedThirdPartyBits(void);

/* Selects the sheet's adapter in the API library from the device's registry
 * properties and fills the context (NicId, ThirdParty, ProfileHunting).
 * Returns 0 when the adapter could not be identified. */
int IdentifyAdapter(AdapterPageContext *c);

/* Page release callback shared by the pages: frees the page's lParam. */
UINT CALLBACK PageCallback(HWND hwnd, UINT msg, LPPROPSHEETPAGEA page);

/* Context help. */
void HelpLocateFile(void);
void HelpSetPending(int id);
/* Shows the topic of id when it is the pending id. */
void HelpShow(int id);
/* Releases the HTML Help control when the co-installer is unloaded. */
void HelpUnload(void);
/* HtmlHelpA of the bound HTML Help control (NULL when it is not bound). */
HWND HelpHtmlHelp(HWND owner, const char *file, UINT command, DWORD_PTR data);
/* WM_HELP of a page or dialog: records and shows the topic of the
 * control its HELPINFO names. */
void HelpFromHelpInfo(LPARAM lp);
/* Subclasses a control for right-click help. */
void HelpSubclass(HWND control);

/* Connects the 16-bit thunk (the builds that carry it). */
void ThunkConnect(HINSTANCE instance, DWORD reason);

/* A string of the resource module ("" when missing). */
const char *ResString(UINT id, char *buf, int size);

#endif
