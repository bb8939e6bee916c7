/*
 * radio.h - internal operations of the radio, rate and band exports: byte
 * records, the two-band rate records and their band gating, the channel and
 * band check.
 */
#ifndef API_PARAMS_RADIO_H
#define API_PARAMS_RADIO_H

#include "wlvariant.h"
#include "trace/wltrace.h"

/*
 * Opens the frame of an export that only the dual-band firmware (variants E
 * and F) supports. In variants C and D the export answers
 * WL_FUNCTION_NOT_SUPPORTED with nothing but its exit line: no entry line,
 * no check, no adapter or registry access.
 */
#define WL_FRAME_DUAL_BAND(name)      \
    static const char WL_FN[] = name; \
    WL_NOT_IN_CD(WL_FN);              \
    TraceEnter(WL_FN)

/* Record types. */
#define RADIO_OWN_CHANNEL 0xFC03
#define RADIO_SCAN_CHANNELS 0xFCC2
#define RADIO_ASSOC_REQUEST 0xFD8C
#define RADIO_SUPPORTED_DATA_RATES 0xFDC6
#define RADIO_TX_RATE_CONTROL 0xFC84

/* A record of Bytes value bytes (len = Bytes / 2 + 1): the read copies the
 * answer's bytes into Buf (bytes the adapter did not send read as zero), the
 * write sends Buf's bytes with read-before-write. */
int RecordBytesRead(unsigned short Type, void *Buf, unsigned Bytes);
int RecordBytesWrite(unsigned short Type, const void *Buf, unsigned Bytes);

/* Bands a two-band operation may use under the adapter's domain code. */
struct BandsAllowed {
    bool band2GHz; /* domain code readable and 0 to 9 */
    bool band5GHz; /* domain code readable and 0 to 6 */
};
BandsAllowed RadioBandsAllowed(void);

/* The two-band rate record Type (value word 0: 2.4 GHz rate bits, value
 * word 1: 5 GHz rate bits). Either buffer may be NULL, not both. */
int WLAnyDataRateGet(unsigned short Type, DataRate2GHzBuffer *Rate2GHz, DataRate5GHzBuffer *Rate5GHz);
int WLAnyDataRateSet(unsigned short Type, const DataRate2GHzBuffer *Rate2GHz,
                     const DataRate5GHzBuffer *Rate5GHz);
/* As WLAnyDataRateSet; after the checks, and before the adapter is written,
 * the used bands' words are stored under the per-adapter values Reg2GHz and
 * Reg5GHz (failures of these writes are not reported). */
int AnyDataRateSetPersisted(unsigned short Type, const DataRate2GHzBuffer *Rate2GHz,
                            const DataRate5GHzBuffer *Rate5GHz, const char *Reg2GHz,
                            const char *Reg5GHz);
/* The one-band rate record Type into the 2.4 GHz buffer. */
int WLCurrentOldRatesGet(unsigned short Type, DataRate2GHzBuffer *Rate2GHz);

/* Number of rate bits set: bits 0 to 11 (2.4 GHz), bits 4 to 11 (5 GHz). */
int NBitDataRate2GHz(const DataRate2GHzBuffer *Rate2GHz, int *N);
int NBitDataRate5GHz(const DataRate5GHzBuffer *Rate5GHz, int *N);

/* WL_SUCCESS when the buffer's channel is valid for its band. */
int ValidChannelFrequencyBand(const ChannelFrequencyBandBuffer *Val);

#endif /* API_PARAMS_RADIO_H */
