/*
 * wldriver.h - the adapter driver's interface: one device I/O control code
 * whose 4-byte input is the object identifier and whose output is the
 * interface block carrying an operation code, the driver's result and one
 * LTV record. Shared by the library, the stand-in driver and the utility.
 * Plain C, fixed-width types only, so that it compiles in kernel mode, in
 * user mode and in host-side unit tests alike.
 */
#ifndef WLDRIVER_H
#define WLDRIVER_H

#include <stdint.h>

#define WLDRV_IOCTL 0x00170002u    /* device type 0x17, function 0, METHOD_OUT_DIRECT */
#define WLDRV_OBJECT_ID 0xFF020401u /* the request's 4-byte input */
#define WLDRV_BLOCK_SIZE 8204u      /* the interface block, the request's output */
#define WLDRV_HEADER_SIZE 12u       /* ifbp, result, function, len, typ */
#define WLDRV_VAL_WORDS 4096u
#define WLDRV_LTV_MAX_LEN 4097u     /* largest record len: typ plus 4096 value words */

/* Operation codes (block `function`). */
#define WLDRV_OP_CONNECT 0
#define WLDRV_OP_DISCONNECT 1
#define WLDRV_OP_ACTION 2
#define WLDRV_OP_SEND_DIAG_MSG 3
#define WLDRV_OP_GET_INFO 4
#define WLDRV_OP_PUT_INFO 5
#define WLDRV_OPS 6

/* Result codes the driver answers in `result`. */
#define WLDRV_RES_SUCCESS 0
#define WLDRV_RES_TIME_OUT 4
#define WLDRV_RES_NO_NIC 5
#define WLDRV_RES_BUSY 6
#define WLDRV_RES_LEN 8
#define WLDRV_RES_INCOMP_DRV 65
#define WLDRV_RES_IN_USE 68
#define WLDRV_RES_WRONG_IFB 70

/* Action codes (the block's `typ` of an action). */
#define WLDRV_ACTION_BLOCK 11
#define WLDRV_ACTION_UNBLOCK 12
#define WLDRV_ACTION_RESET 128
#define WLDRV_ACTION_APPLY 130

/* The interface block; natural alignment gives the wire layout. */
typedef struct WLDrvBlock {
    uint32_t ifbp;                 /* @0  the driver's; never written by callers */
    uint16_t result;               /* @4  0 before the call, the driver's code after it */
    uint16_t function;             /* @6  operation code */
    uint16_t len;                  /* @8  words after len: typ + values */
    uint16_t typ;                  /* @10 */
    uint16_t val[WLDRV_VAL_WORDS]; /* @12 */
} WLDrvBlock;

typedef char WLDrvBlockSizeCheck[(sizeof(WLDrvBlock) == WLDRV_BLOCK_SIZE) ? 1 : -1];
typedef char WLDrvHeaderCheck[(sizeof(WLDrvBlock) - sizeof(uint16_t) * WLDRV_VAL_WORDS == WLDRV_HEADER_SIZE) ? 1 : -1];

#endif /* WLDRIVER_H */
