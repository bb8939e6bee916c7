/*
 * simdiag.h - the simulated adapters' diagnostic side: the command records
 * (radio chip and host interface registers, PHY and dongle tests, receive
 * mode), the memory image read through record 0x0906 and the loop-back of
 * frames sent while the adapter is blocked. Pure logic like simcore, under
 * the same lock.
 */
#ifndef WLSIM_SIMDIAG_H
#define WLSIM_SIMDIAG_H

#include "simctl.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Forgets everything of one adapter (-1: of all), as a new adapter has it. */
void SimDiagReset(int32_t adapter);

/*
 * Offers a get_info or put_info exchange to the diagnostic side. Answers 0
 * when the record is none of its own (simcore handles it); else 1 with
 * *result and *lenOut (the len answered, also written to the block) set.
 * `block` is the whole interface block of WLSIM_BLOCK_SIZE bytes, possibly
 * unaligned; `asked` the len the caller sent.
 */
int SimDiagExchange(int32_t adapter, int op, uint8_t *block, uint16_t typ, uint16_t asked,
                    uint16_t *result, uint16_t *lenOut);

/* A frame of `len` bytes was sent to the adapter: with the loop-back on
 * and the adapter blocked it comes back as a received management frame
 * (mailbox record WLSIM_MB_WMP, the frame where the adapter's own frames
 * sit, cut to what a mailbox record holds). Answers 1 when it looped. */
int SimDiagFrameSent(int32_t adapter, int blocked, const uint8_t *frame, uint32_t len);

int SimDiagConfigure(const WlSimDiagConfig *cfg);
int SimDiagGetState(int32_t adapter, WlSimDiagState *out);

#ifdef __cplusplus
}
#endif

#endif /* WLSIM_SIMDIAG_H */
