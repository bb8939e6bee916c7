/*
 * What the probe co-installer records about each call of its entry point,
 * in the named shared memory the test creates before the call.
 */
#ifndef ADT_PROBE_H
#define ADT_PROBE_H

#include <windows.h>

#define ADT_PROBE_MAPPING "WLAdtProbeRecord"
#define ADT_PROBE_SLEEP_MS 400

typedef struct {
    LONG calls;            /* entry point calls */
    LONG returned;         /* set just before the entry point returns */
    DWORD threadId;        /* thread the entry point ran on */
    char nic[16];          /* NIC id it was handed */
    int libraryNicRc;      /* WLCurrentNICGet of the library, called back */
    char libraryNic[16];
} AdtProbeRecord;

#endif
