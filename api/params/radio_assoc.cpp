/*
 * What the adapter reports about its current association: the
 * (re)association request it sent (record 0xFD8C) and the security state
 * derived from it.
 */
#include <stdio.h>
#include <stdlib.h>

#include "wlcore/ie_parse.h"
#include "channel/wlchannel.h"
#include "params/radio.h"

/* The element walk reports to standard output, unknown rates to the log. */
static void StdoutSink(void *, const char *text) { fputs(text, stdout); }
static void LogSink(void *, const char *text) { WLLog("%s", text); }

/* Value words of record 0xFD8C the library reads. */
#define ASSOC_REQ_WORDS (ASSOC_REQ_VALUE_MAX / 2)

/* Logs a record as it came back, word by word. */
static void AnsweredRecordLog(const WL_LTV *Ltv)
{
    const unsigned short *words = (const unsigned short *)Ltv;
    WLLog("ltv->len 0x%04X (%d)\n", Ltv->len, Ltv->len);
    WLLog("ltv->typ 0x%04X\n", Ltv->typ);
    for (int i = 0; i + 1 < Ltv->len; i++) WLLog("ltv->val [%d] 0x%04X\n", i, words[2 + i]);
}

int WLAPI WLCurrentAssociationRequestInfoGet(CurrentAssociationRequestInfoBuffer *Val)
{
    WL_FRAME_DUAL_BAND("WLCurrentAssociationRequestInfoGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, CurrentAssociationRequestInfoBuffer);

    WL_LTV *ltv = (WL_LTV *)calloc(1, WL_LTV_BYTES(ASSOC_REQ_WORDS));
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    ltv->len = WL_LTV_LEN(ASSOC_REQ_WORDS);
    ltv->typ = RADIO_ASSOC_REQUEST;
    int rc = GenericRead(ltv);
    if (rc != WL_SUCCESS) {
        free(ltv);
        WL_RETURN(rc);
    }
    /* The channel never answers beyond the room asked for; the bytes taken
     * are those the answer carries. */
    unsigned words = ltv->len > ASSOC_REQ_WORDS + 1 ? ASSOC_REQ_WORDS : ltv->len - 1u;
    AnsweredRecordLog(ltv);
    AssocRequestInfo info;
    bool parsed = AssocRequestParse((const uint8_t *)ltv->val, 2u * words, &info, StdoutSink, NULL,
                                    LogSink, NULL);
    free(ltv);
    WL_CHECK(!parsed, WL_DATA_NOT_AVAILABLE);

    Val->data.Capability = info.capability;
    Val->data.ListenInterval = info.listen_interval;
    memcpy(Val->data.CurrentAP, info.current_ap, sizeof Val->data.CurrentAP);
    memset(Val->data.SSID, 0, sizeof Val->data.SSID);
    Val->data.SSIDEnd = 0;
    memcpy(Val->data.SSID, info.ssid, info.ssid_len);
    Val->data.DataRate = info.rates;
    /* The security words are only added to; the caller clears them. */
    Val->data.GroupCipher = (uint16_t)(Val->data.GroupCipher | info.group_cipher);
    Val->data.PairwiseCipher = (uint16_t)(Val->data.PairwiseCipher | info.pairwise_cipher);
    Val->data.KeyManagement = (uint16_t)(Val->data.KeyManagement | info.key_management);
    MACAddressLog(Val->data.CurrentAP);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLSecurityAuthenticationStatusGet(SecurityAuthenticationStatusBuffer *Val)
{
    WL_FRAME_DUAL_BAND("WLSecurityAuthenticationStatusGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, SecurityAuthenticationStatusBuffer);
    Val->data.GroupCipher = 0;
    Val->data.PairwiseCipher = 0;
    Val->data.KeyManagement = 0;

    int enc = 0;
    int retval = WLEncryptionEnabledGet(&enc);
    WL_CHECK(retval != WL_SUCCESS, retval);
    if (enc == 0) {
        /* No encryption: the group key alone, no key management. */
        Val->data.GroupCipher = 1;
        Val->data.PairwiseCipher = 1;
        Val->data.KeyManagement = 1;
    } else if (enc == 1) {
        /* Static WEP keys. */
        Val->data.GroupCipher = 0x20;
        Val->data.PairwiseCipher = 0x20;
        Val->data.KeyManagement = 1;
    } else {
        CurrentAssociationRequestInfoBuffer info;
        memset(&info, 0, sizeof info);
        info.TS.Type = CurrentAssociationRequestInfoBufferType;
        info.TS.Size = sizeof info;
        retval = WLCurrentAssociationRequestInfoGet(&info);
        if (retval == WL_SUCCESS) {
            Val->data.GroupCipher = info.data.GroupCipher;
            Val->data.PairwiseCipher = info.data.PairwiseCipher;
            Val->data.KeyManagement = info.data.KeyManagement;
        }
    }
    WL_RETURN(retval);
}
