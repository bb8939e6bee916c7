/*
 * simctl.h - stand-in adapter driver (wlsim.sys): the adapter protocol it
 * answers and its control interface.
 *
 * Shared by the driver, the console program simctl.exe and the simclient
 * library. Plain C, fixed-width types only, so that it compiles in kernel
 * mode, in user mode and in host-side unit tests alike.
 *
 * Adapter devices: every simulated adapter is reachable under one or more
 * device names ("{GUID}" network configuration identifiers, "WuVXQ48E.vxd"
 * and the like), opened as \\.\<name>. Each answers DeviceIoControl with
 * WLSIM_IOCTL_ADAPTER: input the 4-byte WLSIM_OBJECT_ID, output the
 * 8204-byte WlSimBlock (METHOD_OUT_DIRECT).
 *
 * Control device: \\.\WLSIMCTL, METHOD_BUFFERED requests IOCTL_WLSIM_*.
 * Every request takes exactly the input structure named beside it (or none)
 * and needs an output buffer of at least the output structure's size.
 */
#ifndef WLSIM_SIMCTL_H
#define WLSIM_SIMCTL_H

#include <stdint.h>

#include "wldriver.h"

/* ---- adapter protocol ------------------------------------------------- */

/* The adapter protocol is the driver interface of wldriver.h; the names
 * below are its spellings in the stand-in's own code. */
#define WLSIM_IOCTL_ADAPTER WLDRV_IOCTL
#define WLSIM_OBJECT_ID WLDRV_OBJECT_ID
#define WLSIM_BLOCK_SIZE WLDRV_BLOCK_SIZE
#define WLSIM_VAL_WORDS WLDRV_VAL_WORDS
#define WLSIM_LTV_MAX_LEN WLDRV_LTV_MAX_LEN
#define WLSIM_DIAG_MAX 8192u    /* bytes of one diagnostic message */

#define WLSIM_OP_CONNECT WLDRV_OP_CONNECT
#define WLSIM_OP_DISCONNECT WLDRV_OP_DISCONNECT
#define WLSIM_OP_ACTION WLDRV_OP_ACTION
#define WLSIM_OP_SEND_DIAG_MSG WLDRV_OP_SEND_DIAG_MSG
#define WLSIM_OP_GET_INFO WLDRV_OP_GET_INFO
#define WLSIM_OP_PUT_INFO WLDRV_OP_PUT_INFO
#define WLSIM_OPS WLDRV_OPS

#define WLSIM_RES_SUCCESS WLDRV_RES_SUCCESS
#define WLSIM_RES_TIME_OUT WLDRV_RES_TIME_OUT
#define WLSIM_RES_NO_NIC WLDRV_RES_NO_NIC
#define WLSIM_RES_BUSY WLDRV_RES_BUSY
#define WLSIM_RES_LEN WLDRV_RES_LEN
#define WLSIM_RES_INCOMP_DRV WLDRV_RES_INCOMP_DRV
#define WLSIM_RES_IN_USE WLDRV_RES_IN_USE
#define WLSIM_RES_WRONG_IFB WLDRV_RES_WRONG_IFB

/* Action codes the driver acts on; any other code is counted and answered
 * 0. Block and unblock set and clear `blocked`; reset and apply both put the
 * stored records in force (no put is left unapplied). No action changes a
 * record: a reset does not bring back the default records. */
#define WLSIM_ACTION_BLOCK WLDRV_ACTION_BLOCK
#define WLSIM_ACTION_UNBLOCK WLDRV_ACTION_UNBLOCK
#define WLSIM_ACTION_RESET WLDRV_ACTION_RESET
#define WLSIM_ACTION_APPLY WLDRV_ACTION_APPLY

/* `ifbp` the driver answers: this base plus the adapter index, never 0. */
#define WLSIM_IFBP_BASE 0x57530100u

typedef WLDrvBlock WlSimBlock;

/* Coded records. The key record (0x0900) and the country record (0x0905)
 * reach the adapter as area records whose value words carry a coded text,
 * two characters to a word, low byte first; the text ends at its first zero
 * byte or at the end of the record. After storing such a put as it came, the
 * adapter decodes the text with the library's own coding (CRYPT_CODE) and
 * keeps the plain bytes as the companion record WLSIM_DECODED_TYPE (typ):
 * the decoded bytes as value words, low byte first, a last odd byte in a
 * zero-padded word. A text that decodes to no byte leaves a companion of
 * len 1; when the companion cannot be stored (no memory, no record slot)
 * any older companion is removed, so a companion always belongs to the
 * newest coded put. Companions are ordinary records: IOCTL_WLSIM_GET_RECORD
 * and get_info read them. Records stored through the control interface are
 * not decoded. */
#define WLSIM_CODED_KEY_TYPE 0x0900u
#define WLSIM_CODED_COUNTRY_TYPE 0x0905u
#define WLSIM_DECODED_TYPE(typ) ((uint16_t)((typ) | 0x0080u)) /* 0x0980, 0x0985 */

/* ---- control interface ------------------------------------------------ */

#define WLSIM_CONTROL_PATH "\\\\.\\WLSIMCTL"
#define WLSIM_SERVICE_NAME "wlsim"

/* Device type 0x8000 (vendor range), FILE_ANY_ACCESS, METHOD_BUFFERED. */
#define WLSIM_CTL_CODE(fn) ((0x8000u << 16) | (((uint32_t)(fn)) << 2))

#define IOCTL_WLSIM_RESET WLSIM_CTL_CODE(0x800)          /* - / -  */
#define IOCTL_WLSIM_ADD_ADAPTER WLSIM_CTL_CODE(0x801)    /* WlSimAddAdapter / WlSimAdapterId */
#define IOCTL_WLSIM_REMOVE_ADAPTER WLSIM_CTL_CODE(0x802) /* WlSimAdapterId / - */
#define IOCTL_WLSIM_MAP_NAME WLSIM_CTL_CODE(0x803)       /* WlSimMapName / - */
#define IOCTL_WLSIM_SET_RECORD WLSIM_CTL_CODE(0x804)     /* WlSimRecord / - */
#define IOCTL_WLSIM_GET_RECORD WLSIM_CTL_CODE(0x805)     /* WlSimRecordKey / WlSimRecord */
#define IOCTL_WLSIM_DELETE_RECORD WLSIM_CTL_CODE(0x806)  /* WlSimRecordKey / - */
#define IOCTL_WLSIM_FAULT WLSIM_CTL_CODE(0x807)          /* WlSimFault / - */
#define IOCTL_WLSIM_CLEAR_LOG WLSIM_CTL_CODE(0x808)      /* - / - */
#define IOCTL_WLSIM_COUNTERS WLSIM_CTL_CODE(0x809)       /* - / WlSimCounters */
#define IOCTL_WLSIM_EXCHANGES WLSIM_CTL_CODE(0x80A)      /* - / WlSimExchangeLog */
#define IOCTL_WLSIM_DIAG WLSIM_CTL_CODE(0x80B)           /* WlSimDiagQuery / WlSimDiagMsg */
#define IOCTL_WLSIM_ADAPTER_STATE WLSIM_CTL_CODE(0x80C)  /* WlSimAdapterId / WlSimAdapterState */
#define IOCTL_WLSIM_NAMES WLSIM_CTL_CODE(0x80D)          /* - / WlSimNameList */
#define IOCTL_WLSIM_DIAG_CONFIG WLSIM_CTL_CODE(0x820)  /* WlSimDiagConfig / - */
#define IOCTL_WLSIM_DIAG_STATE WLSIM_CTL_CODE(0x821)   /* WlSimAdapterId / WlSimDiagState */

#define WLSIM_MAX_ADAPTERS 8
#define WLSIM_MAX_NAMES 32         /* device names over all adapters */
#define WLSIM_NAMES_PER_ADD 8
#define WLSIM_NAME_CHARS 64        /* including the terminating zero */
#define WLSIM_MAX_RECORDS 512      /* per adapter */
#define WLSIM_DIAG_KEEP 16         /* newest messages kept per adapter */
#define WLSIM_LOG_KEEP 64          /* newest exchanges kept */
#define WLSIM_TYPE_SLOTS 128       /* record types counted */
#define WLSIM_ACTION_SLOTS 32      /* action codes counted */
#define WLSIM_MAX_FAULTS 16        /* armed faults at a time */
#define WLSIM_ANY_ADAPTER (-1)

typedef struct WlSimAdapterId {
    int32_t adapter;
} WlSimAdapterId;

/* A new adapter gets the default records and the device names given.
 * Names: 1 to 63 printable characters without "\\", "/" or ":". */
typedef struct WlSimAddAdapter {
    int32_t nNames; /* 0 to WLSIM_NAMES_PER_ADD */
    char names[WLSIM_NAMES_PER_ADD][WLSIM_NAME_CHARS];
} WlSimAddAdapter;

/* Points a device name at an adapter, creating the device if the name is
 * new; adapter WLSIM_ANY_ADAPTER removes the name and its device. */
typedef struct WlSimMapName {
    int32_t adapter;
    char name[WLSIM_NAME_CHARS];
} WlSimMapName;

/* One stored record. In IOCTL_WLSIM_GET_RECORD's answer `len` 0 means the
 * adapter has no record of that type. */
typedef struct WlSimRecord {
    int32_t adapter;
    uint16_t len;
    uint16_t typ;
    uint16_t val[WLSIM_VAL_WORDS];
} WlSimRecord;

typedef struct WlSimRecordKey {
    int32_t adapter;
    uint16_t typ;
    uint16_t reserved;
} WlSimRecordKey;

/* Fault kinds. */
#define WLSIM_FAULT_RESULT 0   /* answer `value` in `result`, act on nothing */
#define WLSIM_FAULT_FAIL_CALL 1 /* fail the call itself: complete with NTSTATUS
                                   `value` (0 or a non-error: 0xC0000001) */
#define WLSIM_FAULT_TRUE_LEN 2 /* get_info answers the stored record whole,
                                  even when it is longer than asked */
#define WLSIM_FAULT_SHORT_ANSWER 3 /* the exchange is answered as ever, but
                                      the call reports only `value` bytes
                                      returned (below WLSIM_BLOCK_SIZE) */
#define WLSIM_FAULT_KINDS 4

/* Arms a fault for the next `count` exchanges of operation `op` on
 * `adapter` (or WLSIM_ANY_ADAPTER). Arming the same op, kind and adapter
 * again replaces the count; count 0 disarms it. When several match, a
 * failed call wins over a result, a result over a true length. */
typedef struct WlSimFault {
    int32_t op;
    int32_t kind;
    int32_t count;
    uint32_t value;
    int32_t adapter;
} WlSimFault;

typedef struct WlSimTypeCount {
    uint16_t typ;
    uint16_t reserved;
    uint32_t gets;
    uint32_t puts;
} WlSimTypeCount;

typedef struct WlSimActionCount {
    uint16_t code;
    uint16_t reserved;
    uint32_t count;
} WlSimActionCount;

/* Exchange counters since the last reset or clear-log. Every exchange that
 * passed the envelope checks (object id, output size, mapped name) counts
 * in `exchanges`, `ops` and by type or action code, whatever its outcome. */
typedef struct WlSimCounters {
    uint32_t exchanges;
    uint32_t ops[WLSIM_OPS];
    uint32_t badFunction;  /* unknown operation code, answered 70 */
    uint32_t refused;      /* envelope refused: wrong object id, short
                              output buffer, unmapped device */
    uint32_t failedCalls;  /* calls failed by a WLSIM_FAULT_FAIL_CALL */
    uint32_t faultResults; /* results answered by a WLSIM_FAULT_RESULT */
    uint32_t lenErrors;    /* answered WLSIM_RES_LEN for a bad length */
    int32_t nTypes;
    uint32_t typesDropped; /* exchanges of types beyond the table */
    WlSimTypeCount types[WLSIM_TYPE_SLOTS];
    int32_t nActions;
    uint32_t actionsDropped;
    WlSimActionCount actions[WLSIM_ACTION_SLOTS];
} WlSimCounters;

/* Outcome flags of a logged exchange. */
#define WLSIM_X_REFUSED 1      /* envelope refused, nothing read */
#define WLSIM_X_FAILED_CALL 2  /* failed by fault, block untouched */
#define WLSIM_X_FAULT_RESULT 4 /* result answered by fault */
#define WLSIM_X_TRUE_LEN 8     /* get_info answered by true-length fault */
#define WLSIM_X_SHORT 16       /* answer reported short by fault */

typedef struct WlSimExchange {
    uint32_t seq;      /* 1 for the first exchange after a reset */
    int16_t adapter;   /* -1 when the device maps to no adapter */
    uint16_t op;       /* 0xFFFF when refused before the block was read */
    uint16_t typ;
    uint16_t lenIn;
    uint16_t lenOut;
    uint16_t result;
    uint16_t flags;
    uint16_t reserved;
} WlSimExchange;

/* The newest exchanges, oldest first. */
typedef struct WlSimExchangeLog {
    uint32_t total; /* exchanges logged since the last reset or clear-log */
    int32_t n;
    WlSimExchange e[WLSIM_LOG_KEEP];
} WlSimExchangeLog;

typedef struct WlSimDiagQuery {
    int32_t adapter;
    int32_t back; /* 0 the newest message, 1 the one before, ... */
} WlSimDiagQuery;

typedef struct WlSimDiagMsg {
    uint32_t seq;  /* 1 for the adapter's first message */
    int32_t kept;  /* messages kept for the adapter */
    int32_t len;   /* bytes */
    uint8_t bytes[WLSIM_DIAG_MAX];
} WlSimDiagMsg;

typedef struct WlSimAdapterState {
    int32_t adapter;
    int32_t connected;   /* 1 between an acted-on connect and disconnect */
    int32_t blocked;     /* 1 after action 11 until action 12 */
    int32_t applied;     /* 1 when no record was put since the last apply
                            or reset */
    uint32_t connects;
    uint32_t disconnects;
    uint32_t gets;
    uint32_t puts;
    uint32_t unappliedPuts; /* puts since the last apply or reset */
    uint32_t applies;       /* action 130 */
    uint32_t resets;        /* action 128 */
    uint32_t blocks;
    uint32_t unblocks;
    uint32_t otherActions;
    uint32_t diagMsgs;
    uint32_t opens;         /* handles opened on the adapter's devices */
    int32_t openHandles;    /* handles open now */
    int32_t nRecords;
    int32_t nNames;
} WlSimAdapterState;

typedef struct WlSimNameEntry {
    int32_t adapter;
    char name[WLSIM_NAME_CHARS];
} WlSimNameEntry;

typedef struct WlSimNameList {
    int32_t n;
    WlSimNameEntry e[WLSIM_MAX_NAMES];
} WlSimNameList;

/* ---- diagnostic commands ---------------------------------------------

The adapter executes the command records of the diagnostic exports:

- 0x0860 NIC configuration command (len 12): word 0 the command, low byte
  the operation, high byte its qualifier; words 1 to 4 parameters; words 5
  to 7 the answers resp0 to resp2, filled in the record that goes back.
  0x30 radio chip register read (qualifier device + 8 * endian, word 1 the
  address: resp0 and resp1 the two values stored there, 0 when unwritten);
  0x31 register write (words 2 and 3 stored); 0x38 PHY test (mode in the
  qualifier; stop, mode 0x0F, answers the adapter's hardware id in resp2).
- 0x0861 dongle configuration command (len 3): word 0 0x0C38 LED test with
  the value in word 1, or 0x0F38 stop.
- 0x0863 host interface command (len 4): word 0 the operation (0 register
  access, 1 receive mode), word 1 the register (0 to 0x3F) or the mode,
  word 2 the value or the receive size; a get answers the register in
  word 2.
- 0x0906 memory read (a put is stored as any record): words 0 to 3 the block count, the first
  block and a 32-bit buffer address. This adapter runs in another process
  than the caller, so it answers the bytes in the record itself, behind the
  four words: count * 128 bytes of its memory image. The count must fit the
  record the caller asked with (len 5 + 64 * count) and the block;
  otherwise nothing is copied and the answer is WLSIM_RES_LEN.

Commands are puts, and host interface gets of len 4; none is stored as a
record: any other get of a NIC or dongle command answers the record of its
len cleared, of a host interface command no record (len 1), so that every
command reaches the adapter. A command the adapter does
not know, a record of the wrong len or a register outside its file is
answered WLSIM_RES_CMD_REFUSED or WLSIM_RES_LEN (never a silent success) and
counted as refused. */
#define WLSIM_TYPE_NIC_CMD 0x0860u
#define WLSIM_TYPE_DONGLE_CMD 0x0861u
#define WLSIM_TYPE_HIF_CMD 0x0863u
#define WLSIM_TYPE_MEMORY 0x0906u
#define WLSIM_RES_CMD_REFUSED 10 /* the firmware's "incompatible" answer */
#define WLSIM_MEM_BLOCK 128u
#define WLSIM_HIF_REGS 64
#define WLSIM_MIF_REGS 64        /* radio chip registers written, all devices */
#define WLSIM_CMD_KEEP 16        /* newest commands kept */
#define WLSIM_CMD_SLOTS 48       /* distinct command words counted */
#define WLSIM_MEM_PATCH 1024u    /* bytes of the settable memory window */

/* Memory image: the 16-bit word at even byte offset o is
 * (o / 2) ^ seed, except inside the window of WLSIM_MEM_PATCH bytes at
 * patchOffset, which holds patch[]. A new adapter has seed 0, no window
 * (patchOffset 0xFFFFFFFF) and hardware id 0x4830. */
typedef struct WlSimDiagConfig {
    int32_t adapter;
    uint16_t hwid;      /* resp2 of the PHY test stop */
    uint16_t seed;
    uint32_t patchOffset;
    uint8_t patch[WLSIM_MEM_PATCH];
    int32_t loopback;   /* 1: frames sent while blocked come back in the
                           mailbox as received management frames (simworld.h) */
} WlSimDiagConfig;

typedef struct WlSimCommand {
    uint16_t typ;       /* 0x0860, 0x0861 or 0x0863 */
    uint16_t op;        /* WLSIM_OP_GET_INFO or WLSIM_OP_PUT_INFO */
    uint16_t len;
    uint16_t result;
    uint16_t w[11];     /* value words as they came */
    uint16_t reserved;
} WlSimCommand;

typedef struct WlSimCommandCount {
    uint16_t typ;
    uint16_t word0;     /* command word (host interface: the operation) */
    uint32_t count;
} WlSimCommandCount;

typedef struct WlSimDiagState {
    int32_t adapter;
    uint32_t commands;  /* command and memory records since the reset */
    uint32_t refused;   /* of them answered with an error */
    uint32_t memoryReads;
    uint32_t memoryBlocks; /* blocks copied out */
    uint32_t loopedBack;   /* frames put into the mailbox */
    uint16_t hif[WLSIM_HIF_REGS];
    uint16_t receiveMode;
    uint16_t receiveSize;
    uint16_t phyMode;   /* qualifier of the last PHY test */
    uint16_t phyChannel;
    uint16_t led[2];    /* values of the last LED test (NIC) */
    uint16_t dongleLed;
    uint16_t hwid;
    int32_t nKept;      /* newest commands, oldest first */
    WlSimCommand kept[WLSIM_CMD_KEEP];
    int32_t nCounts;
    WlSimCommandCount counts[WLSIM_CMD_SLOTS];
} WlSimDiagState;

#endif /* WLSIM_SIMCTL_H */
