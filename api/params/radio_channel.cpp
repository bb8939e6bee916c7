/*
 * The operating channel with its frequency band, and the scan channel sets
 * of both bands.
 */
#include "nic/wlnic.h"
#include "params/radio.h"
#include "params/wlparams.h"

/* The valid 5 GHz channel numbers. */
static const unsigned char ABandChannels[] = {
    34,  38,  42,  46,  36,  40,  44,  48,  52,  56,  60,  64,  100, 104,
    108, 112, 116, 120, 124, 128, 132, 136, 140, 149, 153, 157, 161, 165,
};

/* Bit 0 of the band byte (bit 8 of the word) selects 5 GHz. */
static bool Is5GHz(const ChannelFrequencyBandBuffer *Val) { return (Val->data.Band & 1) != 0; }

int ValidChannelFrequencyBand(const ChannelFrequencyBandBuffer *Val)
{
    WL_FRAME("ValidChannelFrequencyBand");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    /* Channel 0 stands for the band's default channel. */
    if (Val->data.Channel == 0) {
        ConditionalLog(WL_FN, "Val->data.Channel == 0");
        WL_RETURN(WL_SUCCESS);
    }
    if (Is5GHz(Val)) {
        for (size_t i = 0; i < sizeof ABandChannels; i++) {
            if (Val->data.Channel == ABandChannels [i]) {
                ConditionalLog(WL_FN, "(Val->data.Channel == ABandChannels [i])");
                WL_RETURN(WL_SUCCESS);
            }
        }
        WL_RETURN(WL_INVALID_PARAMETER);
    }
    WL_CHECK(!INTERVAL (1, <=, Val->data.Channel, <=, 14), WL_INVALID_PARAMETER);
    WL_RETURN(WL_SUCCESS);
}

/* The channel-and-band word: channel in the low byte, band in the high. */
static unsigned short ChannelWord(unsigned char Channel, unsigned char Band)
{
    return (unsigned short)(Channel | (Band << 8));
}

int WLAPI WLChannelFrequencyBandSet(const ChannelFrequencyBandBuffer *Val)
{
    WL_FRAME_DUAL_BAND("WLChannelFrequencyBandSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, ChannelFrequencyBandBuffer);
    WL_CHECK(ValidChannelFrequencyBand (Val) != WL_SUCCESS, WL_INVALID_PARAMETER);

    unsigned char channel = Val->data.Channel;
    if (channel == 0) {
        /* The first channel of the band in the adapter's regulatory domain. */
        RegulatoryDomainBuffer rd;
        memset(&rd, 0, sizeof rd);
        rd.TS.Type = RegulatoryDomainBufferType;
        rd.TS.Size = sizeof rd;
        int retval = WLCountryRegulatoryDomainGet(&rd);
        WL_CHECK(retval != WL_SUCCESS, retval);
        if (Is5GHz(Val)) {
            WL_CHECK(rd.NumChannels5GHz <= 0, WL_DATA_NOT_AVAILABLE);
            channel = (unsigned char)rd.Channels5GHz[0];
        } else {
            WL_CHECK(rd.NumChannels2GHz <= 0, WL_DATA_NOT_AVAILABLE);
            channel = (unsigned char)rd.Channels2GHz[0];
        }
    }
    unsigned short word = ChannelWord(channel, Val->data.Band);
    if (WLNICAnyIntSet("OwnChannel", word) != WL_SUCCESS)
        WL_FAIL("_WLChannelSet (channel) != WL_SUCCESS", WL_GENERAL_ERROR);
    WL_RETURN(ScalarWrite(RADIO_OWN_CHANNEL, word));
}

/* Stores the low 16 bits of a channel-and-band word into the buffer. */
static void ChannelWordStore(ChannelFrequencyBandBuffer *Val, int Word)
{
    Val->data.Channel = (unsigned char)(Word & 0xFF);
    Val->data.Band = (unsigned char)((Word >> 8) & 0xFF);
}

int WLAPI WLChannelFrequencyBandGet(ChannelFrequencyBandBuffer *Val)
{
    WL_FRAME_DUAL_BAND("WLChannelFrequencyBandGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, ChannelFrequencyBandBuffer);
    int word = 0;
    int rc = ScalarRead(RADIO_OWN_CHANNEL, &word);
    /* A failed read leaves the buffer as it was. */
    if (rc == WL_SUCCESS) ChannelWordStore(Val, word);
    WL_RETURN(rc);
}

int WLAPI WLCurrentChannelFrequencyBandGet(ChannelFrequencyBandBuffer *Val)
{
    WL_FRAME("WLCurrentChannelFrequencyBandGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, ChannelFrequencyBandBuffer);
    int word = 0;
    int rc = WLCurrentChannelGet(&word);
    if (rc == WL_SUCCESS) ChannelWordStore(Val, word);
    WL_RETURN(rc);
}

/* ---- Scan channel sets ---- */

/* Record 0xFCC2: bytes 0-1 the 2.4 GHz set, 2-5 and 6-7 the 5 GHz set. */
#define SCAN_CHANNEL_BYTES 8

#define SCAN_CHANNEL_CHECKS()                               \
    WL_CHECK(Channel2GHz == NULL, WL_INVALID_PARAMETER);    \
    WL_CHECK_TS(Channel2GHz, Channel2GHzBuffer);            \
    WL_CHECK(Channel5GHz == NULL, WL_INVALID_PARAMETER);    \
    WL_CHECK_TS(Channel5GHz, Channel5GHzBuffer)

int WLAPI WLABGScanChannelGet(Channel2GHzBuffer *Channel2GHz, Channel5GHzBuffer *Channel5GHz)
{
    WL_FRAME_DUAL_BAND("WLABGScanChannelGet");
    SCAN_CHANNEL_CHECKS();
    unsigned char bytes[SCAN_CHANNEL_BYTES];
    int rc = RecordBytesRead(RADIO_SCAN_CHANNELS, bytes, sizeof bytes);
    if (rc == WL_SUCCESS) {
        memcpy(&Channel2GHz->data.Channels, bytes, 2);
        memcpy(&Channel5GHz->data.Channels, bytes + 2, 4);
        memcpy(&Channel5GHz->data.ChannelsHigh, bytes + 6, 2);
    }
    WL_RETURN(rc);
}

int WLAPI WLABGScanChannelSet(const Channel2GHzBuffer *Channel2GHz, const Channel5GHzBuffer *Channel5GHz)
{
    WL_FRAME_DUAL_BAND("WLABGScanChannelSet");
    SCAN_CHANNEL_CHECKS();
    unsigned char bytes[SCAN_CHANNEL_BYTES];
    memcpy(bytes, &Channel2GHz->data.Channels, 2);
    memcpy(bytes + 2, &Channel5GHz->data.Channels, 4);
    memcpy(bytes + 6, &Channel5GHz->data.ChannelsHigh, 2);
    WL_RETURN(RecordBytesWrite(RADIO_SCAN_CHANNELS, bytes, sizeof bytes));
}
