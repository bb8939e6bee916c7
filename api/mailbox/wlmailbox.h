/*
 * wlmailbox.h - the mailbox steps shared by the scan family and the mailbox
 * clients: reading records of a type, emptying the mailbox, sending
 * management protocol frames.
 */
#ifndef WLMAILBOX_H
#define WLMAILBOX_H

#include "wlinternal.h"

#define MB_READ_WAIT_MS 2000 /* a waiting read gives up after this */
#define MB_RECORD_BYTES 2308 /* a record of len 1153 */

/* Reads the next record into rx (size bytes) until one of `type` comes
 * (wait) or once (no wait); see the trace of each step. */
int WLReadMailbox(WL_LTV *rx, int size, unsigned short type, bool wait);
/* As WLReadMailbox; *rx_len is the buffer's size in, the value's bytes out. */
int WLReceiveXData(WL_LTV *rx, int *rx_len, unsigned short type, bool wait);
int WLReceiveWMPData(WL_LTV *buf, int *len);
int WLReceiveScanData(WL_LTV *buf, int *len);
int WLEmptyMailbox(void);

/* Sends a management frame of len bytes after completing its header;
 * SendWMPData also picks the destination of a frame without one. */
int SendWMPData(unsigned char *buf, int len);
int WLSendWMPData(unsigned char *buf, int len);

#endif /* WLMAILBOX_H */
