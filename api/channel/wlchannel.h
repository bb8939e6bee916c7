/*
 * wlchannel.h - the driver channel (one device handle and one interface
 * block per process), the caller-visible connection and record access.
 */
#ifndef WLCHANNEL_H
#define WLCHANNEL_H

#include "wlapi.h"

/* Largest record len the block carries (the name stands in reason texts). */
#define WL_IFB_MAX_LEN WLDRV_LTV_MAX_LEN

int ChannelConnect(void);
int ChannelDisconnect(void);
int ChannelGetInfo(WL_LTV *Ltv);
int ChannelPutInfo(WL_LTV *Ltv);
int ChannelAction(unsigned short Code);
int ChannelSendDiagMsg(const void *Msg, unsigned short Len);
/* Whether the open channel reaches the current NIC's device. */
bool ChannelServesCurrentNic(void);
/* Sets the open channel aside while a temporary one serves another adapter,
 * and brings it back (closing the temporary one). */
void ChannelPark(void);
void ChannelUnpark(void);
/* Disconnects and closes an open channel when the library is unloaded. */
void ChannelDetach(void);
/* Driver exchanges made by this process (for the benchmark). */
unsigned long ChannelExchangeCount(void);

int GenericRead(WL_LTV *Ltv);
int WLFirmwareSet(WL_LTV *Ltv);
bool RecordNeedsApply(unsigned short Type);

/*
 * Temporary connection: opens the channel around a function's work when the
 * caller has not connected, or when the caller's connection serves another
 * adapter than the current NIC (that connection and its deferred-apply
 * state are set aside meanwhile). TempConnect answers whether it opened one
 * (so TempDisconnect must close it) or fails with the caller's own code.
 */
struct TempConnection {
    bool opened;
    bool foreign; /* the caller's connection serves another adapter */
};
int TempConnect(TempConnection *t);
void TempDisconnect(TempConnection *t);

#endif /* WLCHANNEL_H */
