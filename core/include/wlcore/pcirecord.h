/*
 * The driver's PCI information record (type 0x0903, len 107): value word 0
 * selects the PCI block (2), word 10 is the PCI status word and words 13 to
 * 16 the identity (vendor, device, subsystem vendor, subsystem).
 */
#ifndef WLCORE_PCIRECORD_H
#define WLCORE_PCIRECORD_H

#include "wlapi.h"

#define PCI_INFO_TYPE 0x0903
#define PCI_INFO_LEN 107
#define PCI_INFO_SELECT 2
#define PCI_INFO_STATUS_WORD 10
#define PCI_INFO_IDENTITY_WORD 13

#ifdef __cplusplus
extern "C" {
#endif

WL_LTV_DECLARE(PciInfoLtv, PCI_INFO_LEN - 1);

/* Fills the request: len 107, type 0x0903, word 0 = 2, the rest 0. */
void PciRecordRequest(PciInfoLtv *Ltv);
/* Words 13 to 16, zero-extended, into C, V, M and m; words past the
 * answer's len read as 0. */
void PciRecordIdentity(const PciInfoLtv *Ltv, IdentityBuffer *Val);
/* Word 10, zero-extended (0 when the answer is shorter). */
int PciRecordStatus(const PciInfoLtv *Ltv);

#ifdef __cplusplus
}
#endif

#endif
