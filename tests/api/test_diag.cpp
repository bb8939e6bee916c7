/* Diagnostics and test commands end to end: the command records as the
 * stand-in adapter received them, its answers, the receive mode order, the
 * firmware memory dump. */
#include <functional>

#include "driver_fixture.h"
#include "sim_session.h"
#include "simworld.h"

class Diag : public testing::TestWithParam<Variant> {
protected:
    WlSimDiagState State(int sim)
    {
        WlSimDiagState st;
        memset(&st, 0, sizeof st);
        EXPECT_EQ(0, SimDiagStateGet(sim, &st)) << SimLastErrorText();
        return st;
    }
    /* The adapter's newest command (typ 0 when none came). */
    WlSimCommand Last(int sim)
    {
        WlSimDiagState st = State(sim);
        WlSimCommand c;
        memset(&c, 0, sizeof c);
        if (st.nKept > 0) c = st.kept[st.nKept - 1];
        return c;
    }
    static void Setup(int sim, uint16_t hwid, uint16_t seed, uint32_t patchOffset = 0xFFFFFFFF,
                      const std::vector<uint8_t> &patch = {})
    {
        static WlSimDiagConfig cfg;
        memset(&cfg, 0, sizeof cfg);
        cfg.adapter = sim;
        cfg.hwid = hwid;
        cfg.seed = seed;
        cfg.patchOffset = patchOffset;
        memcpy(cfg.patch, patch.data(), patch.size() < WLSIM_MEM_PATCH ? patch.size() : WLSIM_MEM_PATCH);
        ASSERT_EQ(0, SimDiagSetup(&cfg)) << SimLastErrorText();
    }
    /* The memory image byte at offset o with no window set. */
    static uint8_t Mem(uint16_t seed, uint32_t o)
    {
        uint16_t w = (uint16_t)((o >> 1) ^ seed);
        return (uint8_t)((o & 1) ? w >> 8 : w & 0xFF);
    }
};

/* ---- Command words: one row per export call ---- */

struct CommandCase {
    const char *what;
    std::function<int(WLLib &)> call;
    int code;
    const char *reason;               /* error log reason, or NULL */
    std::vector<uint16_t> words;      /* the NIC command's 11 words; empty: nothing sent */
};

static std::vector<CommandCase> CommandCases()
{
    using V = std::vector<uint16_t>;
    auto phy = [](uint16_t w0, uint16_t w1 = 0, uint16_t w2 = 0, uint16_t w3 = 0) {
        return V{w0, w1, w2, w3, 0, 0, 0, 0, 0, 0, 0};
    };
    auto test = [](int mode) { return [mode](WLLib &l) { return WL(l, WLPellixTest)(mode); }; };
    return {
        {"mode 0x0500 not supported", test(0x0500), WL_FUNCTION_NOT_SUPPORTED, "mode == 0x0500", {}},
        {"mode 0x0400 not supported", test(0x0400), WL_FUNCTION_NOT_SUPPORTED, "mode == 0x0400", {}},
        {"mode 0x0700 not supported", test(0x0700), WL_FUNCTION_NOT_SUPPORTED, "mode == 0x0700", {}},
        {"mode 0x0800 needs its export", test(0x0800), WL_INVALID_PARAMETER, "mode == 0x0800", {}},
        {"mode 0x0C00 needs its export", test(0x0C00), WL_INVALID_PARAMETER, "mode == 0x0C00", {}},
        {"mode 0x0F00 needs its export", test(0x0F00), WL_INVALID_PARAMETER, "mode == 0x0F00", {}},
        {"mode 0x0100", test(0x0100), WL_SUCCESS, NULL, phy(0x0138)},
        {"ResetPHY", [](WLLib &l) { return WL(l, WLPellixTestResetPHY)(); }, WL_SUCCESS, NULL, phy(0x0038)},
        {"InitPHY", [](WLLib &l) { return WL(l, WLPellixTestInitPHY)(); }, WL_SUCCESS, NULL, phy(0x0138)},
        {"SleepPHY", [](WLLib &l) { return WL(l, WLPellixTestSleepPHY)(); }, WL_SUCCESS, NULL, phy(0x0238)},
        {"WakeupPHY", [](WLLib &l) { return WL(l, WLPellixTestWakeupPHY)(); }, WL_SUCCESS, NULL, phy(0x0338)},
        {"SuppressDelay", [](WLLib &l) { return WL(l, WLPellixTestSuppressDelay)(); }, WL_SUCCESS, NULL, phy(0x0938)},
        {"SuppressTX", [](WLLib &l) { return WL(l, WLPellixTestSuppressTX)(); }, WL_SUCCESS, NULL, phy(0x0A38)},
        {"StartMonitor", [](WLLib &l) { return WL(l, WLPellixTestStartMonitor)(); }, WL_SUCCESS, NULL, phy(0x0B38)},
        {"StartReset", [](WLLib &l) { return WL(l, WLPellixTestStartReset)(); }, WL_SUCCESS, NULL, phy(0x0D38)},
        {"Start", [](WLLib &l) { return WL(l, WLPellixTestStart)(); }, WL_SUCCESS, NULL, phy(0x0E38)},
        {"ChangeChannel", [](WLLib &l) { return WL(l, WLPellixTestChangeChannel)(11); }, WL_SUCCESS, NULL, phy(0x0838, 11)},
        {"LED test, second value clamped",
         [](WLLib &l) { return WL(l, WLPellixTestStartLEDTest)(3, 0x12345); }, WL_SUCCESS, NULL, phy(0x0C38, 3, 0xFFFF)},
        {"Stop without hwid", [](WLLib &l) { return WL(l, WLPellixTestStop)(NULL); }, WL_INVALID_PARAMETER, "hwid == NULL", {}},
        {"ReadMIF endian 2", [](WLLib &l) { int a, b; return WL(l, WLReadMIF)(1, &a, &b, 2, 0); },
         WL_INVALID_PARAMETER, "!INTERVAL (0, <=, endian, <=, 1)", {}},
        {"ReadMIF device 8", [](WLLib &l) { int a, b; return WL(l, WLReadMIF)(1, &a, &b, 0, 8); },
         WL_INVALID_PARAMETER, "!INTERVAL (0, <=, device, <=, 7)", {}},
        {"ReadMIF without resp0", [](WLLib &l) { int b; return WL(l, WLReadMIF)(1, NULL, &b, 0, 0); },
         WL_INVALID_PARAMETER, "resp0 == NULL", {}},
        {"ReadMIF without resp1", [](WLLib &l) { int a; return WL(l, WLReadMIF)(1, &a, NULL, 0, 0); },
         WL_INVALID_PARAMETER, "resp1 == NULL", {}},
        {"ReadMIF address clamped", [](WLLib &l) { int a, b; return WL(l, WLReadMIF)(0x12345, &a, &b, 1, 7); },
         WL_SUCCESS, NULL, phy(0x0F30, 0xFFFF)},
        {"WriteMIF device -1", [](WLLib &l) { return WL(l, WLWriteMIF)(1, 2, 3, 0, -1); },
         WL_INVALID_PARAMETER, "!INTERVAL (0, <=, device, <=, 7)", {}},
        {"WriteMIF", [](WLLib &l) { return WL(l, WLWriteMIF)(0x0100, 0xAAAA, 0x5555, 1, 3); },
         WL_SUCCESS, NULL, phy(0x0B31, 0x0100, 0xAAAA, 0x5555)},
        {"CCK core on", [](WLLib &l) { return WL(l, WLCCKCoreSet)(7); }, WL_SUCCESS, NULL, phy(0x0931, 0x0818, 0x3FF0, 0x01FC)},
        {"CCK core off", [](WLLib &l) { return WL(l, WLCCKCoreSet)(0); }, WL_SUCCESS, NULL, phy(0x0931, 0x0818, 0x0020, 0x01FC)},
        {"CCK core read", [](WLLib &l) { int v; return WL(l, WLCCKCoreGet)(&v); }, WL_SUCCESS, NULL, phy(0x0930, 0x0818)},
        {"CCK core read without Val", [](WLLib &l) { return WL(l, WLCCKCoreGet)(NULL); }, WL_INVALID_PARAMETER, "Val == NULL", {}},
        {"NIC command without record", [](WLLib &l) { return WL(l, WLCfgCmdNic)(NULL); }, WL_INVALID_PARAMETER, "Cmd == NULL", {}},
        {"dongle command without record", [](WLLib &l) { return WL(l, WLCfgCmdDongle)(NULL); }, WL_INVALID_PARAMETER, "Cmd == NULL", {}},
        {"host interface get without record", [](WLLib &l) { return WL(l, WLCfgCmdHcfGet)(NULL); }, WL_INVALID_PARAMETER, "Cmd == NULL", {}},
        {"host interface set without record", [](WLLib &l) { return WL(l, WLCfgCmdHcfSet)(NULL); }, WL_INVALID_PARAMETER, "Cmd == NULL", {}},
        {"HIF get of register 0x3F", [](WLLib &l) { int v; return WL(l, WLHIFAccessGet)(0x3F, &v); },
         WL_INVALID_PARAMETER, "!INTERVAL (0, <=, register_address, <=, 0x3E)", {}},
        {"HIF get without value", [](WLLib &l) { return WL(l, WLHIFAccessGet)(1, NULL); }, WL_INVALID_PARAMETER, "value == NULL", {}},
        {"HIF set of register 0x40", [](WLLib &l) { return WL(l, WLHIFAccessSet)(0x40, 1); },
         WL_INVALID_PARAMETER, "!INTERVAL (0, <=, register_address, <=, 0x3F)", {}},
        {"HIF set of 0x10000", [](WLLib &l) { return WL(l, WLHIFAccessSet)(1, 0x10000); },
         WL_INVALID_PARAMETER, "!INTERVAL (0, <=, value, <=, 0xFFFF)", {}},
        {"receive mode 4", [](WLLib &l) { return WL(l, WLReceiveModeSet)(4, 10); }, WL_INVALID_PARAMETER, "!INTERVAL (0, <=, Val, <=, 3)", {}},
    };
}

TEST_P(Diag, EachCallSendsItsCommandOrNothing)
{
    for (const CommandCase &c : CommandCases()) {
        SCOPED_TRACE(c.what);
        SimSession s(GetParam());
        EXPECT_EQ(c.code, c.call(s.lib)) << s.lib.returnString();
        if (c.reason) {
            EXPECT_TRUE(s.Logged(c.reason)) << ReadFile("\\wlerr.txt");
        }
        WlSimDiagState st = State(s.sim);
        if (c.words.empty()) {
            EXPECT_EQ(0u, st.commands);
            EXPECT_EQ(0u, SimCountersNow().exchanges);
            continue;
        }
        ASSERT_EQ(1u, st.commands);
        EXPECT_EQ(0u, st.refused);
        WlSimCommand cmd = st.kept[0];
        EXPECT_EQ(0x0860, cmd.typ);
        EXPECT_EQ(12, cmd.len);
        EXPECT_EQ(c.words, std::vector<uint16_t>(cmd.w, cmd.w + 11));
    }
}

/* ---- Answers ---- */

TEST_P(Diag, PhyTestStopAnswersTheHardwareId)
{
    SimSession s(GetParam());
    Setup(s.sim, 0x7E11, 0);
    int hwid = -1;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLPellixTestStop)(&hwid));
    EXPECT_EQ(0x7E11, hwid);
    EXPECT_EQ(0x0F38, Last(s.sim).w[0]);
}

TEST_P(Diag, RegistersWrittenReadBack)
{
    SimSession s(GetParam());
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLWriteMIF)(0x0100, 0xAAAA, 0x5555, 1, 3));
    int r0 = -1, r1 = -1;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLReadMIF)(0x0100, &r0, &r1, 1, 3));
    EXPECT_EQ(0xAAAA, r0);
    EXPECT_EQ(0x5555, r1);
    /* another device's register is another register */
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLReadMIF)(0x0100, &r0, &r1, 1, 2));
    EXPECT_EQ(0, r0);

    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLCCKCoreSet)(1));
    int cck = -1;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLCCKCoreGet)(&cck));
    EXPECT_EQ(0x3FF0, cck);

    /* register 0x3F: written, but not readable through the export */
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLHIFAccessSet)(0x3F, 0x0707));
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLHIFAccessSet)(0x3E, 0xBEEF));
    EXPECT_EQ(0x0707, State(s.sim).hif[0x3F]);
    int v = -1;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLHIFAccessGet)(0x3E, &v));
    EXPECT_EQ(0xBEEF, v);
    WlSimCommand c = Last(s.sim);
    EXPECT_EQ(0x0863, c.typ);
    EXPECT_EQ(WLSIM_OP_GET_INFO, c.op);
}

TEST_P(Diag, AnswersAreStoredWhateverTheCommandGave)
{
    SimSession s(GetParam());
    SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_BUSY);
    int r0 = 0x11111111, r1 = 0x22222222;
    EXPECT_EQ(WL_DRIVER_BUSY, WL(s.lib, WLReadMIF)(5, &r0, &r1, 0, 0));
    /* the local record's cleared answer words */
    EXPECT_EQ(0, r0);
    EXPECT_EQ(0, r1);
}

TEST_P(Diag, CallerCommandRecordComesBackWithItsAnswers)
{
    SimSession s(GetParam());
    Setup(s.sim, 0x4242, 0);
    Record r(12, 0, {0x0F38, 1, 2, 3, 4, 0, 0, 0, 8, 9, 10}, 4);
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLCfgCmdNic)(r.ltv()));
    EXPECT_EQ(12, r.w[0]);
    EXPECT_EQ(0x0860, r.w[1]);
    EXPECT_EQ(0x4242, r.w[2 + 7]);
    EXPECT_EQ(4u, r.SentinelsFrom(13));
    WlSimCommand sent = Last(s.sim);
    EXPECT_EQ(std::vector<uint16_t>({0x0F38, 1, 2, 3, 4, 0, 0, 0, 8, 9, 10}),
              std::vector<uint16_t>(sent.w, sent.w + 11));

    Record d(3, 0, {0x0C38, 6}, 4);
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLCfgCmdDongle)(d.ltv()));
    EXPECT_EQ(3, d.w[0]);
    EXPECT_EQ(0x0861, d.w[1]);
    EXPECT_EQ(6, State(s.sim).dongleLed);
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLDongleTestStop)());
    WlSimCommand c = Last(s.sim);
    EXPECT_EQ(0x0861, c.typ);
    EXPECT_EQ(0x0F38, c.w[0]);
    EXPECT_EQ(0, c.w[1]);
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLDongleTestStartLEDTest)(9));
    EXPECT_EQ(9, State(s.sim).dongleLed);
}

TEST_P(Diag, RefusedCommandIsAnError)
{
    SimSession s(GetParam());
    Record r(12, 0, {0x0077, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0);
    EXPECT_EQ(WL_GENERAL_ERROR, WL(s.lib, WLCfgCmdNic)(r.ltv()));
    EXPECT_EQ(1u, State(s.sim).refused);
}

/* ---- Receive mode ---- */

/* The adapter exchanges after the last clear, as (op, typ) pairs without
 * connects and disconnects or reads. */
static std::vector<std::pair<int, int>> Writes()
{
    WlSimExchangeLog log;
    EXPECT_EQ(0, SimLastExchanges(&log));
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < log.n; i++)
        if (log.e[i].op == WLSIM_OP_ACTION || log.e[i].op == WLSIM_OP_PUT_INFO)
            out.push_back({log.e[i].op, log.e[i].typ});
    return out;
}

TEST_P(Diag, ReceiveModeBlocksFirstAndUnblocksLast)
{
    SimSession s(GetParam());
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLReceiveModeSet)(2, 100));
    EXPECT_EQ((P{{WLSIM_OP_ACTION, 11}, {WLSIM_OP_PUT_INFO, 0x0863}}), Writes());
    WlSimDiagState st = State(s.sim);
    EXPECT_EQ(2, st.receiveMode);
    EXPECT_EQ(100, st.receiveSize);
    WlSimAdapterState as;
    ASSERT_EQ(0, SimAdapterState(s.sim, &as));
    EXPECT_EQ(1, as.blocked);

    SimClearLog();
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLReceiveModeSet)(0, 0));
    EXPECT_EQ((P{{WLSIM_OP_PUT_INFO, 0x0863}, {WLSIM_OP_ACTION, 12}}), Writes());
    ASSERT_EQ(0, SimAdapterState(s.sim, &as));
    EXPECT_EQ(0, as.blocked);
}

TEST_P(Diag, ReceiveModeStopsWhenItsFirstStepFails)
{
    SimSession s(GetParam());
    SimFault(WLSIM_OP_ACTION, 1, WLSIM_RES_BUSY);
    EXPECT_EQ(WL_GENERAL_ERROR, WL(s.lib, WLReceiveModeSet)(1, 10));
    EXPECT_TRUE(s.Logged("WLBlock () != WL_SUCCESS"));
    EXPECT_EQ(0u, State(s.sim).commands);

    SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_BUSY);
    SimClearLog();
    EXPECT_EQ(WL_GENERAL_ERROR, WL(s.lib, WLReceiveModeSet)(0, 10));
    EXPECT_TRUE(s.Logged("WLReceiveModeSetX (Val, Size) != WL_SUCCESS"));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(0u, SimActionCount(&c, 12));
}

/* ---- Raw frames ---- */

TEST_P(Diag, ReceiveGetIsBoundedByTheLastReceiveSize)
{
    SimSession s(GetParam());
    unsigned short rec[64];
    DWORD len = 2;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLReceiveGet)((WL_LTV *)rec, &len));
    EXPECT_TRUE(s.Logged("*Len > RSize"));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLReceiveGet)(NULL, &len));
    EXPECT_TRUE(s.Logged("Val == NULL"));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLReceiveGet)((WL_LTV *)rec, NULL));
    EXPECT_TRUE(s.Logged("Len == NULL"));

    /* the size stays even when the mode's command fails */
    SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_BUSY);
    EXPECT_EQ(WL_DRIVER_BUSY, WL(s.lib, WLReceiveModeSet)(1, 100));
    len = 101;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLReceiveGet)((WL_LTV *)rec, &len));
    /* a buffer below the record's two header words is refused */
    len = 3;
    memset(rec, 0x5A, sizeof rec);
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLReceiveGet)((WL_LTV *)rec, &len));
    EXPECT_EQ(0x5A5A, rec[0]);
    /* nothing received: the empty mailbox answers */
    len = 100;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLReceiveGet)((WL_LTV *)rec, &len));
    WL(s.lib, WLReceiveModeSet)(0, 0);
}

TEST_P(Diag, FramesSentWhileBlockedComeBack)
{
    SimSession s(GetParam());
    static WlSimDiagConfig cfg;
    memset(&cfg, 0, sizeof cfg);
    cfg.adapter = s.sim;
    cfg.patchOffset = 0xFFFFFFFF;
    cfg.loopback = 1;
    ASSERT_EQ(0, SimDiagSetup(&cfg));
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLReceiveModeSet)(3, 512));

    unsigned char frame[40] = {1, 2, 3, 4, 5, 6, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15};
    for (int i = 22; i < 40; i++) frame[i] = (unsigned char)i;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLSendSet)(frame, 21));
    EXPECT_TRUE(s.Logged("!INTERVAL (22, <=, Size, <=, 8192)"));
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLSendSet)(frame, sizeof frame)) << s.lib.returnString();
    /* the header was completed: length 40 - 14, the SNAP header */
    EXPECT_EQ(0, frame[12]);
    EXPECT_EQ(26, frame[13]);
    EXPECT_EQ(0xAA, frame[14]);
    EXPECT_EQ(1u, State(s.sim).loopedBack);

    std::vector<unsigned short> rec(256 + 32, 0xA5A5);
    DWORD len = 512;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLReceiveGet)((WL_LTV *)rec.data(), &len)) << s.lib.returnString();
    EXPECT_EQ(0x0822, rec[1]);
    const size_t at = WLSIM_WMP_OFFSET; /* record offset of the frame */
    EXPECT_EQ(at - 4 + sizeof frame, (size_t)len);
    EXPECT_EQ(0, memcmp((unsigned char *)rec.data() + at, frame, sizeof frame));
    EXPECT_EQ(0xA5A5, rec[256]);
    /* taken: the mailbox is empty again */
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s.lib, WLReceiveGet)((WL_LTV *)rec.data(), &len));

    /* unblocked, nothing comes back */
    ASSERT_EQ(WL_SUCCESS, WL(s.lib, WLReceiveModeSet)(0, 512));
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLSendSet)(frame, sizeof frame));
    EXPECT_EQ(1u, State(s.sim).loopedBack);
}

/* ---- Firmware memory ---- */

TEST_P(Diag, DumpFirmwareRefusesAShortBuffer)
{
    SimSession s(GetParam());
    GuardedBytes buf(10 * 128 - 1, 'q');
    DWORD size = 10 * 128 - 1;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLDumpFirmware)(buf.raw(), &size, 0, 10));
    EXPECT_TRUE(s.Logged("(*sz < _sz)"));
    EXPECT_EQ(10u * 128 - 1, size);
    EXPECT_EQ(std::vector<unsigned char>(10 * 128 - 1, 'q'),
              std::vector<unsigned char>(buf.bytes.begin(), buf.bytes.begin() + buf.size));
    EXPECT_EQ(0u, SimCountersNow().exchanges);
}

TEST_P(Diag, DumpFirmwareRefusesBlocksBeyondTheRecordWords)
{
    SimSession s(GetParam());
    unsigned char b[16];
    DWORD size = 0xFFFFFFFF;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDumpFirmware)(b, &size, 0, 0x02000000));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDumpFirmware)(b, &size, 0xFFFF, 2));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDumpFirmware)(b, &size, -1, 0));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDumpFirmware)(NULL, &size, 0, 1));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s.lib, WLDumpFirmware)(b, NULL, 0, 1));
    EXPECT_EQ(0xFFFFFFFFu, size);
}

TEST_P(Diag, DumpFirmwareCopiesTheBlocks)
{
    SimSession s(GetParam());
    Setup(s.sim, 0, 0x5A5A);
    const int count = 100, start = 7; /* two records: 63 and 37 blocks */
    GuardedBytes buf(count * 128 + 5, 0);
    DWORD size = count * 128 + 5;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLDumpFirmware)(buf.raw(), &size, start, count)) << s.lib.returnString();
    EXPECT_EQ((DWORD)count * 128, size);
    for (int i = 0; i < count * 128; i++)
        ASSERT_EQ(Mem(0x5A5A, start * 128 + i), buf.bytes[i]) << i;
    EXPECT_EQ(0, buf.bytes[count * 128]);
    EXPECT_TRUE(buf.GuardIntact());
    EXPECT_EQ(2u, State(s.sim).memoryReads);
    EXPECT_EQ((uint32_t)count, State(s.sim).memoryBlocks);
}

TEST_P(Diag, DumpFirmwarePassesTheDriverError)
{
    SimSession s(GetParam());
    ASSERT_EQ(0, SimFault(WLSIM_OP_GET_INFO, 1, WLSIM_RES_LEN));
    std::vector<unsigned char> b(128, 'z');
    DWORD size = 128;
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(s.lib, WLDumpFirmware)(b.data(), &size, 0, 1));
    EXPECT_EQ(std::vector<unsigned char>(128, 'z'), b);
}

TEST_P(Diag, LogFirmwareWritesBothWindows)
{
    SimSession s(GetParam());
    std::vector<uint8_t> patch(WLSIM_MEM_PATCH);
    for (size_t i = 0; i < patch.size(); i++) patch[i] = (uint8_t)(i * 7 + 1);
    Setup(s.sim, 0, 0x1111, 0, patch);
    RemoveFile("\\fwdumph2.txt");
    std::vector<unsigned char> out(300000, 0xEE);
    DWORD size = 100;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLLogFirmware)(out.data(), &size));
    EXPECT_EQ(100u, size);
    EXPECT_TRUE(std::equal(patch.begin(), patch.begin() + 100, out.begin()));
    EXPECT_EQ(0xEE, out[100]);

    std::string text = ReadFile("\\fwdumph2.txt");
    RemoveFile("\\fwdumph2.txt");
    /* 640 + 384 blocks of 8 lines and a blank line */
    EXPECT_EQ((640u + 384u) * 9u, (size_t)std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(0u, text.find("000000  0801 160F 241D 322B  4039 4E47 5C55 6A63\n"
                            "000010  7871 867F 948D A29B  B0A9 BEB7 CCC5 DAD3\n"))
        << text.substr(0, 200);
    /* block 8 lies behind the window: (offset / 2) ^ 0x1111 */
    EXPECT_NE(std::string::npos, text.find("\n\n000400  1311 1310 1313 1312  1315 1314 1317 1316\n"));
    /* the second window starts at block 16000 */
    EXPECT_NE(std::string::npos, text.find("\n\n1F4000  B111 B110 B113 B112  B115 B114 B117 B116\n"));
    EXPECT_EQ(text.size() - 2, text.rfind("\n\n"));

    size = 300000;
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLLogFirmware)(out.data(), &size));
    EXPECT_EQ(262144u, size);
    EXPECT_EQ(Mem(0x1111, 16000 * 128), out[640 * 128]);
    EXPECT_EQ(0, out[262143]);
    EXPECT_EQ(0xEE, out[262144]);
    RemoveFile("\\fwdumph2.txt");
}

TEST_P(Diag, LogFirmwareSucceedsWithoutTheAdapter)
{
    SimSession s(GetParam());
    SimRemoveAdapter(s.sim);
    RemoveFile("\\fwdumph2.txt");
    DWORD size = 16;
    unsigned char b[16];
    memset(b, 1, sizeof b);
    EXPECT_EQ(WL_SUCCESS, WL(s.lib, WLLogFirmware)(b, &size));
    EXPECT_FALSE(FileExists("\\fwdumph2.txt"));
    EXPECT_EQ(16u, size);
    EXPECT_EQ(0, b[0]);
}

INSTANTIATE_TEST_SUITE_P(All, Diag, testing::ValuesIn(kVariants), VariantName);
