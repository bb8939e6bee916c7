/*
 * simcore.h - the simulated adapters: record stores, exchange handling,
 * faults and the exchange log. Pure logic without any kernel or Win32
 * header; the kernel glue (wlsim.c) serialises all calls with its lock and
 * creates or deletes devices to follow the name table.
 */
#ifndef WLSIM_SIMCORE_H
#define WLSIM_SIMCORE_H

#include "simctl.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Outcome of a control operation; the glue turns it into an NTSTATUS. */
enum SimStatus {
    SIM_OK = 0,
    SIM_E_PARAM,     /* malformed request */
    SIM_E_NOT_FOUND, /* no such adapter */
    SIM_E_EXISTS,    /* device name already in use */
    SIM_E_FULL,      /* no free adapter, name or record slot */
    SIM_E_NOMEM
};

/* Outcome of an adapter exchange. */
enum SimXchg {
    SIM_XCHG_ANSWERED = 0, /* block answered, WLSIM_BLOCK_SIZE bytes */
    SIM_XCHG_BAD_INPUT,    /* input is not the 4-byte object id */
    SIM_XCHG_SHORT_OUTPUT, /* output buffer below WLSIM_BLOCK_SIZE */
    SIM_XCHG_NO_ADAPTER,   /* the device's name maps to no adapter */
    SIM_XCHG_FAILED,       /* failed by fault; *failStatus says how */
    SIM_XCHG_SHORT_ANSWER  /* block answered, but only *failStatus bytes
                              reported returned (fault) */
};

/* Memory for records and messages, supplied by the platform. */
void *SimAlloc(uint32_t bytes);
void SimFree(void *p);

/* Default records of every new adapter: rows of len, typ, len - 1 values,
 * back to back, SimDefaultWordCount words in all (defaults.c). */
extern const uint16_t SimDefaultRecords[];
extern const uint32_t SimDefaultWordCount;

void SimCoreInit(void);
void SimCoreShutdown(void); /* frees everything; SimCoreInit may follow */

int SimCoreReset(void);
int SimCoreAddAdapter(const WlSimAddAdapter *req, int32_t *adapter);
int SimCoreRemoveAdapter(int32_t adapter);
int SimCoreMapName(const WlSimMapName *req);
int SimCoreSetRecord(const WlSimRecord *rec);
int SimCoreGetRecord(const WlSimRecordKey *key, WlSimRecord *out);
int SimCoreDeleteRecord(const WlSimRecordKey *key);
int SimCoreSetFault(const WlSimFault *fault);
void SimCoreClearLog(void);
void SimCoreCounters(WlSimCounters *out);
void SimCoreExchanges(WlSimExchangeLog *out);
int SimCoreDiag(const WlSimDiagQuery *q, WlSimDiagMsg *out);
int SimCoreAdapterState(int32_t adapter, WlSimAdapterState *out);
void SimCoreNames(WlSimNameList *out);

/* Name slots 0 .. WLSIM_MAX_NAMES - 1: NULL for a free slot, else the
 * name. Each used slot has one device; the glue keeps them in step. */
const char *SimCoreSlotName(int slot);

/* A handle was opened (1) or closed (0) on the device of a name slot. */
void SimCoreHandle(int slot, int open);

/* One DeviceIoControl on the device of a name slot. `in` holds inLen
 * bytes; `block` is the output buffer of outLen bytes (may be NULL when
 * outLen is 0). On SIM_XCHG_FAILED *failStatus is the NTSTATUS to complete
 * with; on SIM_XCHG_SHORT_ANSWER the byte count to report. */
int SimCoreExchange(int slot, const void *in, uint32_t inLen, void *block, uint32_t outLen,
                    uint32_t *failStatus);

#ifdef __cplusplus
}
#endif

#endif /* WLSIM_SIMCORE_H */
