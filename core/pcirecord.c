/* The PCI information record: request and the words read from an answer. */
#include <string.h>

#include "wlcore/pcirecord.h"

void PciRecordRequest(PciInfoLtv *Ltv)
{
    memset(Ltv, 0, sizeof *Ltv);
    Ltv->len = PCI_INFO_LEN;
    Ltv->typ = PCI_INFO_TYPE;
    Ltv->val[0] = PCI_INFO_SELECT;
}

/* Value word i when the record's len covers it, else 0. */
static int Word(const PciInfoLtv *Ltv, unsigned i)
{
    unsigned len = Ltv->len < PCI_INFO_LEN ? Ltv->len : PCI_INFO_LEN;
    return i + 1 < len ? Ltv->val[i] : 0;
}

void PciRecordIdentity(const PciInfoLtv *Ltv, IdentityBuffer *Val)
{
    Val->C = Word(Ltv, PCI_INFO_IDENTITY_WORD);
    Val->V = Word(Ltv, PCI_INFO_IDENTITY_WORD + 1);
    Val->M = Word(Ltv, PCI_INFO_IDENTITY_WORD + 2);
    Val->m = Word(Ltv, PCI_INFO_IDENTITY_WORD + 3);
}

int PciRecordStatus(const PciInfoLtv *Ltv)
{
    return Word(Ltv, PCI_INFO_STATUS_WORD);
}
