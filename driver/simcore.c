/*
 * simcore.c - the simulated adapters behind wlsim.sys.
 *
 * Everything here is process-wide state guarded by the caller's lock. The
 * interface block arrives from another process and is untrusted: its
 * header is read once into locals, every length is checked against the
 * block before use, and all access to it goes through memcpy, so neither a
 * hostile length nor a misaligned buffer can take a copy out of bounds.
 */
#include "simcore.h"

#include <string.h>

#include "simdiag.h"
#include "simworld.h"
#include "wlcore/wepcode.h"

#define STATUS_UNSUCCESSFUL_VALUE 0xC0000001u
#define BLOCK_VAL_OFFSET 12u
#define BLOCK_RESULT_OFFSET 4u
#define BLOCK_LEN_OFFSET 8u

typedef struct SimRecordSlot {
    uint16_t typ;
    uint16_t len;   /* 1 .. WLSIM_LTV_MAX_LEN */
    uint16_t *val;  /* len - 1 words; NULL when len is 1 */
} SimRecordSlot;

typedef struct SimDiagSlot {
    uint32_t seq;
    uint32_t len;
    uint8_t *bytes; /* NULL for an empty message */
} SimDiagSlot;

typedef struct SimAdapter {
    int used;
    WlSimAdapterState st; /* counters; derived fields filled on read */
    int nRecords;
    SimRecordSlot rec[WLSIM_MAX_RECORDS];
    SimDiagSlot diag[WLSIM_DIAG_KEEP]; /* ring, diagNext is the next slot */
    int diagNext;
    int diagKept;
    uint32_t diagSeq;
} SimAdapter;

typedef struct SimName {
    int used;
    int32_t adapter;
    int32_t handles; /* open on this name's device */
    char name[WLSIM_NAME_CHARS];
} SimName;

/* The fixed fields at the start of the interface block. */
typedef struct SimBlockHeader {
    uint32_t ifbp;
    uint16_t result;
    uint16_t function;
    uint16_t len;
    uint16_t typ;
} SimBlockHeader;

typedef char SimBlockHeaderCheck[(sizeof(SimBlockHeader) == 12) ? 1 : -1];

typedef struct SimFaultSlot {
    int used;
    WlSimFault f;
} SimFaultSlot;

static SimAdapter Adapters[WLSIM_MAX_ADAPTERS];
static SimName Names[WLSIM_MAX_NAMES];
static SimFaultSlot Faults[WLSIM_MAX_FAULTS];
static WlSimCounters Counters;
static WlSimExchange Log[WLSIM_LOG_KEEP];
static int LogNext;
static uint32_t LogTotal;

/* ---- small helpers ---------------------------------------------------- */

static int ValidAdapter(int32_t adapter)
{
    return adapter >= 0 && adapter < WLSIM_MAX_ADAPTERS && Adapters[adapter].used;
}

static char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

/* Device names compare as Windows object names do: ignoring case. */
static int SameName(const char *a, const char *b)
{
    for (;; a++, b++) {
        if (LowerAscii(*a) != LowerAscii(*b))
            return 0;
        if (*a == '\0')
            return 1;
    }
}

/* 1 to 63 printable characters, no blank or path separator, terminated
 * within the field. */
static int ValidName(const char *name)
{
    int i;
    for (i = 0; i < WLSIM_NAME_CHARS; i++) {
        char c = name[i];
        if (c == '\0')
            return i > 0;
        if (c <= ' ' || c > '~' || c == '\\' || c == '/' || c == ':')
            return 0;
    }
    return 0;
}

static int FindName(const char *name)
{
    int i;
    for (i = 0; i < WLSIM_MAX_NAMES; i++)
        if (Names[i].used && SameName(Names[i].name, name))
            return i;
    return -1;
}

static int FreeNameSlots(void)
{
    int i, n = 0;
    for (i = 0; i < WLSIM_MAX_NAMES; i++)
        n += !Names[i].used;
    return n;
}

static int FindRecord(const SimAdapter *a, uint16_t typ)
{
    int i;
    for (i = 0; i < a->nRecords; i++)
        if (a->rec[i].typ == typ)
            return i;
    return -1;
}

/* Stores a record of `len` words (typ plus len - 1 values taken from `val`,
 * which may be unaligned), replacing one of the same type. */
static int StoreRecord(SimAdapter *a, uint16_t typ, uint16_t len, const void *val)
{
    uint16_t *copy = NULL;
    int i;

    if (len < 1 || len > WLSIM_LTV_MAX_LEN)
        return SIM_E_PARAM;
    i = FindRecord(a, typ);
    if (i < 0 && a->nRecords >= WLSIM_MAX_RECORDS)
        return SIM_E_FULL;
    if (len > 1) {
        copy = (uint16_t *)SimAlloc(2u * (uint32_t)(len - 1));
        if (!copy)
            return SIM_E_NOMEM;
        memcpy(copy, val, 2u * (uint32_t)(len - 1));
    }
    if (i < 0)
        i = a->nRecords++;
    else
        SimFree(a->rec[i].val);
    a->rec[i].typ = typ;
    a->rec[i].len = len;
    a->rec[i].val = copy;
    return SIM_OK;
}

static void DropRecord(SimAdapter *a, int i)
{
    SimFree(a->rec[i].val);
    memmove(&a->rec[i], &a->rec[i + 1], (uint32_t)(a->nRecords - i - 1) * sizeof a->rec[0]);
    a->nRecords--;
}

static int LoadDefaults(SimAdapter *a)
{
    uint32_t i = 0;
    while (i < SimDefaultWordCount) {
        uint16_t len = SimDefaultRecords[i];
        int rc;
        if (len < 1 || len > WLSIM_LTV_MAX_LEN || i + 1u + len > SimDefaultWordCount)
            return SIM_E_PARAM;
        rc = StoreRecord(a, SimDefaultRecords[i + 1], len, &SimDefaultRecords[i + 2]);
        if (rc != SIM_OK)
            return rc;
        i += 1u + len;
    }
    return SIM_OK;
}

static void FreeAdapter(SimAdapter *a)
{
    int i;
    for (i = 0; i < a->nRecords; i++)
        SimFree(a->rec[i].val);
    for (i = 0; i < WLSIM_DIAG_KEEP; i++)
        SimFree(a->diag[i].bytes);
    memset(a, 0, sizeof *a);
}

static void ClearLog(void)
{
    memset(&Counters, 0, sizeof Counters);
    memset(Log, 0, sizeof Log);
    LogNext = 0;
    LogTotal = 0;
}

/* ---- lifecycle -------------------------------------------------------- */

void SimCoreInit(void)
{
    memset(Adapters, 0, sizeof Adapters);
    memset(Names, 0, sizeof Names);
    memset(Faults, 0, sizeof Faults);
    ClearLog();
    SimDiagReset(-1);
    SimWorldReset();
}

void SimCoreShutdown(void)
{
    int i;
    SimWorldReset();
    for (i = 0; i < WLSIM_MAX_ADAPTERS; i++)
        FreeAdapter(&Adapters[i]);
    SimCoreInit();
}

int SimCoreReset(void)
{
    SimCoreShutdown();
    return SIM_OK;
}

/* ---- adapters and names ----------------------------------------------- */

int SimCoreAddAdapter(const WlSimAddAdapter *req, int32_t *adapter)
{
    int i, j, idx = -1, rc;

    if (!req || !adapter || req->nNames < 0 || req->nNames > WLSIM_NAMES_PER_ADD)
        return SIM_E_PARAM;
    for (i = 0; i < req->nNames; i++) {
        if (!ValidName(req->names[i]))
            return SIM_E_PARAM;
        if (FindName(req->names[i]) >= 0)
            return SIM_E_EXISTS;
        for (j = 0; j < i; j++)
            if (SameName(req->names[i], req->names[j]))
                return SIM_E_EXISTS;
    }
    if (FreeNameSlots() < req->nNames)
        return SIM_E_FULL;
    for (i = 0; i < WLSIM_MAX_ADAPTERS && idx < 0; i++)
        if (!Adapters[i].used)
            idx = i;
    if (idx < 0)
        return SIM_E_FULL;

    Adapters[idx].used = 1;
    rc = LoadDefaults(&Adapters[idx]);
    if (rc != SIM_OK) {
        FreeAdapter(&Adapters[idx]);
        return rc;
    }
    for (i = 0; i < req->nNames; i++) {
        for (j = 0; Names[j].used; j++)
            ;
        Names[j].used = 1;
        Names[j].adapter = idx;
        Names[j].handles = 0;
        memcpy(Names[j].name, req->names[i], WLSIM_NAME_CHARS);
    }
    SimDiagReset(idx);
    *adapter = idx;
    return SIM_OK;
}

int SimCoreRemoveAdapter(int32_t adapter)
{
    int i;
    if (!ValidAdapter(adapter))
        return SIM_E_NOT_FOUND;
    for (i = 0; i < WLSIM_MAX_NAMES; i++)
        if (Names[i].used && Names[i].adapter == adapter)
            memset(&Names[i], 0, sizeof Names[i]);
    for (i = 0; i < WLSIM_MAX_FAULTS; i++)
        if (Faults[i].used && Faults[i].f.adapter == adapter)
            Faults[i].used = 0;
    SimWorldAdapterGone(adapter);
    FreeAdapter(&Adapters[adapter]);
    SimDiagReset(adapter);
    return SIM_OK;
}

int SimCoreMapName(const WlSimMapName *req)
{
    int slot;
    if (!req || !ValidName(req->name))
        return SIM_E_PARAM;
    slot = FindName(req->name);
    if (req->adapter == WLSIM_ANY_ADAPTER) {
        if (slot < 0)
            return SIM_E_NOT_FOUND;
        Adapters[Names[slot].adapter].st.openHandles -= Names[slot].handles;
        memset(&Names[slot], 0, sizeof Names[slot]);
        return SIM_OK;
    }
    if (!ValidAdapter(req->adapter))
        return SIM_E_NOT_FOUND;
    if (slot >= 0) {
        /* handles open on the device now reach the other adapter */
        Adapters[Names[slot].adapter].st.openHandles -= Names[slot].handles;
        Adapters[req->adapter].st.openHandles += Names[slot].handles;
        Names[slot].adapter = req->adapter;
        return SIM_OK;
    }
    for (slot = 0; slot < WLSIM_MAX_NAMES && Names[slot].used; slot++)
        ;
    if (slot == WLSIM_MAX_NAMES)
        return SIM_E_FULL;
    Names[slot].used = 1;
    Names[slot].adapter = req->adapter;
    Names[slot].handles = 0;
    memcpy(Names[slot].name, req->name, WLSIM_NAME_CHARS);
    return SIM_OK;
}

const char *SimCoreSlotName(int slot)
{
    if (slot < 0 || slot >= WLSIM_MAX_NAMES || !Names[slot].used)
        return NULL;
    return Names[slot].name;
}

void SimCoreHandle(int slot, int open)
{
    SimName *n;
    if (slot < 0 || slot >= WLSIM_MAX_NAMES || !Names[slot].used)
        return;
    n = &Names[slot];
    if (open) {
        n->handles++;
        Adapters[n->adapter].st.opens++;
        Adapters[n->adapter].st.openHandles++;
    } else if (n->handles > 0) {
        n->handles--;
        Adapters[n->adapter].st.openHandles--;
    }
}

void SimCoreNames(WlSimNameList *out)
{
    int i;
    memset(out, 0, sizeof *out);
    for (i = 0; i < WLSIM_MAX_NAMES; i++) {
        if (!Names[i].used)
            continue;
        out->e[out->n].adapter = Names[i].adapter;
        memcpy(out->e[out->n].name, Names[i].name, WLSIM_NAME_CHARS);
        out->n++;
    }
}

/* ---- records, diagnostics, state -------------------------------------- */

int SimCoreSetRecord(const WlSimRecord *rec)
{
    if (!rec)
        return SIM_E_PARAM;
    if (!ValidAdapter(rec->adapter))
        return SIM_E_NOT_FOUND;
    if (rec->len < 1 || rec->len > WLSIM_LTV_MAX_LEN)
        return SIM_E_PARAM;
    return StoreRecord(&Adapters[rec->adapter], rec->typ, rec->len, rec->val);
}

int SimCoreGetRecord(const WlSimRecordKey *key, WlSimRecord *out)
{
    const SimAdapter *a;
    int i;
    if (!key || !out)
        return SIM_E_PARAM;
    if (!ValidAdapter(key->adapter))
        return SIM_E_NOT_FOUND;
    a = &Adapters[key->adapter];
    memset(out, 0, sizeof *out);
    out->adapter = key->adapter;
    out->typ = key->typ;
    i = FindRecord(a, key->typ);
    if (i >= 0) {
        out->len = a->rec[i].len;
        if (a->rec[i].len > 1)
            memcpy(out->val, a->rec[i].val, 2u * (uint32_t)(a->rec[i].len - 1));
    }
    return SIM_OK;
}

int SimCoreDeleteRecord(const WlSimRecordKey *key)
{
    SimAdapter *a;
    int i;
    if (!key)
        return SIM_E_PARAM;
    if (!ValidAdapter(key->adapter))
        return SIM_E_NOT_FOUND;
    a = &Adapters[key->adapter];
    i = FindRecord(a, key->typ);
    if (i < 0)
        return SIM_E_NOT_FOUND;
    DropRecord(a, i);
    return SIM_OK;
}

int SimCoreDiag(const WlSimDiagQuery *q, WlSimDiagMsg *out)
{
    const SimAdapter *a;
    const SimDiagSlot *d;
    if (!q || !out)
        return SIM_E_PARAM;
    if (!ValidAdapter(q->adapter))
        return SIM_E_NOT_FOUND;
    a = &Adapters[q->adapter];
    if (q->back < 0 || q->back >= a->diagKept)
        return SIM_E_NOT_FOUND;
    d = &a->diag[(a->diagNext - 1 - q->back + 2 * WLSIM_DIAG_KEEP) % WLSIM_DIAG_KEEP];
    memset(out, 0, sizeof *out);
    out->seq = d->seq;
    out->kept = a->diagKept;
    out->len = (int32_t)d->len;
    if (d->len)
        memcpy(out->bytes, d->bytes, d->len);
    return SIM_OK;
}

int SimCoreAdapterState(int32_t adapter, WlSimAdapterState *out)
{
    const SimAdapter *a;
    int i;
    if (!out)
        return SIM_E_PARAM;
    if (!ValidAdapter(adapter))
        return SIM_E_NOT_FOUND;
    a = &Adapters[adapter];
    *out = a->st;
    out->adapter = adapter;
    out->applied = a->st.unappliedPuts == 0;
    out->nRecords = a->nRecords;
    out->nNames = 0;
    for (i = 0; i < WLSIM_MAX_NAMES; i++)
        out->nNames += Names[i].used && Names[i].adapter == adapter;
    return SIM_OK;
}

/* ---- faults, counters, log -------------------------------------------- */

int SimCoreSetFault(const WlSimFault *fault)
{
    int i, freeSlot = -1;
    if (!fault || fault->op < 0 || fault->op >= WLSIM_OPS || fault->kind < 0 ||
        fault->kind >= WLSIM_FAULT_KINDS || fault->count < 0)
        return SIM_E_PARAM;
    if (fault->kind == WLSIM_FAULT_RESULT && fault->value > 0xFFFFu)
        return SIM_E_PARAM;
    if (fault->kind == WLSIM_FAULT_SHORT_ANSWER && fault->value >= WLSIM_BLOCK_SIZE)
        return SIM_E_PARAM;
    if (fault->adapter != WLSIM_ANY_ADAPTER && !ValidAdapter(fault->adapter))
        return SIM_E_NOT_FOUND;
    for (i = 0; i < WLSIM_MAX_FAULTS; i++) {
        const WlSimFault *f = &Faults[i].f;
        if (!Faults[i].used) {
            if (freeSlot < 0)
                freeSlot = i;
        } else if (f->op == fault->op && f->kind == fault->kind && f->adapter == fault->adapter) {
            if (fault->count == 0)
                Faults[i].used = 0;
            else
                Faults[i].f = *fault;
            return SIM_OK;
        }
    }
    if (fault->count == 0)
        return SIM_OK;
    if (freeSlot < 0)
        return SIM_E_FULL;
    Faults[freeSlot].used = 1;
    Faults[freeSlot].f = *fault;
    return SIM_OK;
}

/* Takes one use of an armed fault matching the exchange; 1 if one fired. */
static int TakeFault(int op, int kind, int32_t adapter, uint32_t *value)
{
    int i;
    for (i = 0; i < WLSIM_MAX_FAULTS; i++) {
        WlSimFault *f = &Faults[i].f;
        if (!Faults[i].used || f->op != op || f->kind != kind ||
            (f->adapter != WLSIM_ANY_ADAPTER && f->adapter != adapter))
            continue;
        *value = f->value;
        if (--f->count <= 0)
            Faults[i].used = 0;
        return 1;
    }
    return 0;
}

void SimCoreClearLog(void)
{
    ClearLog();
}

void SimCoreCounters(WlSimCounters *out)
{
    *out = Counters;
}

void SimCoreExchanges(WlSimExchangeLog *out)
{
    int i, n = LogTotal < WLSIM_LOG_KEEP ? (int)LogTotal : WLSIM_LOG_KEEP;
    int start = (LogNext - n + WLSIM_LOG_KEEP) % WLSIM_LOG_KEEP;
    memset(out, 0, sizeof *out);
    out->total = LogTotal;
    out->n = n;
    for (i = 0; i < n; i++)
        out->e[i] = Log[(start + i) % WLSIM_LOG_KEEP];
}

static void AppendLog(WlSimExchange *x)
{
    x->seq = ++LogTotal;
    Log[LogNext] = *x;
    LogNext = (LogNext + 1) % WLSIM_LOG_KEEP;
}

static void CountType(uint16_t typ, int put)
{
    int i;
    for (i = 0; i < Counters.nTypes; i++)
        if (Counters.types[i].typ == typ)
            break;
    if (i == Counters.nTypes) {
        if (i == WLSIM_TYPE_SLOTS) {
            Counters.typesDropped++;
            return;
        }
        Counters.types[i].typ = typ;
        Counters.nTypes++;
    }
    if (put)
        Counters.types[i].puts++;
    else
        Counters.types[i].gets++;
}

static void CountAction(uint16_t code)
{
    int i;
    for (i = 0; i < Counters.nActions; i++)
        if (Counters.actions[i].code == code)
            break;
    if (i == Counters.nActions) {
        if (i == WLSIM_ACTION_SLOTS) {
            Counters.actionsDropped++;
            return;
        }
        Counters.actions[i].code = code;
        Counters.nActions++;
    }
    Counters.actions[i].count++;
}

/* ---- exchanges -------------------------------------------------------- */

static void Put16(uint8_t *block, uint32_t offset, uint16_t v)
{
    memcpy(block + offset, &v, sizeof v);
}

static uint16_t DoAction(SimAdapter *a, uint16_t code)
{
    switch (code) {
    case WLSIM_ACTION_BLOCK:
        a->st.blocked = 1;
        a->st.blocks++;
        break;
    case WLSIM_ACTION_UNBLOCK:
        a->st.blocked = 0;
        a->st.unblocks++;
        break;
    case WLSIM_ACTION_RESET:
        /* the adapter restarts with the stored configuration in force */
        a->st.resets++;
        a->st.unappliedPuts = 0;
        break;
    case WLSIM_ACTION_APPLY:
        a->st.applies++;
        a->st.unappliedPuts = 0;
        break;
    default:
        a->st.otherActions++;
        break;
    }
    return WLSIM_RES_SUCCESS;
}

static uint16_t DoDiag(SimAdapter *a, const uint8_t *block, uint16_t bytes)
{
    SimDiagSlot *d;
    uint8_t *copy = NULL;

    if (bytes > WLSIM_DIAG_MAX)
        return WLSIM_RES_LEN;
    if (bytes) {
        copy = (uint8_t *)SimAlloc(bytes);
        if (!copy)
            return WLSIM_RES_LEN;
        memcpy(copy, block + BLOCK_VAL_OFFSET, bytes);
    }
    d = &a->diag[a->diagNext];
    SimFree(d->bytes);
    d->bytes = copy;
    d->len = bytes;
    d->seq = ++a->diagSeq;
    a->diagNext = (a->diagNext + 1) % WLSIM_DIAG_KEEP;
    if (a->diagKept < WLSIM_DIAG_KEEP)
        a->diagKept++;
    a->st.diagMsgs++;
    return WLSIM_RES_SUCCESS;
}

/* Answers the stored record of type `typ`, at most `asked` words unless
 * `whole`; *lenOut is the len answered. */
static uint16_t DoGet(SimAdapter *a, uint8_t *block, uint16_t typ, uint16_t asked, int whole,
                      uint16_t *lenOut)
{
    const SimRecordSlot *r;
    uint16_t len;
    int i;

    if (asked < 1 || asked > WLSIM_LTV_MAX_LEN)
        return WLSIM_RES_LEN;
    a->st.gets++;
    if (typ == WLSIM_MB_REQUEST) {
        *lenOut = SimWorldMailboxRead((int32_t)(a - Adapters), block, asked);
        return WLSIM_RES_SUCCESS;
    }
    i = FindRecord(a, typ);
    if (i < 0) {
        *lenOut = 1;
    } else {
        r = &a->rec[i];
        len = (!whole && r->len > asked) ? asked : r->len;
        if (len > 1)
            memcpy(block + BLOCK_VAL_OFFSET, r->val, 2u * (uint32_t)(len - 1));
        *lenOut = len;
    }
    Put16(block, BLOCK_LEN_OFFSET, *lenOut);
    return WLSIM_RES_SUCCESS;
}

/* Decodes the coded text carried by the stored record `typ` (an area
 * record, two characters to a word) and keeps the plain bytes as its
 * companion record. */
static void KeepDecoded(SimAdapter *a, uint16_t typ)
{
    const uint16_t companion = WLSIM_DECODED_TYPE(typ);
    const SimRecordSlot *r;
    uint32_t textBytes, plainRoom;
    char *text;
    uint8_t *plain;
    int i, n, rc = SIM_E_NOMEM;

    i = FindRecord(a, typ);
    if (i < 0)
        return;
    r = &a->rec[i];
    textBytes = 2u * (uint32_t)(r->len - 1);
    /* 4 characters give 3 bytes; one spare byte pads an odd count. */
    plainRoom = textBytes / 4u * 3u + 3u + 1u;
    text = (char *)SimAlloc(textBytes + 1u);
    plain = (uint8_t *)SimAlloc(plainRoom);
    if (text && plain) {
        if (textBytes)
            memcpy(text, r->val, textBytes);
        text[textBytes] = '\0';
        memset(plain, 0, plainRoom);
        n = WEPDecode(CRYPT_CODE, plain, (int)plainRoom - 1, text);
        rc = StoreRecord(a, companion, (uint16_t)(1 + (n + 1) / 2), plain);
    }
    SimFree(text);
    SimFree(plain);
    if (rc != SIM_OK) {
        i = FindRecord(a, companion);
        if (i >= 0)
            DropRecord(a, i);
    }
}

static uint16_t DoPut(SimAdapter *a, const uint8_t *block, uint16_t typ, uint16_t len)
{
    if (len < 2 || len > WLSIM_LTV_MAX_LEN)
        return WLSIM_RES_LEN;
    if (StoreRecord(a, typ, len, block + BLOCK_VAL_OFFSET) != SIM_OK)
        return WLSIM_RES_LEN; /* no room for the record */
    if (typ == WLSIM_CODED_KEY_TYPE || typ == WLSIM_CODED_COUNTRY_TYPE)
        KeepDecoded(a, typ);
    a->st.puts++;
    a->st.unappliedPuts++;
    return WLSIM_RES_SUCCESS;
}

int SimCoreExchange(int slot, const void *in, uint32_t inLen, void *blockOut, uint32_t outLen,
                    uint32_t *failStatus)
{
    WlSimExchange x;
    SimBlockHeader hdr; /* read once: the caller may not change it under us */
    uint8_t *block = (uint8_t *)blockOut;
    SimAdapter *a;
    uint32_t id, value, ifbp;
    uint16_t result;
    int32_t adapter = -1;
    int outcome = SIM_XCHG_ANSWERED;

    memset(&x, 0, sizeof x);
    x.adapter = -1;
    x.op = 0xFFFF;
    if (slot >= 0 && slot < WLSIM_MAX_NAMES && Names[slot].used)
        adapter = Names[slot].adapter;

    if (!in || inLen != sizeof id)
        outcome = SIM_XCHG_BAD_INPUT;
    else {
        memcpy(&id, in, sizeof id);
        if (id != WLSIM_OBJECT_ID)
            outcome = SIM_XCHG_BAD_INPUT;
        else if (!block || outLen < WLSIM_BLOCK_SIZE)
            outcome = SIM_XCHG_SHORT_OUTPUT;
        else if (!ValidAdapter(adapter))
            outcome = SIM_XCHG_NO_ADAPTER;
    }
    if (outcome != SIM_XCHG_ANSWERED) {
        x.adapter = (int16_t)adapter;
        x.flags = WLSIM_X_REFUSED;
        Counters.refused++;
        AppendLog(&x);
        return outcome;
    }

    a = &Adapters[adapter];
    memcpy(&hdr, block, sizeof hdr);
    x.adapter = (int16_t)adapter;
    x.op = hdr.function;
    x.typ = hdr.typ;
    x.lenIn = hdr.len;
    x.lenOut = hdr.len;
    Counters.exchanges++;

    if (hdr.function >= WLSIM_OPS) {
        Counters.badFunction++;
        result = WLSIM_RES_WRONG_IFB;
        goto answer;
    }
    Counters.ops[hdr.function]++;
    if (hdr.function == WLSIM_OP_GET_INFO || hdr.function == WLSIM_OP_PUT_INFO)
        CountType(hdr.typ, hdr.function == WLSIM_OP_PUT_INFO);
    else if (hdr.function == WLSIM_OP_ACTION)
        CountAction(hdr.typ);

    if (TakeFault(hdr.function, WLSIM_FAULT_FAIL_CALL, adapter, &value)) {
        Counters.failedCalls++;
        x.flags = WLSIM_X_FAILED_CALL;
        AppendLog(&x);
        *failStatus = value >= 0xC0000000u ? value : STATUS_UNSUCCESSFUL_VALUE;
        return SIM_XCHG_FAILED;
    }
    if (TakeFault(hdr.function, WLSIM_FAULT_RESULT, adapter, &value)) {
        Counters.faultResults++;
        x.flags = WLSIM_X_FAULT_RESULT;
        result = (uint16_t)value;
        goto answer;
    }

    /* diagnostic command and memory records: simdiag.c */
    if (SimDiagExchange(adapter, hdr.function, block, hdr.typ, hdr.len, &result, &x.lenOut)) {
        if (hdr.function == WLSIM_OP_PUT_INFO)
            a->st.puts++;
        else
            a->st.gets++;
        goto counted;
    }

    switch (hdr.function) {
    case WLSIM_OP_CONNECT:
        a->st.connected = 1;
        a->st.connects++;
        result = WLSIM_RES_SUCCESS;
        break;
    case WLSIM_OP_DISCONNECT:
        a->st.connected = 0;
        a->st.disconnects++;
        result = WLSIM_RES_SUCCESS;
        break;
    case WLSIM_OP_ACTION:
        result = DoAction(a, hdr.typ);
        SimWorldAction(adapter, hdr.typ);
        break;
    case WLSIM_OP_SEND_DIAG_MSG:
        result = DoDiag(a, block, hdr.len);
        if (result == WLSIM_RES_SUCCESS) {
            SimWorldDiag(adapter, block + BLOCK_VAL_OFFSET, hdr.len);
            SimDiagFrameSent(adapter, a->st.blocked, block + BLOCK_VAL_OFFSET, hdr.len);
        }
        break;
    case WLSIM_OP_GET_INFO: {
        int whole = TakeFault(WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, adapter, &value);
        if (whole)
            x.flags = WLSIM_X_TRUE_LEN;
        result = DoGet(a, block, hdr.typ, hdr.len, whole, &x.lenOut);
        break;
    }
    default: /* WLSIM_OP_PUT_INFO */
        result = DoPut(a, block, hdr.typ, hdr.len);
        break;
    }
counted:
    if (result == WLSIM_RES_LEN)
        Counters.lenErrors++;

answer:
    ifbp = WLSIM_IFBP_BASE + (uint32_t)adapter;
    memcpy(block, &ifbp, sizeof ifbp);
    Put16(block, BLOCK_RESULT_OFFSET, result);
    x.result = result;
    if (TakeFault(hdr.function, WLSIM_FAULT_SHORT_ANSWER, adapter, &value)) {
        x.flags |= WLSIM_X_SHORT;
        *failStatus = value;
        AppendLog(&x);
        return SIM_XCHG_SHORT_ANSWER;
    }
    AppendLog(&x);
    return SIM_XCHG_ANSWERED;
}

/* ---- records for the radio world ---------------------------------------- */

int SimCoreAdapterValid(int32_t adapter)
{
    return ValidAdapter(adapter);
}

int SimCoreRecordRead(int32_t adapter, uint16_t typ, uint16_t *val, int maxWords)
{
    const SimRecordSlot *r;
    int i, n;
    if (!ValidAdapter(adapter) || maxWords < 0)
        return 0;
    i = FindRecord(&Adapters[adapter], typ);
    if (i < 0)
        return 0;
    r = &Adapters[adapter].rec[i];
    n = r->len - 1 < maxWords ? r->len - 1 : maxWords;
    if (n > 0)
        memcpy(val, r->val, 2u * (uint32_t)n);
    return r->len;
}

int SimCoreRecordStore(int32_t adapter, uint16_t typ, uint16_t len, const void *val)
{
    if (!ValidAdapter(adapter))
        return SIM_E_NOT_FOUND;
    return StoreRecord(&Adapters[adapter], typ, len, val);
}
