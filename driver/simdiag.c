/*
 * simdiag.c - diagnostic commands of the simulated adapters.
 *
 * The interface block is untrusted and may be unaligned: words are read and
 * written through memcpy, and every copy is bounded by the len the caller
 * asked with and by the block itself.
 */
#include "simdiag.h"

#include <string.h>

#include "simworld.h"

#define BLOCK_LEN_OFFSET 8u
#define BLOCK_VAL_OFFSET 12u
#define DEFAULT_HWID 0x4830u

#define NIC_CMD_LEN 12
#define DONGLE_CMD_LEN 3
#define HIF_CMD_LEN 4
#define MEMORY_REQ_LEN 5
#define WORDS_PER_BLOCK (WLSIM_MEM_BLOCK / 2u)

typedef struct MifReg {
    uint16_t qualifier; /* device + 8 * endian */
    uint16_t addr;
    uint16_t v[2];
} MifReg;

typedef struct DiagAdapter {
    WlSimDiagState st;
    uint16_t seed;
    uint32_t patchOffset;
    uint8_t patch[WLSIM_MEM_PATCH];
    int32_t loopback;
    int nMif;
    MifReg mif[WLSIM_MIF_REGS];
    int keptNext;
} DiagAdapter;

static DiagAdapter Diag[WLSIM_MAX_ADAPTERS];

static uint16_t Word(const uint8_t *block, uint32_t i)
{
    uint16_t v;
    memcpy(&v, block + BLOCK_VAL_OFFSET + 2u * i, sizeof v);
    return v;
}

static void SetWord(uint8_t *block, uint32_t i, uint16_t v)
{
    memcpy(block + BLOCK_VAL_OFFSET + 2u * i, &v, sizeof v);
}

static void ResetOne(int32_t adapter)
{
    DiagAdapter *d = &Diag[adapter];
    memset(d, 0, sizeof *d);
    d->st.adapter = adapter;
    d->st.hwid = DEFAULT_HWID;
    d->patchOffset = 0xFFFFFFFFu; /* no window */
}

void SimDiagReset(int32_t adapter)
{
    int32_t i;
    if (adapter >= 0 && adapter < WLSIM_MAX_ADAPTERS) {
        ResetOne(adapter);
        return;
    }
    for (i = 0; i < WLSIM_MAX_ADAPTERS; i++)
        ResetOne(i);
}

/* ---- command log and counts ------------------------------------------- */

/* Keeps a command as it came: `words` are its first value words, taken
 * before the adapter answered in the block. */
static void Remember(DiagAdapter *d, uint16_t typ, int op, const uint16_t *words, uint16_t len,
                     uint16_t result)
{
    WlSimCommand *c = &d->st.kept[d->keptNext];
    uint32_t i, n = len > 1 ? (uint32_t)len - 1u : 0u;
    int k;

    memset(c, 0, sizeof *c);
    c->typ = typ;
    c->op = (uint16_t)op;
    c->len = len;
    c->result = result;
    for (i = 0; i < n && i < 11u; i++)
        c->w[i] = words[i];
    d->keptNext = (d->keptNext + 1) % WLSIM_CMD_KEEP;
    if (d->st.nKept < WLSIM_CMD_KEEP)
        d->st.nKept++;

    d->st.commands++;
    if (result != WLSIM_RES_SUCCESS)
        d->st.refused++;
    for (k = 0; k < d->st.nCounts; k++)
        if (d->st.counts[k].typ == typ && d->st.counts[k].word0 == c->w[0])
            break;
    if (k == d->st.nCounts) {
        if (k == WLSIM_CMD_SLOTS)
            return;
        d->st.counts[k].typ = typ;
        d->st.counts[k].word0 = c->w[0];
        d->st.nCounts++;
    }
    d->st.counts[k].count++;
}

/* ---- radio chip registers --------------------------------------------- */

static MifReg *FindMif(DiagAdapter *d, uint16_t qualifier, uint16_t addr, int create)
{
    int i;
    for (i = 0; i < d->nMif; i++)
        if (d->mif[i].qualifier == qualifier && d->mif[i].addr == addr)
            return &d->mif[i];
    if (!create || d->nMif == WLSIM_MIF_REGS)
        return NULL;
    d->mif[d->nMif].qualifier = qualifier;
    d->mif[d->nMif].addr = addr;
    d->mif[d->nMif].v[0] = 0;
    d->mif[d->nMif].v[1] = 0;
    return &d->mif[d->nMif++];
}

/* Executes a NIC configuration command in place. */
static uint16_t NicCommand(DiagAdapter *d, uint8_t *block)
{
    uint16_t cmd = Word(block, 0);
    uint16_t qualifier = (uint16_t)(cmd >> 8);
    MifReg *r;

    switch (cmd & 0xFFu) {
    case 0x30: /* register read */
        if (qualifier > 0x0Fu)
            return WLSIM_RES_CMD_REFUSED;
        r = FindMif(d, qualifier, Word(block, 1), 0);
        SetWord(block, 5, r ? r->v[0] : 0);
        SetWord(block, 6, r ? r->v[1] : 0);
        SetWord(block, 7, 0);
        return WLSIM_RES_SUCCESS;
    case 0x31: /* register write */
        if (qualifier > 0x0Fu)
            return WLSIM_RES_CMD_REFUSED;
        r = FindMif(d, qualifier, Word(block, 1), 1);
        if (!r)
            return WLSIM_RES_LEN; /* register file full */
        r->v[0] = Word(block, 2);
        r->v[1] = Word(block, 3);
        SetWord(block, 5, 0);
        SetWord(block, 6, 0);
        SetWord(block, 7, 0);
        return WLSIM_RES_SUCCESS;
    case 0x38: /* PHY test */
        if (qualifier >= 0x04u && qualifier <= 0x07u)
            return WLSIM_RES_CMD_REFUSED;
        if (qualifier > 0x0Fu)
            return WLSIM_RES_CMD_REFUSED;
        d->st.phyMode = qualifier;
        if (qualifier == 0x08u)
            d->st.phyChannel = Word(block, 1);
        if (qualifier == 0x0Cu) {
            d->st.led[0] = Word(block, 1);
            d->st.led[1] = Word(block, 2);
        }
        SetWord(block, 5, qualifier); /* resp0: the mode carried out */
        SetWord(block, 6, 0);
        SetWord(block, 7, qualifier == 0x0Fu ? d->st.hwid : 0);
        return WLSIM_RES_SUCCESS;
    default:
        return WLSIM_RES_CMD_REFUSED;
    }
}

static uint16_t DongleCommand(DiagAdapter *d, const uint8_t *block)
{
    switch (Word(block, 0)) {
    case 0x0C38:
        d->st.dongleLed = Word(block, 1);
        return WLSIM_RES_SUCCESS;
    case 0x0F38:
        d->st.dongleLed = 0;
        return WLSIM_RES_SUCCESS;
    default:
        return WLSIM_RES_CMD_REFUSED;
    }
}

static uint16_t HifCommand(DiagAdapter *d, uint8_t *block, int put)
{
    uint16_t op = Word(block, 0), reg = Word(block, 1);

    if (op == 0 && reg < WLSIM_HIF_REGS) {
        if (put)
            d->st.hif[reg] = Word(block, 2);
        else
            SetWord(block, 2, d->st.hif[reg]);
        return WLSIM_RES_SUCCESS;
    }
    if (op == 1 && put && reg <= 3u) {
        d->st.receiveMode = reg;
        d->st.receiveSize = Word(block, 2);
        return WLSIM_RES_SUCCESS;
    }
    return WLSIM_RES_CMD_REFUSED;
}

/* ---- memory image ----------------------------------------------------- */

static uint8_t MemoryByte(const DiagAdapter *d, uint32_t offset)
{
    uint16_t w;
    if (offset >= d->patchOffset && offset - d->patchOffset < WLSIM_MEM_PATCH)
        return d->patch[offset - d->patchOffset];
    w = (uint16_t)((offset >> 1) ^ d->seed);
    return (uint8_t)((offset & 1u) ? w >> 8 : w & 0xFFu);
}

/* Copies count blocks behind the four request words, within what the
 * caller's record holds and the block carries. */
static uint16_t MemoryRead(DiagAdapter *d, uint8_t *block, uint16_t asked, uint16_t *lenOut)
{
    uint32_t count = Word(block, 0), first = Word(block, 1);
    uint32_t need = MEMORY_REQ_LEN + count * WORDS_PER_BLOCK;
    uint32_t i, bytes = count * WLSIM_MEM_BLOCK;
    uint8_t *dst = block + BLOCK_VAL_OFFSET + 8u;

    *lenOut = asked < MEMORY_REQ_LEN ? asked : MEMORY_REQ_LEN;
    if (asked < MEMORY_REQ_LEN || need > asked || need > WLSIM_LTV_MAX_LEN)
        return WLSIM_RES_LEN;
    for (i = 0; i < bytes; i++)
        dst[i] = MemoryByte(d, first * WLSIM_MEM_BLOCK + i);
    d->st.memoryReads++;
    d->st.memoryBlocks += count;
    *lenOut = (uint16_t)need;
    return WLSIM_RES_SUCCESS;
}

/* ---- exchanges -------------------------------------------------------- */

int SimDiagExchange(int32_t adapter, int op, uint8_t *block, uint16_t typ, uint16_t asked,
                    uint16_t *result, uint16_t *lenOut)
{
    DiagAdapter *d;
    int put = op == WLSIM_OP_PUT_INFO;
    uint16_t want, came[11];
    uint32_t i;

    if (adapter < 0 || adapter >= WLSIM_MAX_ADAPTERS)
        return 0;
    if (op != WLSIM_OP_GET_INFO && op != WLSIM_OP_PUT_INFO)
        return 0;
    d = &Diag[adapter];
    switch (typ) {
    case WLSIM_TYPE_NIC_CMD: want = NIC_CMD_LEN; break;
    case WLSIM_TYPE_DONGLE_CMD: want = DONGLE_CMD_LEN; break;
    case WLSIM_TYPE_HIF_CMD: want = HIF_CMD_LEN; break;
    case WLSIM_TYPE_MEMORY:
        if (put)
            return 0; /* memory is read; a put is an ordinary record */
        want = MEMORY_REQ_LEN;
        break;
    default: return 0;
    }

    *lenOut = asked;
    for (i = 0; i < 11u; i++)
        came[i] = Word(block, i);
    if (typ == WLSIM_TYPE_MEMORY && !put) {
        *result = MemoryRead(d, block, asked, lenOut);
        Remember(d, typ, op, came, asked < MEMORY_REQ_LEN ? asked : MEMORY_REQ_LEN, *result);
    } else if (!put && (typ != WLSIM_TYPE_HIF_CMD || asked != HIF_CMD_LEN)) {
        /* Commands are not stored. A NIC or dongle command record reads
         * back cleared (so that a read before a write always finds it
         * changed); the host interface record reads back as none. */
        if (asked < 1 || asked > WLSIM_LTV_MAX_LEN) {
            *result = WLSIM_RES_LEN;
            return 1;
        }
        *result = WLSIM_RES_SUCCESS;
        *lenOut = typ == WLSIM_TYPE_HIF_CMD ? 1 : (asked < want ? asked : want);
        for (i = 0; i + 1u < *lenOut; i++)
            SetWord(block, i, 0);
    } else {
        if (asked != want)
            *result = WLSIM_RES_LEN;
        else if (typ == WLSIM_TYPE_NIC_CMD)
            *result = put ? NicCommand(d, block) : WLSIM_RES_CMD_REFUSED;
        else if (typ == WLSIM_TYPE_DONGLE_CMD)
            *result = put ? DongleCommand(d, block) : WLSIM_RES_CMD_REFUSED;
        else
            *result = HifCommand(d, block, put);
        Remember(d, typ, op, came, asked <= NIC_CMD_LEN ? asked : NIC_CMD_LEN, *result);
    }
    memcpy(block + BLOCK_LEN_OFFSET, lenOut, 2);
    return 1;
}

int SimDiagFrameSent(int32_t adapter, int blocked, const uint8_t *frame, uint32_t len)
{
    static uint8_t value[WLSIM_MB_VALUE_MAX];
    const uint32_t at = WLSIM_WMP_OFFSET - 4u; /* value offset of the frame */
    uint32_t n = len < WLSIM_MB_VALUE_MAX - at ? len : WLSIM_MB_VALUE_MAX - at;

    if (adapter < 0 || adapter >= WLSIM_MAX_ADAPTERS || !blocked || !Diag[adapter].loopback || !frame)
        return 0;
    memset(value, 0, sizeof value);
    memcpy(value + at, frame, n);
    if (SimMailboxPush(adapter, WLSIM_MB_WMP, 0, value, at + n, WLSIM_MB_NOW) != 0)
        return 0;
    Diag[adapter].st.loopedBack++;
    return 1;
}

/* ---- control ---------------------------------------------------------- */

int SimDiagConfigure(const WlSimDiagConfig *cfg)
{
    DiagAdapter *d;
    if (!cfg || cfg->adapter < 0 || cfg->adapter >= WLSIM_MAX_ADAPTERS)
        return -1;
    d = &Diag[cfg->adapter];
    d->st.hwid = cfg->hwid;
    d->seed = cfg->seed;
    d->patchOffset = cfg->patchOffset;
    memcpy(d->patch, cfg->patch, WLSIM_MEM_PATCH);
    d->loopback = cfg->loopback != 0;
    return 0;
}

int SimDiagGetState(int32_t adapter, WlSimDiagState *out)
{
    const DiagAdapter *d;
    int i, start;
    if (!out || adapter < 0 || adapter >= WLSIM_MAX_ADAPTERS)
        return -1;
    d = &Diag[adapter];
    *out = d->st;
    /* oldest first */
    start = (d->keptNext - d->st.nKept + WLSIM_CMD_KEEP) % WLSIM_CMD_KEEP;
    for (i = 0; i < d->st.nKept; i++)
        out->kept[i] = d->st.kept[(start + i) % WLSIM_CMD_KEEP];
    return 0;
}
