/*
 * Byte records and the buffer members that pass a record's bytes through:
 * QoS parameter set, DCQ, DSQ, current transmit power level, coexistence
 * behaviour and security capability.
 */
#include <stdlib.h>

#include "channel/wlchannel.h"
#include "nic/wlnic.h"
#include "params/radio.h"

/* A record with room for Bytes value bytes; NULL when out of memory. */
static WL_LTV *ByteRecordNew(unsigned short Type, unsigned Bytes)
{
    unsigned words = Bytes / 2 + 1; /* value words, as len = Bytes / 2 + 1 counts them with typ */
    WL_LTV *ltv = (WL_LTV *)calloc(1, WL_LTV_BYTES(words));
    if (ltv == NULL) return NULL;
    ltv->len = (uint16_t)(Bytes / 2 + 1);
    ltv->typ = Type;
    return ltv;
}

int RecordBytesRead(unsigned short Type, void *Buf, unsigned Bytes)
{
    WL_FRAME("RecordBytesRead");
    WL_CHECK(Buf == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Bytes > 2u * (WL_IFB_MAX_LEN - 1), WL_INVALID_PARAMETER);
    WL_LTV *ltv = ByteRecordNew(Type, Bytes);
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    int rc = GenericRead(ltv);
    /* The channel never copies an answer beyond the record's room, and the
     * record was cleared: bytes the adapter did not send read as zero. */
    if (rc == WL_SUCCESS) memcpy(Buf, ltv->val, Bytes);
    free(ltv);
    WL_RETURN(rc);
}

int RecordBytesWrite(unsigned short Type, const void *Buf, unsigned Bytes)
{
    WL_FRAME("RecordBytesWrite");
    WL_CHECK(Buf == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Bytes > 2u * (WL_IFB_MAX_LEN - 1), WL_INVALID_PARAMETER);
    WL_LTV *ltv = ByteRecordNew(Type, Bytes);
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    memcpy(ltv->val, Buf, Bytes);
    int rc = WLFirmwareSet(ltv);
    free(ltv);
    WL_RETURN(rc);
}

/* ---- Buffer members ---- */

/* Checks a setter's data before it is written: the reason it is refused
 * for, or NULL. */
typedef const char *(*BufferDataCheck)(const void *Val);

struct BufferMember {
    const char *getName;
    const char *setName; /* NULL: read only */
    unsigned short record;
    uint32_t type;
    uint32_t size;
    const char *typeReason;
    const char *sizeReason;
    unsigned bytes;          /* record value bytes, at the buffer's data */
    const char *regName;     /* per-adapter copy of the first word, or NULL */
    const char *regReason;   /* setter reason when that copy fails */
    bool getterFallsBack;    /* getter answers from regName when the adapter fails */
    BufferDataCheck check;
};

static const char *QoSParameterSetCheck(const void *Buf);

/* One row per member, named kMember<Name>: its exports and the buffer's
 * type, size and reasons all follow from Name. */
#define BUFFER_MEMBER(Name, Set, Rec, Bytes, Reg, RegReason, Fallback, Check)                         \
    static const BufferMember kMember##Name = {                                                     \
        "WL" #Name "Get", Set ? "WL" #Name "Set" : NULL, Rec, Name##BufferType, sizeof(Name##Buffer), \
        "(Val)->TS.Type != " #Name "BufferType", "(Val)->TS.Size != sizeof (" #Name "Buffer)", Bytes,  \
        Reg, RegReason, Fallback, Check};

BUFFER_MEMBER(QoSParameterSet, true, 0xFCC1, 32, NULL, NULL, false, QoSParameterSetCheck)
BUFFER_MEMBER(DCQ, true, 0xFFE4, 24, NULL, NULL, false, NULL)
BUFFER_MEMBER(DSQ, true, 0xFFE5, 16, NULL, NULL, false, NULL)
BUFFER_MEMBER(CurrentTXPowerLevel, false, 0xFDC7, 10, NULL, NULL, false, NULL)
BUFFER_MEMBER(CoexistenceBehaviour, true, 0xFCC7, 2, "CoExistence",
              "_WLCoexistenceBehaviourSet (cb) != WL_SUCCESS", true, NULL)
BUFFER_MEMBER(SecurityCapability, false, 0xFD90, 2, NULL, NULL, false, NULL)

#undef BUFFER_MEMBER

/* The data of every buffer member start right after the header. */
static unsigned char *BufferData(void *Val) { return (unsigned char *)Val + sizeof(TS_HEADER); }
static const unsigned char *BufferData(const void *Val)
{
    return (const unsigned char *)Val + sizeof(TS_HEADER);
}

static int BufferMemberGet(const BufferMember &m, void *Buf)
{
    WL_FRAME_AS(m.getName);
    TS_HEADER *Val = (TS_HEADER *)Buf;
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    if (Val->Type != m.type) WL_FAIL(m.typeReason, WL_INVALID_PARAMETER);
    if (Val->Size != m.size) WL_FAIL(m.sizeReason, WL_INVALID_PARAMETER);
    int rc = RecordBytesRead(m.record, BufferData(Val), m.bytes);
    if (rc != WL_SUCCESS && m.getterFallsBack) {
        DWORD v = 0;
        rc = WLNICAnyIntGet(m.regName, &v);
        if (rc == WL_SUCCESS) {
            uint16_t w = (uint16_t)v;
            memcpy(BufferData(Val), &w, sizeof w);
        }
    }
    WL_RETURN(rc);
}

static int BufferMemberSet(const BufferMember &m, const void *Buf)
{
    WL_FRAME_AS(m.setName);
    const TS_HEADER *Val = (const TS_HEADER *)Buf;
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    if (Val->Type != m.type) WL_FAIL(m.typeReason, WL_INVALID_PARAMETER);
    if (Val->Size != m.size) WL_FAIL(m.sizeReason, WL_INVALID_PARAMETER);
    const char *refused = m.check != NULL ? m.check(Val) : NULL;
    if (refused != NULL) WL_FAIL(refused, WL_INVALID_PARAMETER);
    if (m.regName != NULL) {
        uint16_t cb;
        memcpy(&cb, BufferData(Val), sizeof cb);
        if (WLNICAnyIntSet(m.regName, cb) != WL_SUCCESS) WL_FAIL(m.regReason, WL_GENERAL_ERROR);
    }
    WL_RETURN(RecordBytesWrite(m.record, BufferData(Val), m.bytes));
}

/*
 * The QoS data checks, in order: the first that fails gives the setter's
 * reason, NULL when all pass. The 65535 bounds hold for any 16-bit field and
 * stay for the record of the checks made.
 */
#define QOS_CHECK(cond) \
    if (cond) return #cond
static const char *QoSParameterSetCheck(const void *Buf)
{
    const QoSParameterSetBuffer *Val = (const QoSParameterSetBuffer *)Buf;
    QOS_CHECK(!INTERVAL (0, <=, Val->data.CWmin0, <=, 255));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.CWmin1, <=, 255));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.CWmin2, <=, 255));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.CWmin3, <=, 255));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.CWmax0, <=, 65535));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.CWmax1, <=, 65535));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.CWmax2, <=, 65535));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.CWmax3, <=, 65535));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.AIFS0, <=, 255));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.AIFS1, <=, 255));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.AIFS2, <=, 255));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.AIFS3, <=, 255));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.TXOPLimit0, <=, 65535));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.TXOPLimit1, <=, 65535));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.TXOPLimit2, <=, 65535));
    QOS_CHECK(!INTERVAL (0, <=, Val->data.TXOPLimit3, <=, 65535));
    return NULL;
}
#undef QOS_CHECK

/* ---- Exports ---- */

#define BUFFER_GET(Name)                                                  \
    int WLAPI WL##Name##Get(Name##Buffer *Val)                            \
    {                                                                     \
        WL_NOT_IN_CD("WL" #Name "Get");                                   \
        return BufferMemberGet(kMember##Name, Val);                       \
    }
#define BUFFER_SET(Name)                                                  \
    int WLAPI WL##Name##Set(const Name##Buffer *Val)                      \
    {                                                                     \
        WL_NOT_IN_CD("WL" #Name "Set");                                   \
        return BufferMemberSet(kMember##Name, Val);                       \
    }

BUFFER_GET(QoSParameterSet)
BUFFER_SET(QoSParameterSet)
BUFFER_GET(DCQ)
BUFFER_SET(DCQ)
BUFFER_GET(DSQ)
BUFFER_SET(DSQ)
BUFFER_GET(CurrentTXPowerLevel)
BUFFER_GET(CoexistenceBehaviour)
BUFFER_SET(CoexistenceBehaviour)
BUFFER_GET(SecurityCapability)
