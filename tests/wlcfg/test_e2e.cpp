/* wlcfg.exe end to end under Wine against the stand-in's radio world:
 * text and JSON output (parsed back field by field), exit codes. */
#include "json.h"
#include "service_fixture.h"
#include "util_run.h"

static const uint8_t kAp[6] = {0x00, 0x40, 0x96, 0x19, 0x00, 0x01};
static const char kApText[] = "00:40:96:19:00:01";

static std::string WlcfgPath()
{
    std::string p = std::string("Z:") + WLCFG_BIN_DIR + "/wlcfg.exe";
    for (char &c : p)
        if (c == '/') c = '\\';
    return p;
}

class WlcfgTool : public UtilTest {
protected:
    void SetUp() override
    {
        UtilTest::SetUp();
        RegDeleteTree("Software\\Wireless\\Driver");
        RegAdapter &a = AddAdapter("0190");
        a.writeString("CoInstallers32", "WDVXQ48F.DLL,WLCoInstaller");
        driver_ = AddDriver({a.spec().guid});
        WlSimStation st;
        ASSERT_EQ(0, SimStationMake(&st, kAp, "home", 6, 120, 40, 0, WLSIM_SEC_OPEN, "HomeAP"));
        ASSERT_EQ(0, SimPutStation(&st)) << SimLastErrorText();
    }
    void TearDown() override
    {
        SimLinkShape(0, 0);
        RegDeleteTree("Software\\Wireless\\Driver");
        UtilTest::TearDown();
    }
    UtilResult Tool(const std::vector<std::string> &args) { return RunUtil(WlcfgPath(), args); }
    JsonValue Json(const std::vector<std::string> &args, DWORD exit = 0)
    {
        std::vector<std::string> a = {"--json"};
        a.insert(a.end(), args.begin(), args.end());
        UtilResult r = Tool(a);
        EXPECT_EQ(exit, r.exit) << r.out;
        JsonValue v;
        EXPECT_TRUE(JsonParse(r.out, &v)) << r.out;
        return v;
    }
    void Join()
    {
        ASSERT_EQ(0u, Tool({"profiles", "create", "Home", "home"}).exit);
        UtilResult r = Tool({"profiles", "activate", "Home"});
        ASSERT_EQ(0u, r.exit) << r.out;
    }
};

TEST_F(WlcfgTool, UsageErrorsAndRefusals)
{
    struct { std::vector<std::string> args; DWORD exit; const char *text; } cases[] = {
        {{}, 2, "no command"},
        {{"frobnicate"}, 2, "unknown command frobnicate"},
        {{"set", "rts-threshold"}, 2, "usage: wlcfg set SETTING VALUE"},
        {{"set", "nothing", "1"}, 2, "no setting nothing"},
        {{"set", "port-status", "1"}, 2, "read only"},
        {{"set", "rts-threshold", "abc"}, 2, "takes a number"},
        {{"set", "rts-threshold", "99999"}, 1, "WLRTSThresholdSet failed: code 9001"},
        {{"linktest", "00:40"}, 2, "usage: wlcfg linktest"},
        {{"-a", "0999", "show"}, 1, "no adapter 0999"},
        {{"profiles", "activate", "Nowhere"}, 1, "failed"},
        {{"import", "Z:\\nonexistent.xml"}, 1, "cannot open"},
        {{"help", "nothing"}, 2, "unknown command nothing"},
    };
    for (auto &c : cases) {
        UtilResult r = Tool(c.args);
        EXPECT_EQ(c.exit, r.exit) << (c.args.empty() ? "" : c.args[0]) << ": " << r.out;
        EXPECT_NE(std::string::npos, r.out.find(c.text)) << r.out;
    }
    UtilResult h = Tool({"help", "linktest"});
    EXPECT_EQ(0u, h.exit);
    EXPECT_EQ(0u, h.out.find("usage: wlcfg linktest BSSID [-n COUNT] [-i MS]"));
}

TEST_F(WlcfgTool, AdaptersSettingsAndScan)
{
    Join();
    JsonValue a = Json({"adapters"});
    /* The test's own adapter, listed once, whatever other adapters of the
     * family the prefix's registry holds. */
    const JsonValue *own = nullptr;
    int listed = 0;
    for (const JsonValue &e : a["adapters"].a)
        if (e["id"].s == "0190") {
            own = &e;
            listed++;
        }
    ASSERT_EQ(1, listed);
    const JsonValue &x = *own;
    EXPECT_EQ("WaVXQ48F.dll", x["library"].s);
    EXPECT_TRUE(x["present"].b);
    EXPECT_EQ(4, x["portStatus"].n);
    EXPECT_EQ("connected to an access point", x["portStatusText"].s);
    EXPECT_EQ(kApText, x["bssid"].s);
    EXPECT_EQ(6, x["channel"].n);
    EXPECT_EQ("2.4 GHz", x["band"].s);
    EXPECT_EQ(JsonValue::Number, x["signalDbm"].kind);

    EXPECT_EQ(0u, Tool({"set", "rts-threshold", "500"}).exit);
    EXPECT_EQ(500, Json({"show", "rts-threshold"})["settings"]["rts-threshold"].n);
    EXPECT_EQ(0u, Tool({"set", "own-name", "Desk"}).exit);
    UtilResult t = Tool({"show", "own-name"});
    EXPECT_EQ("own-name               \"Desk\"\n", t.out);

    JsonValue s = Json({"scan"});
    ASSERT_EQ(1u, s["networks"].a.size());
    EXPECT_EQ(kApText, s["networks"][0]["bssid"].s);
    EXPECT_EQ(6, s["networks"][0]["channel"].n);
    EXPECT_EQ("ap", s["networks"][0]["kind"].s);
    EXPECT_EQ("open", s["networks"][0]["security"].s);
}

/* Security in words: every answer's elements in the channel selection scan,
 * the capability word alone in the synchronous scan except for the joined
 * network, whose association request names its suites. */
TEST_F(WlcfgTool, ScanSecurityInWords)
{
    static const struct {
        uint8_t last;
        const char *ssid;
        int channel, peer, security;
        const char *kind, *words;
    } kWorld[] = {
        {0x02, "cafe", 1, 0, WLSIM_SEC_WEP, "ap", "WEP"},
        {0x03, "shop", 11, 0, WLSIM_SEC_WPA, "ap", "WPA-PSK TKIP"},
        {0x04, "office", 36, 0, WLSIM_SEC_WPA2, "ap", "WPA2-PSK CCMP"},
        {0x05, "party", 11, 1, WLSIM_SEC_OPEN, "peer", "open"},
    };
    for (const auto &w : kWorld) {
        uint8_t bssid[6] = {0x00, 0x40, 0x96, 0x19, 0x00, w.last};
        WlSimStation st;
        ASSERT_EQ(0, SimStationMake(&st, bssid, w.ssid, w.channel, 110, 40, w.peer, w.security, w.ssid));
        ASSERT_EQ(0, SimPutStation(&st)) << SimLastErrorText();
    }
    auto find = [](const JsonValue &scan, const std::string &ssid) -> const JsonValue * {
        for (const JsonValue &n : scan["networks"].a)
            if (n["ssid"].s == ssid) return &n;
        return nullptr;
    };
    JsonValue acs = Json({"scan", "--acs"});
    EXPECT_EQ("channel selection", acs["mode"].s);
    ASSERT_EQ(5u, acs["networks"].a.size());
    const JsonValue *home = find(acs, "home");
    ASSERT_NE(nullptr, home);
    EXPECT_EQ("open", (*home)["security"].s);
    EXPECT_EQ(kApText, (*home)["bssid"].s);
    EXPECT_EQ(6, (*home)["channel"].n);
    EXPECT_EQ(JsonValue::Number, (*home)["rateMbps"].kind);
    for (const auto &w : kWorld) {
        const JsonValue *n = find(acs, w.ssid);
        ASSERT_NE(nullptr, n) << w.ssid;
        EXPECT_EQ(w.words, (*n)["security"].s) << w.ssid;
        EXPECT_EQ("elements", (*n)["securityFrom"].s) << w.ssid;
        EXPECT_EQ(w.kind, (*n)["kind"].s) << w.ssid;
        EXPECT_EQ(w.channel, (*n)["channel"].n) << w.ssid;
        EXPECT_EQ(w.channel > 14 ? "5 GHz" : "2.4 GHz", (*n)["band"].s) << w.ssid;
        EXPECT_EQ(w.security != WLSIM_SEC_OPEN, (*n)["privacy"].b) << w.ssid;
    }

    ASSERT_EQ(0u, Tool({"profiles", "create", "Work", "office", "encryption", "on", "key0", "abcde"}).exit);
    ASSERT_EQ(0u, Tool({"profiles", "activate", "Work"}).exit);
    /* The stand-in keys its privacy to the encryption switch, not to the
     * coded key record a profile writes. */
    ASSERT_EQ(0u, Tool({"set", "encryption", "1"}).exit);
    UtilResult joined = Tool({"adapters"});
    ASSERT_NE(std::string::npos, joined.out.find("00:40:96:19:00:04")) << joined.out;
    JsonValue sync = Json({"scan"});
    EXPECT_EQ("synchronous", sync["mode"].s);
    ASSERT_EQ(5u, sync["networks"].a.size());
    struct { const char *ssid, *words, *from; } want[] = {
        {"office", "WPA2-PSK CCMP", "association request"},
        {"shop", "privacy, suites not reported", "capability"},
        {"cafe", "privacy, suites not reported", "capability"},
        {"home", "open", "capability"},
    };
    for (auto &w : want) {
        const JsonValue *n = find(sync, w.ssid);
        ASSERT_NE(nullptr, n) << w.ssid;
        EXPECT_EQ(w.words, (*n)["security"].s) << w.ssid;
        EXPECT_EQ(w.from, (*n)["securityFrom"].s) << w.ssid;
    }
    UtilResult text = Tool({"scan"});
    ASSERT_EQ(0u, text.exit) << text.out;
    EXPECT_EQ(0u, text.out.find("ssid                 bssid             channel")) << text.out;
    EXPECT_NE(std::string::npos, text.out.find("office               00:40:96:19:00:04 36 5 GHz")) << text.out;
    EXPECT_NE(std::string::npos, text.out.find(" ap    WPA2-PSK CCMP\n")) << text.out;
    EXPECT_EQ(2u, Tool({"scan", "--everything"}).exit);
}

TEST_F(WlcfgTool, ProfilesPreferredExportImport)
{
    ASSERT_EQ(0u, Tool({"profiles", "create", "Office", "OfficeNet", "auth", "shared", "encryption", "on", "key0",
                        "abcde", "key2", "hex:0A0B0C0D0E", "txkey", "2"}).exit);
    ASSERT_EQ(0u, Tool({"profiles", "create", "Cafe", "CafeNet", "mode", "ibss"}).exit);
    JsonValue l = Json({"profiles", "list"});
    EXPECT_EQ(2u, l["profiles"].a.size());
    JsonValue p = Json({"preferred", "set", "Office", "Cafe"});
    ASSERT_EQ(2u, p["preferred"].a.size());
    EXPECT_EQ("Office", p["preferred"][0].s);
    EXPECT_EQ("Cafe", p["preferred"][1].s);
    JsonValue o = Json({"profiles", "show", "Office"});
    EXPECT_EQ("OfficeNet", o["ssid"].s);
    EXPECT_EQ("shared", o["authentication"].s);
    EXPECT_EQ(2, o["txKey"].n);
    EXPECT_EQ(10, o["keys"][2]["length"].n);
    EXPECT_EQ("hex", o["keys"][2]["form"].s);
    EXPECT_EQ(JsonValue::Null, o["keys"][2]["value"].kind) << "key material never shown";

    /* round trips: export, delete, import, export again: the same document */
    for (const char *form : {"xml", "wpa"}) {
        UtilResult first = Tool({"export", "Office", form});
        ASSERT_EQ(0u, first.exit) << first.out;
        ASSERT_EQ(0u, Tool({"export", "Office", form, "office.txt"}).exit);
        ASSERT_EQ(0u, Tool({"profiles", "delete", "Office"}).exit);
        UtilResult imp = Tool({"import", "office.txt"});
        ASSERT_EQ(0u, imp.exit) << imp.out;
        EXPECT_EQ(first.out, Tool({"export", "Office", form}).out) << form;
    }
    EXPECT_NE(std::string::npos, Tool({"export", "Office", "xml"}).out.find("<keyMaterial>0A0B0C0D0E</keyMaterial>"));

    /* a refused file stores nothing */
    HANDLE h = CreateFileA("wpa.conf", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    const char conf[] = "network={\n ssid=\"ok\"\n}\nnetwork={\n ssid=\"corp\"\n key_mgmt=WPA-EAP\n}\n";
    DWORD put;
    WriteFile(h, conf, sizeof conf - 1, &put, NULL);
    CloseHandle(h);
    UtilResult bad = Tool({"import", "wpa.conf"});
    EXPECT_EQ(1u, bad.exit);
    EXPECT_NE(std::string::npos, bad.out.find("key_mgmt=WPA-EAP cannot be held")) << bad.out;
    EXPECT_NE(std::string::npos, bad.out.find("nothing stored"));
    EXPECT_EQ(2u, Json({"profiles", "list"})["profiles"].a.size());
    DeleteFileA("wpa.conf");
    DeleteFileA("office.txt");
}

TEST_F(WlcfgTool, LinkTestCountsLossAndRoundTrips)
{
    Join();
    JsonValue all = Json({"linktest", kApText, "-n", "4", "-i", "50"});
    EXPECT_EQ(4, all["sent"].n);
    EXPECT_EQ(4, all["received"].n);
    EXPECT_EQ(0, all["lossPercent"].n);
    EXPECT_EQ(11, all["remote"]["rateMbps"].n);
    ASSERT_EQ(0, SimLinkShape(25, 0));
    JsonValue some = Json({"linktest", kApText, "-n", "8", "-i", "50"});
    EXPECT_EQ(6, some["received"].n);
    EXPECT_EQ(25, some["lossPercent"].n);
    ASSERT_EQ(0, SimLinkShape(0, 20)); /* 20 mailbox reads, at least 10 ms apart */
    JsonValue late = Json({"linktest", kApText, "-n", "3", "-i", "400"});
    EXPECT_EQ(3, late["received"].n);
    EXPECT_GE(late["rttMs"]["min"].n, 150.0);
    EXPECT_LE(late["rttMs"]["min"].n, late["rttMs"]["median"].n);
    EXPECT_LE(late["rttMs"]["median"].n, late["rttMs"]["max"].n);
    ASSERT_EQ(0, SimLinkShape(100, 0));
    UtilResult none = Tool({"linktest", kApText, "-n", "2", "-i", "20"});
    EXPECT_EQ(0u, none.exit);
    EXPECT_EQ(0u, none.out.find("2 sent, 0 received, 100.0% loss")) << none.out;
}

TEST_F(WlcfgTool, CountryLogAndHunting)
{
    JsonValue l = Json({"country", "list"});
    EXPECT_GT(l["countries"].a.size(), 50u);
    EXPECT_EQ(2u, l["countries"][0]["code"].s.size());
    JsonValue s = Json({"country", "set", "DE"});
    EXPECT_EQ("DE", s["country"].s);
    JsonValue on = Json({"log", "on"});
    EXPECT_TRUE(on["trace"].b);
    EXPECT_TRUE(on["errors"].b);
    JsonValue off = Json({"log", "off"});
    EXPECT_FALSE(off["trace"].b);
    JsonValue t = Json({"hunting", "threshold", "signal", "-60"});
    EXPECT_EQ(-60, t["minSignalDbm"].n);
    EXPECT_EQ(JsonValue::Null, t["minSnrDb"].kind);
    DWORD v = 0;
    ASSERT_TRUE(adapters_[0]->readDword("HuntingMinSignal", &v));
    EXPECT_EQ(-60, (int)v);
    t = Json({"hunting", "threshold", "signal", "none"});
    EXPECT_EQ(JsonValue::Null, t["minSignalDbm"].kind);
    EXPECT_FALSE(adapters_[0]->readDword("HuntingMinSignal", &v));
    EXPECT_EQ(2u, Tool({"hunting", "threshold", "signal", "5"}).exit);
}

/* Hunting on stores the switch, and the library starts the variant's service
 * program with "/Service" (the first hunting adapter); off clears the switch
 * and the program removes the service (the last one). The program is found
 * in the tool's working directory, where the test puts a copy. */
TEST_F(WlcfgTool, HuntingOnStartsTheServiceAndOffRemovesIt)
{
    const char kService[] = "WSVXQ48F";
    ServiceRemove(kService);
    for (const char *f : {"WSVXQ48F.exe", "wsvxq48x.dll"})
        ASSERT_TRUE(CopyFileA((BuildFolder("svcbin") + "\\" + f).c_str(), f, FALSE)) << f;
    struct Cleanup {
        ~Cleanup()
        {
            ServiceRemove("WSVXQ48F");
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\WSVXQ48F");
            for (int i = 0; i < 50 && !DeleteFileA("WSVXQ48F.exe"); i++) Sleep(200);
            DeleteFileA("wsvxq48x.dll");
        }
    } cleanup;

    JsonValue off = Json({"hunting", "status"});
    EXPECT_FALSE(off["hunting"].b);
    EXPECT_EQ(kService, off["service"].s);
    EXPECT_EQ("not installed", off["serviceState"].s);

    JsonValue on = Json({"hunting", "on"});
    EXPECT_TRUE(on["hunting"].b);
    DWORD v = 0;
    ASSERT_TRUE(adapters_[0]->readDword("ProfileHunting", &v));
    EXPECT_EQ(1u, v);
    ASSERT_TRUE(ServiceWait(kService, SERVICE_RUNNING)) << "the service program installed and started the service";
    JsonValue st = Json({"hunting", "status"});
    EXPECT_TRUE(st["hunting"].b);
    EXPECT_EQ("running", st["serviceState"].s);
    UtilResult text = Tool({"hunting", "status"});
    EXPECT_EQ(0u, text.out.find("hunting on\nservice         WSVXQ48F running\n")) << text.out;

    JsonValue again = Json({"hunting", "off"});
    EXPECT_FALSE(again["hunting"].b);
    ASSERT_TRUE(adapters_[0]->readDword("ProfileHunting", &v));
    EXPECT_EQ(0u, v);
    EXPECT_TRUE(ServiceWait(kService, 0)) << "the service program removed the service";
    EXPECT_EQ("not installed", Json({"hunting", "status"})["serviceState"].s);
}
