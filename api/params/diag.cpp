/*
 * Diagnostics and test commands: the adapter's command records (radio chip
 * registers, PHY tests, dongle tests, host interface registers), the
 * receive mode with blocking, and the firmware memory dump.
 */
#include <stdio.h>

#include "mailbox/wlmailbox.h"
#include "wlcore/diag_dump.h"
#include "wlcore/mbconv.h"
#include "wlinternal.h"

#define NIC_CMD_TYPE 0x0860
#define DONGLE_CMD_TYPE 0x0861
#define HIF_CMD_TYPE 0x0863
#define MEMORY_TYPE 0x0906

#define NIC_CMD_LEN 12
#define DONGLE_CMD_LEN 3
#define HIF_CMD_LEN 4

#define OP_MIF_READ 0x30
#define OP_MIF_WRITE 0x31
#define OP_PHY_TEST 0x38

#define HIF_REGISTER 0
#define HIF_RECEIVE_MODE 1

/* Answer words of the NIC configuration command. */
#define RESP0 5
#define RESP1 6
#define RESP2 7

WL_LTV_DECLARE(NicCmdLtv, NIC_CMD_LEN - 1);
WL_LTV_DECLARE(DongleCmdLtv, DONGLE_CMD_LEN - 1);
WL_LTV_DECLARE(HifCmdLtv, HIF_CMD_LEN - 1);

/* The last receive size given; bounds WLReceiveGet. */
static DWORD RSize;


/* ---- Command records ---- */

int WLAPI WLCfgCmdNic(WL_LTV *Cmd)
{
    WL_FRAME("WLCfgCmdNic");
    WL_CHECK(Cmd == NULL, WL_INVALID_PARAMETER);
    Cmd->len = NIC_CMD_LEN;
    Cmd->typ = NIC_CMD_TYPE;
    WL_RETURN(WLGenericSet(Cmd));
}

int WLAPI WLCfgCmdDongle(WL_LTV *Cmd)
{
    WL_FRAME("WLCfgCmdDongle");
    WL_CHECK(Cmd == NULL, WL_INVALID_PARAMETER);
    Cmd->len = DONGLE_CMD_LEN;
    Cmd->typ = DONGLE_CMD_TYPE;
    WL_RETURN(WLGenericSet(Cmd));
}

int WLAPI WLCfgCmdHcfGet(WL_LTV *Cmd)
{
    WL_FRAME("WLCfgCmdHcfGet");
    WL_CHECK(Cmd == NULL, WL_INVALID_PARAMETER);
    Cmd->len = HIF_CMD_LEN;
    Cmd->typ = HIF_CMD_TYPE;
    WL_RETURN(WLGenericGet(Cmd));
}

int WLAPI WLCfgCmdHcfSet(WL_LTV *Cmd)
{
    WL_FRAME("WLCfgCmdHcfSet");
    WL_CHECK(Cmd == NULL, WL_INVALID_PARAMETER);
    Cmd->len = HIF_CMD_LEN;
    Cmd->typ = HIF_CMD_TYPE;
    WL_RETURN(WLGenericSet(Cmd));
}

/* A NIC configuration command with every word the caller does not set
 * cleared. */
static NicCmdLtv NicCommand(int Word0, int Word1, int Word2, int Word3)
{
    NicCmdLtv cmd;
    memset(&cmd, 0, sizeof cmd);
    cmd.val[0] = i2us(Word0);
    cmd.val[1] = i2us(Word1);
    cmd.val[2] = i2us(Word2);
    cmd.val[3] = i2us(Word3);
    return cmd;
}

/* ---- Radio chip registers ---- */

static int WLReadMIFX(int addr, int *resp0, int *resp1, int endian, int device)
{
    WL_FRAME("WLReadMIFX");
    if (!INTERVAL (0x0000, <=, addr, <=, 0xFFFF))
        ConditionalLog(WL_FN, "!INTERVAL (0x0000, <=, addr, <=, 0xFFFF)");
    WL_CHECK(!INTERVAL (0, <=, endian, <=, 1), WL_INVALID_PARAMETER);
    WL_CHECK(!INTERVAL (0, <=, device, <=, 7), WL_INVALID_PARAMETER);
    NicCmdLtv cmd = NicCommand(OP_MIF_READ + ((device + 8 * endian) << 8), addr, 0, 0);
    int rc = WLCfgCmdNic((WL_LTV *)&cmd);
    *resp0 = cmd.val[RESP0];
    *resp1 = cmd.val[RESP1];
    WL_RETURN(rc);
}

static int WLWriteMIFX(int addr, int val1, int val2, int endian, int device)
{
    WL_FRAME("WLWriteMIFX");
    if (!INTERVAL (0x0000, <=, addr, <=, 0xFFFF))
        ConditionalLog(WL_FN, "!INTERVAL (0x0000, <=, addr, <=, 0xFFFF)");
    WL_CHECK(!INTERVAL (0, <=, endian, <=, 1), WL_INVALID_PARAMETER);
    WL_CHECK(!INTERVAL (0, <=, device, <=, 7), WL_INVALID_PARAMETER);
    NicCmdLtv cmd = NicCommand(OP_MIF_WRITE + ((device + 8 * endian) << 8), addr, val1, val2);
    WL_RETURN(WLCfgCmdNic((WL_LTV *)&cmd));
}

int WLAPI WLReadMIF(int addr, int *resp0, int *resp1, int endian, int device)
{
    WL_FRAME("WLReadMIF");
    WL_CHECK(resp0 == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(resp1 == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(WLReadMIFX(addr, resp0, resp1, endian, device));
}

int WLAPI WLWriteMIF(int addr, int val1, int val2, int endian, int device)
{
    WL_FRAME("WLWriteMIF");
    WL_RETURN(WLWriteMIFX(addr, val1, val2, endian, device));
}

#define CCK_CORE_ADDR 0x0818
#define CCK_CORE_ENDIAN 1
#define CCK_CORE_DEVICE 1

int WLAPI WLCCKCoreGet(int *Val)
{
    WL_FRAME("WLCCKCoreGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    int resp0 = 0, resp1 = 0;
    int rc = WLReadMIFX(CCK_CORE_ADDR, &resp0, &resp1, CCK_CORE_ENDIAN, CCK_CORE_DEVICE);
    *Val = resp0;
    WL_RETURN(rc);
}

int WLAPI WLCCKCoreSet(int Val)
{
    WL_FRAME("WLCCKCoreSet");
    WL_RETURN(WLWriteMIFX(CCK_CORE_ADDR, Val ? 0x3FF0 : 0x0020, 0x01FC, CCK_CORE_ENDIAN, CCK_CORE_DEVICE));
}

/* ---- PHY tests ---- */

static int WLPellixTestX(int mode, int par1, int par2, int *resp0, int *resp2)
{
    WL_FRAME("WLPellixTestX");
    WL_CHECK(resp0 == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(resp2 == NULL, WL_INVALID_PARAMETER);
    NicCmdLtv cmd = NicCommand(mode + OP_PHY_TEST, par1, par2, 0);
    int rc = WLCfgCmdNic((WL_LTV *)&cmd);
    *resp0 = cmd.val[RESP0];
    *resp2 = cmd.val[RESP2];
    WL_RETURN(rc);
}

int WLAPI WLPellixTest(int mode)
{
    WL_FRAME("WLPellixTest");
    WL_CHECK(mode == 0x0400, WL_FUNCTION_NOT_SUPPORTED);
    WL_CHECK(mode == 0x0500, WL_FUNCTION_NOT_SUPPORTED);
    WL_CHECK(mode == 0x0600, WL_FUNCTION_NOT_SUPPORTED);
    WL_CHECK(mode == 0x0700, WL_FUNCTION_NOT_SUPPORTED);
    WL_CHECK(mode == 0x0800, WL_INVALID_PARAMETER);
    WL_CHECK(mode == 0x0C00, WL_INVALID_PARAMETER);
    WL_CHECK(mode == 0x0F00, WL_INVALID_PARAMETER);
    int resp0, resp2;
    WL_RETURN(WLPellixTestX(mode, 0, 0, &resp0, &resp2));
}

int WLAPI WLPellixTestResetPHY(void) { return WLPellixTest(0x0000); }
int WLAPI WLPellixTestInitPHY(void) { return WLPellixTest(0x0100); }
int WLAPI WLPellixTestSleepPHY(void) { return WLPellixTest(0x0200); }
int WLAPI WLPellixTestWakeupPHY(void) { return WLPellixTest(0x0300); }
int WLAPI WLPellixTestSuppressDelay(void) { return WLPellixTest(0x0900); }
int WLAPI WLPellixTestSuppressTX(void) { return WLPellixTest(0x0A00); }
int WLAPI WLPellixTestStartMonitor(void) { return WLPellixTest(0x0B00); }
int WLAPI WLPellixTestStartReset(void) { return WLPellixTest(0x0D00); }
int WLAPI WLPellixTestStart(void) { return WLPellixTest(0x0E00); }

int WLAPI WLPellixTestChangeChannel(int channel)
{
    WL_FRAME("WLPellixTestChangeChannel");
    int resp0, resp2;
    WL_RETURN(WLPellixTestX(0x0800, channel, 0, &resp0, &resp2));
}

int WLAPI WLPellixTestStartLEDTest(int val1, int val2)
{
    WL_FRAME("WLPellixTestStartLEDTest");
    int resp0, resp2;
    WL_RETURN(WLPellixTestX(0x0C00, val1, val2, &resp0, &resp2));
}

int WLAPI WLPellixTestStop(int *hwid)
{
    WL_FRAME("WLPellixTestStop");
    WL_CHECK(hwid == NULL, WL_INVALID_PARAMETER);
    int resp0;
    WL_RETURN(WLPellixTestX(0x0F00, 0, 0, &resp0, hwid));
}

/* ---- Dongle tests ---- */

static int DongleCommand(int Word0, int Word1)
{
    DongleCmdLtv cmd;
    memset(&cmd, 0, sizeof cmd);
    cmd.val[0] = i2us(Word0);
    cmd.val[1] = i2us(Word1);
    return WLCfgCmdDongle((WL_LTV *)&cmd);
}

int WLAPI WLDongleTestStartLEDTest(int val)
{
    WL_FRAME("WLDongleTestStartLEDTest");
    WL_RETURN(DongleCommand(0x0C38, val));
}

int WLAPI WLDongleTestStop(void)
{
    WL_FRAME("WLDongleTestStop");
    WL_RETURN(DongleCommand(0x0F38, 0));
}

/* ---- Host interface ---- */

static HifCmdLtv HifCommand(int Word0, int Word1, int Word2)
{
    HifCmdLtv cmd;
    memset(&cmd, 0, sizeof cmd);
    cmd.val[0] = i2us(Word0);
    cmd.val[1] = i2us(Word1);
    cmd.val[2] = i2us(Word2);
    return cmd;
}

int WLAPI WLHIFAccessGet(int register_address, int *value)
{
    WL_FRAME("WLHIFAccessGet");
    WL_CHECK(!INTERVAL (0, <=, register_address, <=, 0x3E), WL_INVALID_PARAMETER);
    WL_CHECK(value == NULL, WL_INVALID_PARAMETER);
    HifCmdLtv cmd = HifCommand(HIF_REGISTER, register_address, 0);
    int rc = WLCfgCmdHcfGet((WL_LTV *)&cmd);
    *value = cmd.val[2];
    WL_RETURN(rc);
}

int WLAPI WLHIFAccessSet(int register_address, int value)
{
    WL_FRAME("WLHIFAccessSet");
    WL_CHECK(!INTERVAL (0, <=, register_address, <=, 0x3F), WL_INVALID_PARAMETER);
    WL_CHECK(!INTERVAL (0, <=, value, <=, 0xFFFF), WL_INVALID_PARAMETER);
    HifCmdLtv cmd = HifCommand(HIF_REGISTER, register_address, value);
    WL_RETURN(WLCfgCmdHcfSet((WL_LTV *)&cmd));
}

/* ---- Receive mode ---- */

static int WLReceiveModeSetX(int Val, DWORD Size)
{
    WL_FRAME("WLReceiveModeSetX");
    HifCmdLtv cmd = HifCommand(HIF_RECEIVE_MODE, Val, 0);
    cmd.val[2] = ui2us(Size);
    WL_RETURN(WLCfgCmdHcfSet((WL_LTV *)&cmd));
}

int WLAPI WLReceiveModeSet(int Val, DWORD Size)
{
    WL_FRAME("WLReceiveModeSet");
    WL_CHECK(!INTERVAL (0, <=, Val, <=, 3), WL_INVALID_PARAMETER);
    int rc;
    if (Val != 0) {
        WL_CHECK(WLBlock () != WL_SUCCESS, WL_GENERAL_ERROR);
        rc = WLReceiveModeSetX(Val, Size);
    } else {
        WL_CHECK(WLReceiveModeSetX (Val, Size) != WL_SUCCESS, WL_GENERAL_ERROR);
        rc = WLUnblock();
    }
    RSize = Size;
    WL_RETURN(rc);
}

/* ---- Raw frames while blocked ---- */

/* A frame carries at least its header up to the SNAP header, which the
 * send completes in place, and at most what one diagnostic message holds. */
#define FRAME_MIN 22
#define FRAME_MAX 8192
/* The mailbox read writes the record's len and typ words before anything
 * else. */
#define RECEIVE_MIN 4

int WLAPI WLSendSet(unsigned char *Val, DWORD Size)
{
    WL_FRAME("WLSendSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(!INTERVAL (22, <=, Size, <=, 8192), WL_INVALID_PARAMETER);
    /* the mailbox steps use the open channel: open one for the call */
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) WL_FAIL("WLConnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    int rc = WLSendWMPData(Val, (int)Size);
    TempDisconnect(&t);
    WL_RETURN(rc);
}

int WLAPI WLReceiveGet(WL_LTV *Val, DWORD *Len)
{
    WL_FRAME("WLReceiveGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Len == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Len > RSize, WL_INVALID_PARAMETER);
    WL_CHECK(*Len < RECEIVE_MIN, WL_INPUT_BUFFER_INSUFFICIENT);
    /* An odd size would let the record's last word pass the buffer's end. */
    int len = (int)(*Len & ~1u);
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) WL_FAIL("WLConnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    int rc = WLReceiveXData(Val, &len, MB_WMP, false);
    TempDisconnect(&t);
    *Len = (DWORD)len;
    WL_RETURN(rc);
}

/* ---- Firmware memory dump ---- */

#define MEMORY_REQ_WORDS 4
WL_LTV_DECLARE(MemoryLtv, MEMORY_REQ_WORDS + FW_BLOCKS_PER_READ * FW_BLOCK_BYTES / 2);

/*
 * Reads Count blocks from block Start into Buffer. Each memory record names
 * its piece's destination; a driver that cannot write there (one in
 * another process) answers the bytes in the record instead, so a record
 * asks for at most as many blocks as its answer can carry.
 */
static int MemoryRead(unsigned char *Buffer, unsigned Start, unsigned Count)
{
    static MemoryLtv rec;
    unsigned done = 0;
    do {
        unsigned n = Count - done < FW_BLOCKS_PER_READ ? Count - done : FW_BLOCKS_PER_READ;
        unsigned char *dst = Buffer + (size_t)done * FW_BLOCK_BYTES;
        UINT_PTR addr = (UINT_PTR)dst;
        memset(&rec, 0, sizeof rec);
        rec.len = (uint16_t)(1 + MEMORY_REQ_WORDS + n * (FW_BLOCK_BYTES / 2));
        rec.typ = MEMORY_TYPE;
        rec.val[0] = (uint16_t)n;
        rec.val[1] = (uint16_t)(Start + done);
        rec.val[2] = (uint16_t)(addr & 0xFFFF);
        rec.val[3] = (uint16_t)(addr >> 16);
        int rc = WLGenericGet((WL_LTV *)&rec);
        if (rc != WL_SUCCESS) return rc;
        size_t answered = rec.len > 1 + MEMORY_REQ_WORDS ? rec.len - 1 - MEMORY_REQ_WORDS : 0;
        if (!FirmwareAnswerTake(dst, (size_t)n * FW_BLOCK_BYTES, &rec.val[MEMORY_REQ_WORDS], answered))
            return WL_DATA_NOT_AVAILABLE;
        done += n;
    } while (done < Count);
    return WL_SUCCESS;
}

int WLAPI WLDumpFirmware(unsigned char *Buffer, DWORD *Size, int Start, int Count)
{
    WL_FRAME("WLDumpFirmware");
    WL_CHECK(Buffer == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    /* Block numbers are record words; a count beyond them would also wrap
     * the byte count below. */
    WL_CHECK(!INTERVAL (0, <=, Start, <=, 0xFFFF), WL_INVALID_PARAMETER);
    WL_CHECK(!INTERVAL (0, <=, Count, <=, 0x10000 - Start), WL_INVALID_PARAMETER);
    DWORD *sz = Size;
    DWORD _sz = (DWORD)Count * FW_BLOCK_BYTES;
    WL_CHECK((*sz < _sz), WL_INPUT_BUFFER_INSUFFICIENT);
    *sz = _sz;
    WL_RETURN(MemoryRead(Buffer, (unsigned)Start, (unsigned)Count));
}

#define LOG_FW_BUFFER 262144u
#define LOG_FW_FIRST_BLOCK_1 0u
#define LOG_FW_BLOCKS_1 640u
#define LOG_FW_FIRST_BLOCK_2 16000u
#define LOG_FW_BLOCKS_2 384u

/* Writes one window's text to the dump file: a fresh file for the first,
 * appended for the second. */
static void DumpFileWrite(const std::string &text, bool append)
{
    HANDLE h = CreateFileA("\\fwdumph2.txt", GENERIC_WRITE, FILE_SHARE_READ, NULL,
                           append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        WLLog("CreateFile returned GetLastError %d\n", (int)GetLastError());
        return;
    }
    if (append) SetFilePointer(h, 0, NULL, FILE_END);
    DWORD written;
    WriteFile(h, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(h);
}

int WLAPI WLLogFirmware(unsigned char *Val, DWORD *Size)
{
    WL_FRAME("WLLogFirmware");
    static unsigned char buffer[LOG_FW_BUFFER];
    memset(buffer, 0, sizeof buffer);
    unsigned char *second = buffer + LOG_FW_BLOCKS_1 * FW_BLOCK_BYTES;
    std::string text;
    if (MemoryRead(buffer, LOG_FW_FIRST_BLOCK_1, LOG_FW_BLOCKS_1) == WL_SUCCESS) {
        FirmwareDumpAppend(&text, buffer, LOG_FW_BLOCKS_1 * FW_BLOCK_BYTES, LOG_FW_FIRST_BLOCK_1 * FW_BLOCK_BYTES);
        DumpFileWrite(text, false);
    }
    if (MemoryRead(second, LOG_FW_FIRST_BLOCK_2, LOG_FW_BLOCKS_2) == WL_SUCCESS) {
        text.clear();
        FirmwareDumpAppend(&text, second, LOG_FW_BLOCKS_2 * FW_BLOCK_BYTES, LOG_FW_FIRST_BLOCK_2 * FW_BLOCK_BYTES);
        DumpFileWrite(text, true);
    }
    if (Val != NULL && Size != NULL) {
        DWORD n = *Size < LOG_FW_BUFFER ? *Size : LOG_FW_BUFFER;
        memcpy(Val, buffer, n);
        *Size = n;
    }
    WL_RETURN(WL_SUCCESS);
}
