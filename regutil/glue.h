/* Win32 side of the utility: registry access, the adapter walk, the driver
 * connection and the DOS device names of NT 4.
 */
#ifndef REGUTIL_GLUE_H
#define REGUTIL_GLUE_H

#include <stddef.h>
#include <stdint.h>

#include "wldriver.h"

#define REG_TEXT_MAX 259 /* bytes of string data read */
#define KEY_PATH_SIZE 512

/* ---- registry (HKEY_LOCAL_MACHINE) ---- */

/* A number stored as a 32-bit value or as decimal text (at most 32 bytes). */
bool RegReadNumber(const char *key, const char *name, uint32_t *out);
/* A string of at most REG_TEXT_MAX bytes; out holds REG_TEXT_MAX + 1. */
bool RegReadText(const char *key, const char *name, char out[REG_TEXT_MAX + 1]);
/* Writes create the key when it is missing. */
bool RegWriteNumber(const char *key, const char *name, uint32_t value);
bool RegWriteText(const char *key, const char *name, const char *value);

/* ---- adapters ---- */

/* Called with each adapter's NIC key; returns true to stop the walk. */
typedef bool (*AdapterVisit)(const char *nicKey, void *ctx);

/* Walks the installed adapters of the family for the OS type; returns the
 * number of adapters visited. */
int WalkAdapters(int os, AdapterVisit visit, void *ctx);
/* The NIC key of the first adapter; false when there is none. */
bool FindFirstAdapter(int os, char nicKey[KEY_PATH_SIZE]);
int CountAdapters(int os);

/* ---- driver connection ---- */

/* The utility's own codes of its driver access; the driver's result codes
 * (WLDRV_RES_*) pass through as they are. */
#define DRV_NO_CONNECTION 255
#define DRV_NOT_CONNECTED 66
#define DRV_PRESET 69 /* result preset of connect and disconnect */

/* Opens the driver of the first adapter that answers; 0 or a code. */
int DriverOpen(int os);
/* ltv: len, typ, values in a buffer of `words` words. Result: the driver's
 * result or a code; the record is updated in place. */
int DriverGet(uint16_t *ltv, int words);
int DriverPut(uint16_t *ltv, int words);
int DriverAction(uint16_t code);
void DriverClose();

/* ---- DOS device names (NT 4) ---- */

/* 1: the name is defined; 0: it is not; -1: the query failed otherwise. */
int DosDeviceQuery(const char *name);
bool DosDeviceDefine(const char *name, const char *target);
void DosDeviceRemove(const char *name, const char *target);

#endif
