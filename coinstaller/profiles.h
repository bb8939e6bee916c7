/*
 * The profile dialogs' shared state and the steps their openers take
 * before the "Wireless Network Properties" dialog is shown.
 */
#ifndef COINST_PROFILES_H
#define COINST_PROFILES_H

#include "coinst.h"

/* A profile was changed since the last activation. */
extern int g_PreferredDirty;

/* Loads the profile named by b->ProfileName into b (the dialog is opened
 * all the same when this fails: a vanished profile is reported). */
void LoadProfileForEdit(HWND owner, NetworksPageBlock *b);
/* Sets the library's current profile up as a new profile with empty keys. */
void SetUpNewProfile(HWND owner, NetworksPageBlock *b);
/* Whether a profile of that name is stored (ignoring case, as the
 * registry names keys); the current profile is not touched. */
bool StoredProfileExists(const char *name);

/* A message box with texts of the resource module; text may take one %s. */
int ResMessage(HWND owner, UINT text, UINT caption, UINT flags, const char *arg = NULL);

#endif
