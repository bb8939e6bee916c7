/*
 * List views and preferred-list steps shared by the "Wireless Networks"
 * page and the "Network Profile Management" dialog.
 */
#ifndef COINST_NETPAGE_H
#define COINST_NETPAGE_H

#include "profiles.h"

#include <commctrl.h>

#include <string>
#include <vector>

/* The active profile is one of the preferred list's rows. */
extern int g_ActiveListed;

/* Image list of the row icons (131-158), or of the state images. */
HIMAGELIST LoadRowImages(bool state);
/* Report view with full-row selection, the row icons (and state images
 * when given) and its columns: an icon column of iconWidth pixels unless
 * 0, then "Profile Name" and "Network Name" of textWidth pixels each. */
void ListSetUp(HWND list, int iconWidth, int textWidth, bool stateImages);
/* Index of the text columns' first column. */
int ListTextColumn(HWND list);
/* Applies the column width rule for a change from before to after rows. */
void ListWidthRule(HWND list, int before, int after, int visible);

int ListSelected(HWND list);
void ListSelect(HWND list, int row);
void ListText(HWND list, int row, int column, char *out, int size);
/* Adds a row: text of the two text columns, icon, state image (0: none)
 * and item data; returns its index. */
int ListAddRow(HWND list, const char *profile, const char *ssid, int icon, int state, LPARAM data);

/* Names of every stored profile, in the store's order. */
std::vector<std::string> StoredProfileNames();

/* Fills a preferred list from the context's names (dropping those whose
 * profile no longer exists); rows is the count last shown (updated) for
 * the width rule with `visible` rows. */
void FillPreferredList(HWND list, AdapterPageContext *c, int *rows, int visible);
/* Removes from the context every name whose profile no longer exists. */
void DropVanishedPreferred(AdapterPageContext *c);

/* Arrow bitmaps on a pair of move buttons; returns them for freeing. */
void SetMoveBitmaps(HWND dlg, HBITMAP out[2]);
void FreeMoveBitmaps(HBITMAP bm[2]);

/* Moves the selected preferred name one place (delta -1 or 1), refills the
 * list and selects the moved row. */
void MoveSelectedPreferred(HWND list, AdapterPageContext *c, int delta, int *rows, int visible);

/* Refuses with "Limit Reached" when the preferred list is full. */
bool PreferredHasRoom(HWND owner, const AdapterPageContext *c);

/* The properties dialog on a loaded or set-up edit record: true when it
 * stored the profile. */
bool RunPropertiesDialog(HWND owner, NetworksPageBlock *b);

#endif
