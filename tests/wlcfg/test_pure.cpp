/* The tool's pure parts: command line, JSON, profile formats, link
 * statistics, hunting thresholds; and the importers under hostile input. */
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "commandline.h"
#include "json.h"
#include "linkstats.h"
#include "profile_io.h"
#include "security.h"
#include "wlcore/ie_parse.h"
#include "wlcore/hunting_thresholds.h"
#include "xmlread.h"

static int Nop(Context &, const std::vector<std::string> &) { return 0; }
static const Command kTable[] = {
    {"scan", Nop, 0, 0, "scan", "scan for networks"},
    {"set", Nop, 2, 2, "set SETTING VALUE", "change one setting"},
};

TEST(WlcfgCommandLine, OptionsCommandsAndCounts)
{
    struct { std::vector<std::string> w; bool ok; bool json; const char *nic; size_t args; } cases[] = {
        {{"scan"}, true, false, "", 0},
        {{"--json", "scan"}, true, true, "", 0},
        {{"scan", "--json"}, true, true, "", 0},
        {{"-a", "0150", "set", "rts-threshold", "500"}, true, false, "0150", 2},
        {{}, false, false, "", 0},
        {{"-a"}, false, false, "", 0},
        {{"-a", "123456789", "scan"}, false, false, "", 0},
        {{"--xml", "scan"}, false, false, "", 0},
        {{"frobnicate"}, false, false, "", 0},
        {{"set", "x"}, false, false, "", 0},
        {{"scan", "extra"}, false, false, "", 0},
    };
    for (auto &c : cases) {
        CommandLine cl;
        std::string why;
        ASSERT_EQ(c.ok, ParseCommandLine(c.w, kTable, 2, &cl, &why)) << (c.w.empty() ? "" : c.w[0]) << why;
        if (!c.ok) {
            EXPECT_FALSE(why.empty());
            continue;
        }
        EXPECT_EQ(c.json, cl.json);
        EXPECT_EQ(c.nic, cl.nic);
        EXPECT_EQ(c.args, cl.args.size());
    }
    EXPECT_NE(std::string::npos, HelpText(kTable, 2, "").find("set SETTING VALUE"));
    EXPECT_EQ("usage: wlcfg scan\nscan for networks\n", HelpText(kTable, 2, "scan"));
    EXPECT_EQ("", HelpText(kTable, 2, "nothing"));
    long v;
    EXPECT_TRUE(ParseInt("-75", -150, 0, &v));
    EXPECT_EQ(-75, v);
    EXPECT_FALSE(ParseInt("1", -150, 0, &v));
    EXPECT_FALSE(ParseInt("99999999999", 0, 1 << 30, &v));
    EXPECT_FALSE(ParseInt("1x", 0, 9, &v));
    unsigned char mac[6];
    EXPECT_TRUE(ParseMac("00:40:96:10:0a:FF", mac));
    EXPECT_EQ("00:40:96:10:0A:FF", MacText(mac));
    EXPECT_FALSE(ParseMac("00:40:96:10:0a", mac));
    EXPECT_FALSE(ParseMac("00:40:96:10:0a:FG", mac));
    EXPECT_NE(nullptr, FindSetting("rts-threshold"));
    EXPECT_EQ(nullptr, FindSetting("port-status")->setter);
}

TEST(WlcfgJson, WriterAndReaderAgree)
{
    JsonWriter j;
    j.beginObject().field("name", std::string("a\"b\\c\x01\xE9")).field("n", -70).field("f", 2.5).field("t", true);
    j.key("list").beginArray().value(1).value("x").null().endArray().key("o").beginObject().endObject().endObject();
    EXPECT_EQ("{\"name\":\"a\\\"b\\\\c\\u0001\\u00e9\",\"n\":-70,\"f\":2.5,\"t\":true,\"list\":[1,\"x\",null],\"o\":{}}",
              j.text());
    JsonValue v;
    ASSERT_TRUE(JsonParse(j.text(), &v));
    EXPECT_EQ("a\"b\\c\x01\xE9", v["name"].s);
    EXPECT_EQ(-70, v["n"].n);
    EXPECT_EQ(3u, v["list"].a.size());
    for (const char *bad : {"", "{", "{\"a\":}", "[1,]", "{\"a\":1} x", "\"\\u12\""}) EXPECT_FALSE(JsonParse(bad, &v)) << bad;
    EXPECT_FALSE(JsonParse(std::string(100, '['), &v)) << "depth";
}

static Profile Sample()
{
    Profile p;
    p.name = "Office";
    p.ssid = "Office Net";
    p.mode = MODE_IBSS;
    p.auth = AUTH_SHARED;
    p.encryption = true;
    p.txKey = 2;
    p.keys[0] = {false, "abcde"};
    p.keys[2] = {true, "00112233445566778899AABBCC"};
    return p;
}

static bool ImportXml(const std::string &doc, Profile *p, std::string *why)
{
    std::vector<XmlElement> e;
    return XmlReadElements(doc, &e, why) && XmlToProfile(e, p, why);
}

TEST(WlcfgFormats, RoundTripsThroughBothForms)
{
    Profile variants[4] = {Sample(), Sample(), Sample(), Sample()};
    variants[1].auth = AUTH_AUTO;
    variants[1].mode = MODE_ESS;
    variants[2].encryption = false;
    variants[2].auth = AUTH_OPEN;
    for (int i = 0; i < 4; i++) variants[2].keys[i] = WepKey();
    variants[2].txKey = 0;
    variants[3].ssid = std::string("\x01\xFFzz", 4); /* not text: hex on both sides */
    for (const Profile &p : variants) {
        std::string doc, why;
        ASSERT_TRUE(XmlWrite(p, &doc, &why)) << why;
        Profile back;
        ASSERT_TRUE(ImportXml(doc, &back, &why)) << why << "\n" << doc;
        EXPECT_TRUE(p == back) << doc;
        std::vector<Profile> w;
        ASSERT_TRUE(WpaParse(WpaWrite(p), &w, &why)) << why << WpaWrite(p);
        ASSERT_EQ(1u, w.size());
        EXPECT_TRUE(p == w[0]) << WpaWrite(p);
    }
    Profile ap = Sample();
    ap.mode = MODE_SOFTAP;
    std::string doc, why;
    EXPECT_FALSE(XmlWrite(ap, &doc, &why));
    EXPECT_NE(std::string::npos, why.find("SoftAP"));
}

TEST(WlcfgFormats, WindowsDocumentWithNamespacesAndExtras)
{
    const std::string doc =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<w:WLANProfile xmlns:w=\"http://www.microsoft.com/networking/WLAN/profile/v1\">\n"
        " <w:name>Cafe</w:name>\n <w:SSIDConfig><w:SSID><w:hex>43616665</w:hex><w:name>Cafe</w:name></w:SSID>"
        "<w:nonBroadcast>false</w:nonBroadcast></w:SSIDConfig>\n"
        " <w:connectionType>ESS</w:connectionType><w:connectionMode>auto</w:connectionMode>\n"
        " <w:MSM><w:security><w:authEncryption><w:authentication>open</w:authentication>"
        "<w:encryption>WEP</w:encryption><w:useOneX>false</w:useOneX></w:authEncryption>"
        "<w:sharedKey><w:keyType>networkKey</w:keyType><w:protected>false</w:protected>"
        "<w:keyMaterial>0A0B0C0D0E</w:keyMaterial></w:sharedKey><w:keyIndex>1</w:keyIndex></w:security></w:MSM>\n"
        " <MacRandomization xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v3\">"
        "<enableRandomization>false</enableRandomization></MacRandomization>\n"
        "</w:WLANProfile>\n";
    Profile p;
    std::string why;
    ASSERT_TRUE(ImportXml(doc, &p, &why)) << why;
    EXPECT_EQ("Cafe", p.name);
    EXPECT_EQ("Cafe", p.ssid);
    EXPECT_TRUE(p.encryption);
    EXPECT_EQ(1, p.txKey);
    EXPECT_TRUE(p.keys[1].hex);
    EXPECT_EQ("0A0B0C0D0E", p.keys[1].text);
    EXPECT_EQ(AUTH_OPEN, p.auth);
}

TEST(WlcfgFormats, WpaSupplicantFileWithSeveralNetworks)
{
    const std::string conf =
        "# written by hand\nctrl_interface=/var/run/wpa_supplicant\nupdate_config=1\ncountry=DE\n\n"
        "network={\n\tssid=\"home\"\n\tkey_mgmt=NONE\n\twep_key0=\"12345\"\n\twep_key1=0102030405\n"
        "\twep_tx_keyidx=1\n\tauth_alg=SHARED\n\tpriority=5\n}\n"
        "network = {\n  # a peer network named by hex\n  ssid=70617274 79\n}\n"
        "network={\nssid=P\"caf\\xc3\\xa9 \\\"x\\\"\"\nmode=1\nkey_mgmt=NONE\nid_str=\"Cafe\"\n}\n";
    std::vector<Profile> ps;
    std::string why;
    /* a hex SSID with a blank is not hex: the file is refused naming the line */
    EXPECT_FALSE(WpaParse(conf, &ps, &why));
    EXPECT_EQ(0u, why.find("line 17: ssid")) << why;
    std::string fixed = conf;
    fixed.replace(fixed.find("70617274 79"), 11, "7061727479");
    ASSERT_TRUE(WpaParse(fixed, &ps, &why)) << why;
    ASSERT_EQ(3u, ps.size());
    EXPECT_EQ("home", ps[0].name);
    EXPECT_TRUE(ps[0].encryption);
    EXPECT_EQ(AUTH_SHARED, ps[0].auth);
    EXPECT_EQ(1, ps[0].txKey);
    EXPECT_EQ("0102030405", ps[0].keys[1].text);
    EXPECT_EQ("party", ps[1].ssid);
    EXPECT_EQ(AUTH_AUTO, ps[1].auth) << "no auth_alg: automatic choice";
    EXPECT_FALSE(ps[1].encryption);
    EXPECT_EQ("Cafe", ps[2].name);
    EXPECT_EQ("caf\xC3\xA9 \"x\"", ps[2].ssid);
    EXPECT_EQ(MODE_IBSS, ps[2].mode);
}

TEST(WlcfgFormats, UnsupportedSettingsAndMalformedFilesAreRefusedByName)
{
    struct { const char *text; const char *why; } wpa[] = {
        {"network={\nssid=\"a\"\npsk=\"secret pass\"\n}\n", "\"psk\" cannot be held"},
        {"network={\nssid=\"a\"\nkey_mgmt=WPA-PSK\n}\n", "key_mgmt=WPA-PSK cannot be held"},
        {"network={\nssid=\"a\"\nkey_mgmt=WPA-EAP\neap=PEAP\n}\n", "key_mgmt=WPA-EAP"},
        {"network={\nssid=\"a\"\nwep_key0=\"1234\"\n}\n", "wep_key0: a WEP key is"},
        {"network={\nssid=\"a\"\nwep_key2=\"12345\"\n}\n", "transmit key 0 is empty"},
        {"network={\nssid=\"a\"\n", "not closed"},
        {"network={\nmode=1\n}\n", "without ssid"},
        {"network={\nssid=\"a\"\nbogus=1\n}\n", "\"bogus\" cannot be held"},
        {"network={\nssid=\"0123456789012345678901234567890123\"\n}\n", "SSID: at most 32"},
        {"# nothing\n", "no network block"},
    };
    for (auto &c : wpa) {
        std::vector<Profile> ps;
        std::string why;
        EXPECT_FALSE(WpaParse(c.text, &ps, &why)) << c.text;
        EXPECT_NE(std::string::npos, why.find(c.why)) << why;
    }
    const std::string head = "<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\"><name>n</name>"
                             "<SSIDConfig><SSID><name>s</name></SSID></SSIDConfig>";
    struct { std::string doc; const char *why; } xml[] = {
        {head + "<MSM><security><authEncryption><authentication>WPA2PSK</authentication><encryption>AES"
                "</encryption></authEncryption></security></MSM></WLANProfile>", "WPA2PSK cannot be held"},
        {head + "<MSM><security><authEncryption><authentication>open</authentication><encryption>WEP</encryption>"
                "<useOneX>true</useOneX></authEncryption></security></MSM></WLANProfile>", "802.1X"},
        {head + "<MSM><security><authEncryption><authentication>open</authentication><encryption>WEP</encryption>"
                "</authEncryption><sharedKey><keyType>passPhrase</keyType><protected>false</protected><keyMaterial>"
                "abcde</keyMaterial></sharedKey></security></MSM></WLANProfile>", "passphrase"},
        {head + "<MSM><security><sharedKey><protected>true</protected></sharedKey></security></MSM></WLANProfile>",
         "protected"},
        {head + "<connectionType>MESH</connectionType></WLANProfile>", "connectionType MESH"},
        {head, "ends inside an element"}, /* a reader that closes open elements at the end */
        {"<profile/>", "not a WLANProfile"},
        {"<WLANProfile><name>x</name></WLANProfile>", "without SSID"},
        {std::string(40, '<') + "a", "ends inside a tag"},
        {head + "<!-- the rest </WLANProfile>", "ends inside a tag, comment"},
        {head + "<![CDATA[ the rest </WLANProfile>", "CDATA"},
        {"<WLANProfile><name>x</name></WLANProfile >\r\n<!-- by hand -->\r\n", "without SSID"}, /* read whole */
        {head + "<?pi the rest </WLANProfile>", "processing instruction"},
        {head + "<WLANProfile></WLANProfile>", "not well-formed"}, /* the root left open */
        {head + "</WLANProfile><name>y</name>", "not well-formed"},
        {head + "</WLANProfile>junk", "not well-formed"},
        {head + "<name>a\xFF" "b</name></WLANProfile>", "malformed byte sequence"},
        {head + "<name>a" + std::string(1, '\0') + "b</name></WLANProfile>", "NUL character"},
        {"<?xml version=\"1.0\"?>\r\n<!-- <WLANProfile> -->\r\n", "without an element"},
        {std::string("\xFF\xFE<\0a\0/\0>\0\n", 11), "UTF-16 document with a cut last character"},
        {"<!DOCTYPE x [<!ENTITY a \"b\">]><WLANProfile/>", "not well-formed"},
    };
    for (auto &c : xml) {
        Profile p;
        std::string why;
        EXPECT_FALSE(ImportXml(c.doc, &p, &why)) << c.doc;
        EXPECT_NE(std::string::npos, why.find(c.why)) << c.why << ": " << why;
    }
    std::string deep;
    for (int i = 0; i < 200; i++) deep += "<WLANProfile>";
    Profile p;
    std::string why;
    EXPECT_FALSE(ImportXml(deep, &p, &why)) << "depth bounded";
}

TEST(WlcfgLinkStats, LossAndRoundTrips)
{
    struct { int sent; std::vector<double> rtts; int rx; double loss, mn, med, mx; } cases[] = {
        {4, {30, 10, 20}, 3, 25.0, 10, 20, 30},
        {4, {40, 10, 20, 30}, 4, 0.0, 10, 25, 40},
        {5, {}, 0, 100.0, 0, 0, 0},
        {0, {}, 0, 0.0, 0, 0, 0},
        {2, {5, 6, 7}, 2, 0.0, 5, 5.5, 6},
    };
    for (auto &c : cases) {
        LinkStats s = LinkStatsOf(c.sent, c.rtts);
        EXPECT_EQ(c.rx, s.received);
        EXPECT_DOUBLE_EQ(c.loss, s.lossPercent);
        EXPECT_DOUBLE_EQ(c.mn, s.rttMin);
        EXPECT_DOUBLE_EQ(c.med, s.rttMedian);
        EXPECT_DOUBLE_EQ(c.mx, s.rttMax);
    }
}

TEST(WlcfgThresholds, VerdictOnlyChangesWhenAThresholdIsSet)
{
    const HuntingThresholds none = {0, 0, 0, 0}, sig = {1, -70, 0, 0}, snr = {0, 0, 1, 20};
    struct { LinkVerdict base; const HuntingThresholds *t; int ok, s, n; LinkVerdict want; } cases[] = {
        {LINK_STAY, &none, 1, -90, -95, LINK_STAY},
        {LINK_STAY, nullptr, 1, -90, -95, LINK_STAY},
        {LINK_STAY, &sig, 1, -71, -95, LINK_HUNT},
        {LINK_STAY, &sig, 1, -70, -95, LINK_STAY},
        {LINK_STAY, &sig, 0, -90, -95, LINK_STAY},
        {LINK_STAY, &snr, 1, -80, -99, LINK_HUNT},
        {LINK_STAY, &snr, 1, -79, -99, LINK_STAY},
        {LINK_HUNT, &none, 1, -10, -99, LINK_HUNT},
    };
    for (auto &c : cases) EXPECT_EQ(c.want, ThresholdVerdictOf(c.base, c.t, c.ok, c.s, c.n)) << c.s;
}

/* Hostile files: random bytes, and valid files cut, flipped and spliced.
 * The importers answer yes or no with a reason; they never crash. */
TEST(WlcfgImportFuzz, HundredThousandCases)
{
    std::mt19937 rng(19);
    std::string xml, why;
    ASSERT_TRUE(XmlWrite(Sample(), &xml, &why));
    const std::string wpa = WpaWrite(Sample()) + WpaWrite(Sample());
    const std::string bits[] = {"network={", "}", "\n", "ssid=", "\"", "P\"\\x", "wep_key0=", "=", "#", "\0",
                                "<", ">", "</", "<WLANProfile>", "&amp;", "&#0;", "<![CDATA[", "\xFF\xFE", "\xC3"};
    int xmlCases = 0, accepted = 0;
    for (int i = 0; i < 100000; i++) {
        /* 97 % wpa_supplicant text; the element mapping gets the rest below
           (WlcfgXmlLiteFuzz puts malformed documents through XmlLite) */
        const int kind = i % 100;
        if (kind >= 97) continue; /* documents: the element mapping below */
        std::string t = kind < 97 ? wpa : xml;
        switch (rng() % 4) {
        case 0: t.resize(rng() % (t.size() + 1)); break;
        case 1:
            for (int k = 0; k < 4; k++) t[rng() % t.size()] = (char)rng();
            break;
        case 2:
            for (int k = 0; k < 3; k++) t.insert(rng() % (t.size() + 1), bits[rng() % (sizeof bits / sizeof bits[0])]);
            break;
        default:
            t.assign(rng() % 200, 0);
            for (char &c : t) c = (char)rng();
        }
        if (kind < 97) {
            std::vector<Profile> ps;
            std::string w;
            bool ok = WpaParse(t, &ps, &w);
            accepted += ok;
            ASSERT_TRUE(ok ? !ps.empty() : !w.empty());
            for (const Profile &p : ps) ASSERT_TRUE(ValidProfile(p, &w));
        } else {
            Profile p;
            std::string w;
            bool ok = ImportXml(t, &p, &w);
            accepted += ok;
            ASSERT_TRUE(ok ? ValidProfile(p, &w) : !w.empty());
            xmlCases++;
        }
    }
    /* the element mapping on its own: random paths from the document's names */
    std::vector<XmlElement> doc;
    ASSERT_TRUE(XmlReadElements(xml, &doc, &why));
    std::vector<std::string> names;
    for (const XmlElement &e : doc) names.insert(names.end(), e.path.begin(), e.path.end());
    const char *texts[] = {"", "ESS", "IBSS", "open", "shared", "WEP", "none", "true", "networkKey", "abcde",
                           "0A0B0C0D0E", "1", "4", "auto", "4F4B", "zz"};
    int mapped = 0;
    for (int i = 0; i < 3000; i++, mapped++) {
        std::vector<XmlElement> d = doc;
        for (int k = rng() % 6; k > 0; k--) {
            XmlElement e;
            for (int n = 1 + rng() % 6; n > 0; n--) e.path.push_back(names[rng() % names.size()]);
            e.text = texts[rng() % (sizeof texts / sizeof texts[0])];
            d.insert(d.begin() + rng() % (d.size() + 1), e);
        }
        if (rng() % 3 == 0 && !d.empty()) d.erase(d.begin() + rng() % d.size());
        Profile p;
        std::string w;
        bool ok = XmlToProfile(d, &p, &w);
        accepted += ok;
        ASSERT_TRUE(ok ? ValidProfile(p, &w) : !w.empty());
    }
    RecordProperty("accepted", accepted);
    EXPECT_EQ(0, xmlCases);
    EXPECT_GE(97000 + xmlCases + mapped, 100000);
    EXPECT_GT(accepted, 0);
    /* one huge file of each kind */
    std::vector<Profile> ps;
    EXPECT_FALSE(WpaParse(std::string(kMaxImportBytes + 1, '#'), &ps, &why));
    Profile p;
    EXPECT_FALSE(ImportXml(std::string(kMaxImportBytes + 1, ' '), &p, &why));
}

/* Malformed documents through XmlLite itself: cut, flipped, spliced with
 * markup that readers trip on, nested too deep, in UTF-16 with a cut last
 * unit. Every answer is a valid profile or a refusal with a reason, and
 * none needs the reader's time limit (Wine's reader does not come back from
 * the end of a document cut inside markup: such documents are refused
 * before it reads them). */
TEST(WlcfgXmlLiteFuzz, MalformedDocumentsThroughTheReader)
{
    std::mt19937 rng(1919);
    std::string xml, why;
    ASSERT_TRUE(XmlWrite(Sample(), &xml, &why));
    const std::string bits[] = {"<", ">", "</", "/>", "<WLANProfile>", "</WLANProfile>", "&amp;", "&#0;", "&#xD800;",
                                "&nothing;", "<![CDATA[", "]]>", "<!--", "-->", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>",
                                "<?xml version=\"1.0\" encoding=\"x-bogus\"?>", "<!DOCTYPE a [<!ENTITY e \"x\">]>",
                                "\xFF\xFE", "\xEF\xBB\xBF", std::string(1, '\0'), "\xC3\x28", "\xF4\x90\x80\x80",
                                "<a b=c>", "<a b=\"1\" b=\"2\">", "<?pi ", "xmlns:p=\"\"", "<p:q>", std::string(64, '<') + "a"};
    const int kCases = 2000;
    int accepted = 0, refused = 0, timeouts = 0;
    DWORD slowest = 0;
    for (int i = 0; i < kCases; i++) {
        std::string t = xml;
        switch (i % 4) {
        case 0: t.resize(rng() % (t.size() + 1)); break;
        case 1:
            for (int k = 1 + rng() % 4; k > 0; k--) t[rng() % t.size()] = (char)rng();
            break;
        case 2:
            for (int k = 1 + rng() % 3; k > 0; k--) t.insert(rng() % (t.size() + 1), bits[rng() % (sizeof bits / sizeof bits[0])]);
            break;
        default: /* nested deeper than the reader allows, or a document in the wrong encoding */
            if (rng() % 2) {
                std::string deep;
                for (int k = 20 + rng() % 40; k > 0; k--) deep += "<MSM>";
                t.insert(t.find("<MSM>"), deep);
            } else {
                std::string wide = "\xFF\xFE";
                for (char c : t) wide += std::string(1, c) + std::string(1, '\0');
                t = wide.substr(0, wide.size() - (rng() % 2)); /* odd length: a cut UTF-16 unit */
            }
        }
        Profile p;
        std::string w;
        const DWORD t0 = GetTickCount();
        const bool ok = ImportXml(t, &p, &w);
        slowest = std::max<DWORD>(slowest, GetTickCount() - t0);
        if (ok) {
            accepted++;
            ASSERT_TRUE(ValidProfile(p, &w)) << w;
        } else {
            refused++;
            ASSERT_FALSE(w.empty());
            timeouts += w.find("did not finish") != std::string::npos;
        }
    }
    printf("%d documents: %d accepted, %d refused (%d given up after %u ms), slowest %lu ms\n", kCases, accepted,
           refused, timeouts, kXmlReadTimeoutMs, (unsigned long)slowest);
    RecordProperty("timeouts", timeouts);
    EXPECT_EQ(kCases, accepted + refused);
    EXPECT_GT(refused, kCases / 4);
    EXPECT_EQ(0, timeouts) << "documents the reader did not come back from";
}

/* ---- security words ------------------------------------------------------ */

static void Collect(void *ctx, const char *text) { *static_cast<std::string *>(ctx) += text; }

/* What the library prints for one channel selection scan answer: its SSID
 * line, then the walk of its WPA and RSN elements (the same walk). */
static std::string PrintedWalk(const std::vector<uint8_t> &ies, const char *ssid)
{
    std::string t = std::string("ssid ") + ssid + "\n";
    RsnWpaParse(ies.data(), ies.size(), IE_ID_VENDOR, nullptr, nullptr, nullptr, Collect, &t);
    RsnWpaParse(ies.data(), ies.size(), IE_ID_RSN, nullptr, nullptr, nullptr, Collect, &t);
    return t;
}

static const std::vector<uint8_t> kWpaTkipPsk = {221, 22, 0, 0x50, 0xF2, 1, 1, 0, 0, 0x50, 0xF2, 2, 1, 0,
                                                 0, 0x50, 0xF2, 2, 1, 0, 0, 0x50, 0xF2, 2};
static const std::vector<uint8_t> kRsnCcmpPsk = {48, 20, 1, 0, 0, 0x0F, 0xAC, 4, 1, 0, 0, 0x0F, 0xAC, 4,
                                                 1, 0, 0, 0x0F, 0xAC, 2, 0, 0};
static const std::vector<uint8_t> kRsnMixed8021X = {48, 24, 1, 0, 0, 0x0F, 0xAC, 2, 2, 0, 0, 0x0F, 0xAC, 4,
                                                    0, 0x0F, 0xAC, 2, 1, 0, 0, 0x0F, 0xAC, 1, 0, 0};
static const std::vector<uint8_t> kWmm = {221, 7, 0, 0x50, 0xF2, 2, 0, 1, 0};
static const std::vector<uint8_t> kSsid = {0, 4, 'h', 'o', 'm', 'e', 1, 2, 0x82, 0x84};

static std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> v;
    for (const auto &p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

TEST(WlcfgSecurity, ElementsAndTheLibrarysWalkGiveTheSameWords)
{
    struct { std::vector<uint8_t> ies; bool privacy; const char *words; } cases[] = {
        {kSsid, false, "open"},
        {kSsid, true, "WEP"},
        {Cat({kSsid, kWpaTkipPsk}), true, "WPA-PSK TKIP"},
        {Cat({kSsid, kRsnCcmpPsk}), true, "WPA2-PSK CCMP"},
        {Cat({kSsid, kRsnMixed8021X}), true, "WPA2-802.1X CCMP/TKIP (group TKIP)"},
        {Cat({kSsid, kWmm, kWpaTkipPsk}), true, "WPA-PSK TKIP"},
        {Cat({kSsid, kWmm}), true, "WEP"},
        {Cat({kSsid, kWpaTkipPsk, kRsnCcmpPsk}), true, "WPA2-PSK CCMP, WPA-PSK TKIP"},
    };
    for (auto &c : cases) {
        Suites s;
        ASSERT_TRUE(ElementSuites(c.ies.data(), c.ies.size(), &s)) << c.words;
        EXPECT_EQ(c.words, SecurityWords(c.privacy, &s));
        std::vector<WalkChunk> chunks;
        ASSERT_TRUE(SplitWalk(PrintedWalk(c.ies, "home"), &chunks)) << c.words;
        ASSERT_EQ(1u, chunks.size());
        EXPECT_EQ("home", chunks[0].ssid);
        Suites w = WalkSuites(chunks[0].text);
        EXPECT_EQ(c.words, SecurityWords(c.privacy, &w)) << chunks[0].text;
    }
    EXPECT_EQ("privacy, suites not reported", SecurityWords(true, nullptr));
    EXPECT_EQ("open", SecurityWords(false, nullptr));
}

TEST(WlcfgSecurity, CutElementsAndUnsplittableWalksLeaveTheSuitesUnknown)
{
    /* two pairwise suites promised, one present */
    std::vector<uint8_t> cut = {48, 14, 1, 0, 0, 0x0F, 0xAC, 4, 2, 0, 0, 0x0F, 0xAC, 4, 0, 0};
    Suites s;
    EXPECT_FALSE(ElementSuites(cut.data(), cut.size(), &s));
    std::vector<uint8_t> foreign = {48, 6, 1, 0, 0x00, 0x10, 0x18, 4}; /* group suite of another identifier */
    EXPECT_FALSE(ElementSuites(foreign.data(), foreign.size(), &s));

    std::vector<WalkChunk> chunks;
    EXPECT_FALSE(SplitWalk("typ 48\nlen 20\nssid home\n", &chunks)) << "an answer without SSID comes first";
    ASSERT_TRUE(SplitWalk(PrintedWalk(kRsnCcmpPsk, "a") + PrintedWalk({}, "b"), &chunks));
    ASSERT_EQ(2u, chunks.size());
    EXPECT_EQ("b", chunks[1].ssid);
    Suites a = WalkSuites(chunks[0].text), b = WalkSuites(chunks[1].text);
    EXPECT_EQ("WPA2-PSK CCMP", SecurityWords(true, &a));
    EXPECT_EQ("WEP", SecurityWords(true, &b));
}

TEST(WlcfgSecurity, AssociationRequestElementsFollowTheFixedFields)
{
    /* association: reassociation word 0, capability, listen interval */
    std::vector<uint8_t> assoc = Cat({{0, 0, 0x11, 0, 10, 0}, kSsid, kRsnCcmpPsk});
    /* reassociation: the current access point's address comes first */
    std::vector<uint8_t> reassoc = Cat({{1, 0, 0x11, 0, 10, 0, 0, 0x40, 0x96, 1, 2, 3}, kSsid, kWpaTkipPsk});
    Suites s;
    ASSERT_TRUE(AssocRequestSuites(assoc.data(), assoc.size(), &s));
    EXPECT_EQ("WPA2-PSK CCMP", SecurityWords(true, &s));
    ASSERT_TRUE(AssocRequestSuites(reassoc.data(), reassoc.size(), &s));
    EXPECT_EQ("WPA-PSK TKIP", SecurityWords(true, &s));
    EXPECT_FALSE(AssocRequestSuites(reassoc.data(), 10, &s));
    EXPECT_FALSE(AssocRequestSuites(assoc.data(), 5, &s));
}
