/*
 * wlnic.h - adapter selection and the per-adapter store in the registry.
 */
#ifndef WLNIC_H
#define WLNIC_H

#include "wlapi.h"

const char *CurrentNic(void); /* NULL when no adapter is selected */
/* Registry path of a NIC's key (a process-wide buffer, overwritten by the next call). */
const char *NicKeyPath(const char *Nic);
int WLNICAnyStringGet(const char *Any, char *Val, DWORD *Size);
int _WLNICAnyStringGet(const char *Nic, const char *Any, char *Val, DWORD *Size);
int _RegReadString(const char *Key, const char *Any, char *Val, DWORD *Size);
int WLNICAnyStringSet(const char *Any, const char *Val);
int _WLNICAnyStringSet(const char *Nic, const char *Any, const char *Val);
int WLNICAnyIntGet(const char *Any, DWORD *Val);
int WLNICAnyIntSet(const char *Any, DWORD Val);
int WLGUIDGet(char *Val, DWORD *Size);
int WLEnumAnyStringGet(const char *Any, char *Val, DWORD *Size);
int _WLEnumAnyStringGet(const char *Any, char *Val, DWORD *Size);
bool IsThisOurNic(const char *Nic, DWORD Size);
bool MatchingDll(const char *Nic, DWORD Size);

#endif /* WLNIC_H */
