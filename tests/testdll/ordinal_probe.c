/*
 * A module bound to the variant E library through its ordinal-only import
 * library, as the co-installer binds: its import table names no function,
 * only ordinals. The export-table test loads it and calls through it.
 */
#include <windows.h>

#include "wlapi.h"

__declspec(dllexport) int WINAPI ProbeOSTypeGet(DWORD *Val) { return WLOSTypeGet(Val); }

__declspec(dllexport) int WINAPI ProbeConnected(void) { return WLConnected(); }
