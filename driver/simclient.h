/*
 * simclient.h - user-mode access to the stand-in adapter driver's control
 * device (\\.\WLSIMCTL): service start, adapters and their device names,
 * records, faults, counters, the exchange log and diagnostic messages.
 *
 * Every function returns 0 on success or a Win32 error code: the driver's
 * refusal as DeviceIoControl reports it (ERROR_NOT_FOUND for an unknown
 * adapter or record, ERROR_ALREADY_EXISTS for a device name in use,
 * ERROR_INVALID_PARAMETER for a malformed request, ...), or
 * ERROR_INVALID_PARAMETER for an argument refused before any call.
 * SimLastErrorText() describes the last failure. The control handle is
 * opened on first use and kept for the process; not thread-safe.
 */
#ifndef WLSIM_SIMCLIENT_H
#define WLSIM_SIMCLIENT_H

#include "simctl.h"
#include "simworld.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Makes sure the driver runs: creates the kernel driver service "wlsim"
 * for sysPath when it does not exist (sysPath NULL: only start an existing
 * service; given for an existing one: its image path is updated), starts
 * it and waits until the control device opens. Succeeds at once when the
 * control device already opens. */
int SimEnsureStarted(const char *sysPath);

/* Closes the cached control handle; the next call opens it again. */
void SimClose(void);

/* Removes every adapter and device name, disarms all faults, clears the
 * counters and the exchange log. */
int SimReset(void);

/* Adds an adapter with the default records, reachable under the n device
 * names (0 to WLSIM_NAMES_PER_ADD). *adapter receives its index. */
int SimAddAdapter(const char *const *names, int n, int *adapter);
int SimRemoveAdapter(int adapter);

/* Points device name `name` at `adapter` (creating its device when the
 * name is new); adapter WLSIM_ANY_ADAPTER removes the name. */
int SimMapName(int adapter, const char *name);

/* Stores the LTV record ltv[0] = len (1 to 4097), ltv[1] = typ, values. */
int SimSetRecord(int adapter, const uint16_t *ltv);

/* Reads the stored record of type `typ` into buf as an LTV record of at
 * most maxWords words (len word included, at least 2), cutting its values
 * to fit. ERROR_NOT_FOUND when the adapter has no such record. */
int SimGetRecord(int adapter, uint16_t typ, uint16_t *buf, int maxWords);
int SimDeleteRecord(int adapter, uint16_t typ);

/* The next `count` exchanges of operation `op` (WLSIM_OP_*) on any adapter
 * answer `result` without acting (count 0 disarms). */
int SimFault(int op, int count, int result);

/* The next `count` exchanges of operation `op` on any adapter fail the
 * DeviceIoControl call itself (count 0 disarms). */
int SimFailIoctl(int op, int count);

/* The next `count` exchanges of operation `op` on any adapter are answered
 * but report only `bytes` returned (count 0 disarms). */
int SimShortAnswer(int op, int count, uint32_t bytes);

/* Arms any fault (kind, value and adapter of the caller's choice). */
int SimArmFault(const WlSimFault *fault);

/* Clears counters and the exchange log. */
int SimClearLog(void);
int SimCounters(WlSimCounters *out);
int SimLastExchanges(WlSimExchangeLog *out);

/* Diagnostic message `back` steps behind the newest (0 = newest). */
int SimDiagMessage(int adapter, int back, WlSimDiagMsg *out);
int SimAdapterState(int adapter, WlSimAdapterState *out);
int SimNames(WlSimNameList *out);

/* Diagnostic side of an adapter: hardware id, memory image and loop-back
 * (cfg->adapter names it); its registers, receive mode, commands and counts. */
int SimDiagSetup(const WlSimDiagConfig *cfg);
int SimDiagStateGet(int adapter, WlSimDiagState *out);

/* Lookups in a counters snapshot; 0 when the type or code never came. */
uint32_t SimTypeGets(const WlSimCounters *c, uint16_t typ);
uint32_t SimTypePuts(const WlSimCounters *c, uint16_t typ);
uint32_t SimActionCount(const WlSimCounters *c, uint16_t code);

/* The radio world: stations by BSSID (putting one again changes it) and
 * the adapters' mailboxes. A pushed record is answered with len word `len`
 * (1 to 1153) and the valueBytes of `value` (the rest of len zero); flags
 * WLSIM_MB_NOW, WLSIM_MB_AFTER_SCAN or WLSIM_MB_STICKY. */
int SimPutStation(const WlSimStation *st);
int SimRemoveStation(const uint8_t *bssid);
int SimPushMailbox(int adapter, int flags, uint16_t len, uint16_t typ, const void *value,
                   uint32_t valueBytes);
int SimMailboxState(int adapter, WlSimMailboxState *out);
/* How the world answers link tests: per cent dropped, mailbox reads of delay. */
int SimLinkShape(unsigned dropPercent, unsigned delayReads);
int SimMailboxClear(int adapter);

/* Security of a station made by SimStationMake. */
#define WLSIM_SEC_OPEN 0
#define WLSIM_SEC_WEP 1  /* privacy, no elements */
#define WLSIM_SEC_WPA 2  /* privacy, WPA element: TKIP, PSK */
#define WLSIM_SEC_WPA2 3 /* privacy, RSN element (00-0F-AC): CCMP, PSK */

/* Fills a station in range: base station (peer 0) or peer-to-peer, the
 * band from the channel (above 14: 5 GHz), the band's rates. */
int SimStationMake(WlSimStation *st, const uint8_t *bssid, const char *ssid, int channel,
                   int level1, int level2, int peer, int security, const char *name);

/* Text of the last failure, such as "StartService failed: error 2". */
const char *SimLastErrorText(void);

#ifdef __cplusplus
}
#endif

#endif /* WLSIM_SIMCLIENT_H */
