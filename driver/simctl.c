/*
 * simctl.c - console control of the stand-in adapter driver, for scripts
 * and demonstrations.
 *
 * Exit codes: 0 success, 1 usage error, 2 the request failed.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "simclient.h"

#define EXIT_USAGE 1
#define EXIT_FAILED 2

typedef struct Command {
    const char *name;
    int minArgs; /* arguments after the command name */
    int maxArgs;
    int (*run)(int argc, char **argv);
    const char *usage;
} Command;

static const char *const OpNames[WLSIM_OPS] = {"connect",       "disconnect", "action",
                                               "send_diag_msg", "get_info",   "put_info"};

static int Failed(void)
{
    fprintf(stderr, "simctl: %s\n", SimLastErrorText());
    return EXIT_FAILED;
}

/* Parses a whole number (decimal, 0x hexadecimal) within [lo, hi]. */
static int ParseNumber(const char *text, long lo, long hi, long *out)
{
    char *end;
    long v = strtol(text, &end, 0);
    if (end == text || *end != '\0' || v < lo || v > hi) {
        fprintf(stderr, "simctl: bad number \"%s\" (%ld to %ld)\n", text, lo, hi);
        return 0;
    }
    *out = v;
    return 1;
}

/* An operation by code or name. */
static int ParseOp(const char *text, int *op)
{
    long v;
    int i;
    for (i = 0; i < WLSIM_OPS; i++)
        if (strcmp(text, OpNames[i]) == 0) {
            *op = i;
            return 1;
        }
    if (!ParseNumber(text, 0, WLSIM_OPS - 1, &v))
        return 0;
    *op = (int)v;
    return 1;
}

static int ParseAdapter(const char *text, int *adapter)
{
    long v;
    if (!ParseNumber(text, -1, WLSIM_MAX_ADAPTERS - 1, &v))
        return 0;
    *adapter = (int)v;
    return 1;
}

/* ---- commands --------------------------------------------------------- */

static int CmdInstall(int argc, char **argv)
{
    (void)argc;
    return SimEnsureStarted(argv[0]) ? Failed() : 0;
}

static int CmdReset(int argc, char **argv)
{
    (void)argc;
    (void)argv;
    return SimReset() ? Failed() : 0;
}

static int CmdAdd(int argc, char **argv)
{
    char list[WLSIM_NAMES_PER_ADD * WLSIM_NAME_CHARS];
    const char *names[WLSIM_NAMES_PER_ADD];
    char *p;
    int n = 0, adapter;

    (void)argc;
    if (strlen(argv[0]) >= sizeof list) {
        fprintf(stderr, "simctl: name list too long\n");
        return EXIT_USAGE;
    }
    strcpy(list, argv[0]);
    for (p = strtok(list, ","); p; p = strtok(NULL, ",")) {
        if (n == WLSIM_NAMES_PER_ADD) {
            fprintf(stderr, "simctl: at most %d names\n", WLSIM_NAMES_PER_ADD);
            return EXIT_USAGE;
        }
        names[n++] = p;
    }
    if (SimAddAdapter(names, n, &adapter))
        return Failed();
    printf("%d\n", adapter);
    return 0;
}

static int CmdRemove(int argc, char **argv)
{
    int adapter;
    (void)argc;
    if (!ParseAdapter(argv[0], &adapter))
        return EXIT_USAGE;
    return SimRemoveAdapter(adapter) ? Failed() : 0;
}

static int CmdMap(int argc, char **argv)
{
    int adapter;
    (void)argc;
    if (!ParseAdapter(argv[0], &adapter))
        return EXIT_USAGE;
    return SimMapName(adapter, argv[1]) ? Failed() : 0;
}

static int CmdSet(int argc, char **argv)
{
    static uint16_t ltv[2 + WLSIM_VAL_WORDS];
    int adapter, i;
    long v;

    if (!ParseAdapter(argv[0], &adapter) || !ParseNumber(argv[1], 0, 0xFFFF, &v))
        return EXIT_USAGE;
    ltv[0] = (uint16_t)(argc - 1);
    ltv[1] = (uint16_t)v;
    for (i = 2; i < argc; i++) {
        if (!ParseNumber(argv[i], 0, 0xFFFF, &v))
            return EXIT_USAGE;
        ltv[i] = (uint16_t)v;
    }
    return SimSetRecord(adapter, ltv) ? Failed() : 0;
}

static int CmdGet(int argc, char **argv)
{
    static uint16_t ltv[2 + WLSIM_VAL_WORDS];
    int adapter, i;
    long v;

    (void)argc;
    if (!ParseAdapter(argv[0], &adapter) || !ParseNumber(argv[1], 0, 0xFFFF, &v))
        return EXIT_USAGE;
    if (SimGetRecord(adapter, (uint16_t)v, ltv, 2 + WLSIM_VAL_WORDS))
        return Failed();
    printf("len %u typ 0x%04X", ltv[0], ltv[1]);
    for (i = 0; i < ltv[0] - 1; i++)
        printf(" 0x%04X", ltv[2 + i]);
    printf("\n");
    return 0;
}

static int CmdDelete(int argc, char **argv)
{
    int adapter;
    long v;
    (void)argc;
    if (!ParseAdapter(argv[0], &adapter) || !ParseNumber(argv[1], 0, 0xFFFF, &v))
        return EXIT_USAGE;
    return SimDeleteRecord(adapter, (uint16_t)v) ? Failed() : 0;
}

/* Arms a fault of the stand-in; the command's exit code. */
static int Arm(int op, int kind, long count, uint32_t value, int adapter)
{
    WlSimFault f;
    f.op = op;
    f.kind = kind;
    f.count = (int32_t)count;
    f.value = value;
    f.adapter = adapter;
    return SimArmFault(&f) ? Failed() : 0;
}

/* fault <op> <count> <result> [adapter] */
static int CmdFault(int argc, char **argv)
{
    long count, value;
    int op, adapter = WLSIM_ANY_ADAPTER;

    if (!ParseOp(argv[0], &op) || !ParseNumber(argv[1], 0, 1000000, &count) ||
        !ParseNumber(argv[2], 0, 0xFFFF, &value) || (argc > 3 && !ParseAdapter(argv[3], &adapter)))
        return EXIT_USAGE;
    return Arm(op, WLSIM_FAULT_RESULT, count, (uint32_t)value, adapter);
}

/* failcall <op> <count> [ntstatus] [adapter] */
static int CmdFailCall(int argc, char **argv)
{
    long count;
    unsigned long status = 0;
    int op, adapter = WLSIM_ANY_ADAPTER;
    char *end;

    if (!ParseOp(argv[0], &op) || !ParseNumber(argv[1], 0, 1000000, &count))
        return EXIT_USAGE;
    if (argc > 2) {
        status = strtoul(argv[2], &end, 0);
        if (end == argv[2] || *end) {
            fprintf(stderr, "simctl: bad status \"%s\"\n", argv[2]);
            return EXIT_USAGE;
        }
    }
    if (argc > 3 && !ParseAdapter(argv[3], &adapter))
        return EXIT_USAGE;
    return Arm(op, WLSIM_FAULT_FAIL_CALL, count, (uint32_t)status, adapter);
}

/* truelen <count> [adapter] */
static int CmdTrueLen(int argc, char **argv)
{
    long count;
    int adapter = WLSIM_ANY_ADAPTER;

    if (!ParseNumber(argv[0], 0, 1000000, &count) || (argc > 1 && !ParseAdapter(argv[1], &adapter)))
        return EXIT_USAGE;
    return Arm(WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, count, 0, adapter);
}

/* short <op> <count> <bytes> [adapter] */
static int CmdShort(int argc, char **argv)
{
    long count, bytes;
    int op, adapter = WLSIM_ANY_ADAPTER;

    if (!ParseOp(argv[0], &op) || !ParseNumber(argv[1], 0, 1000000, &count) ||
        !ParseNumber(argv[2], 0, WLSIM_BLOCK_SIZE - 1, &bytes) || (argc > 3 && !ParseAdapter(argv[3], &adapter)))
        return EXIT_USAGE;
    return Arm(op, WLSIM_FAULT_SHORT_ANSWER, count, (uint32_t)bytes, adapter);
}

static int CmdCounters(int argc, char **argv)
{
    static WlSimCounters c;
    int i;

    (void)argc;
    (void)argv;
    if (SimCounters(&c))
        return Failed();
    printf("exchanges %lu refused %lu failed-calls %lu fault-results %lu len-errors %lu "
           "bad-function %lu\n",
           (unsigned long)c.exchanges, (unsigned long)c.refused, (unsigned long)c.failedCalls,
           (unsigned long)c.faultResults, (unsigned long)c.lenErrors,
           (unsigned long)c.badFunction);
    for (i = 0; i < WLSIM_OPS; i++)
        printf("op %d %-13s %lu\n", i, OpNames[i], (unsigned long)c.ops[i]);
    for (i = 0; i < c.nTypes; i++)
        printf("type 0x%04X get %lu put %lu\n", c.types[i].typ, (unsigned long)c.types[i].gets,
               (unsigned long)c.types[i].puts);
    for (i = 0; i < c.nActions; i++)
        printf("action %u count %lu\n", c.actions[i].code, (unsigned long)c.actions[i].count);
    if (c.typesDropped || c.actionsDropped)
        printf("not counted: types %lu actions %lu\n", (unsigned long)c.typesDropped,
               (unsigned long)c.actionsDropped);
    return 0;
}

static int CmdLog(int argc, char **argv)
{
    static WlSimExchangeLog log;
    int i;

    (void)argc;
    (void)argv;
    if (SimLastExchanges(&log))
        return Failed();
    printf("%lu exchanges, last %d:\n", (unsigned long)log.total, log.n);
    for (i = 0; i < log.n; i++) {
        const WlSimExchange *x = &log.e[i];
        printf("%6lu adapter %d op %-13s typ 0x%04X len %u -> %u result %u%s%s%s%s%s\n",
               (unsigned long)x->seq, x->adapter, x->op < WLSIM_OPS ? OpNames[x->op] : "-",
               x->typ, x->lenIn, x->lenOut, x->result,
               (x->flags & WLSIM_X_REFUSED) ? " refused" : "",
               (x->flags & WLSIM_X_FAILED_CALL) ? " failed-call" : "",
               (x->flags & WLSIM_X_FAULT_RESULT) ? " fault-result" : "",
               (x->flags & WLSIM_X_TRUE_LEN) ? " true-len" : "",
               (x->flags & WLSIM_X_SHORT) ? " short" : "");
    }
    return 0;
}

static int CmdClearLog(int argc, char **argv)
{
    (void)argc;
    (void)argv;
    return SimClearLog() ? Failed() : 0;
}

static int CmdState(int argc, char **argv)
{
    WlSimAdapterState s;
    int adapter;

    (void)argc;
    if (!ParseAdapter(argv[0], &adapter))
        return EXIT_USAGE;
    if (SimAdapterState(adapter, &s))
        return Failed();
    printf("adapter %d connected %d blocked %d applied %d records %d names %d\n", s.adapter,
           s.connected, s.blocked, s.applied, s.nRecords, s.nNames);
    printf("connects %lu disconnects %lu gets %lu puts %lu unapplied-puts %lu\n",
           (unsigned long)s.connects, (unsigned long)s.disconnects, (unsigned long)s.gets,
           (unsigned long)s.puts, (unsigned long)s.unappliedPuts);
    printf("applies %lu resets %lu blocks %lu unblocks %lu other-actions %lu diag %lu\n",
           (unsigned long)s.applies, (unsigned long)s.resets, (unsigned long)s.blocks,
           (unsigned long)s.unblocks, (unsigned long)s.otherActions, (unsigned long)s.diagMsgs);
    printf("opens %lu open-handles %d\n", (unsigned long)s.opens, s.openHandles);
    return 0;
}

static int CmdDiag(int argc, char **argv)
{
    static WlSimDiagMsg m;
    int adapter, i;
    long back = 0;

    if (!ParseAdapter(argv[0], &adapter) ||
        (argc > 1 && !ParseNumber(argv[1], 0, WLSIM_DIAG_KEEP - 1, &back)))
        return EXIT_USAGE;
    if (SimDiagMessage(adapter, (int)back, &m))
        return Failed();
    printf("message %lu (%d kept), %d bytes:", (unsigned long)m.seq, m.kept, m.len);
    for (i = 0; i < m.len; i++)
        printf("%s%02X", (i % 16) ? " " : "\n ", m.bytes[i]);
    printf("\n");
    return 0;
}

static int CmdNames(int argc, char **argv)
{
    static WlSimNameList l;
    int i;

    (void)argc;
    (void)argv;
    if (SimNames(&l))
        return Failed();
    for (i = 0; i < l.n; i++)
        printf("%d %s\n", l.e[i].adapter, l.e[i].name);
    return 0;
}

/* ---- the radio world ----------------------------------------------------- */

static int ParseMac(const char *text, uint8_t *mac)
{
    unsigned v[6];
    int i;
    char tail;
    if (sscanf(text, "%x:%x:%x:%x:%x:%x%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &tail) != 6) {
        fprintf(stderr, "simctl: bad address \"%s\" (xx:xx:xx:xx:xx:xx)\n", text);
        return 0;
    }
    for (i = 0; i < 6; i++) {
        if (v[i] > 0xFF)
            return 0;
        mac[i] = (uint8_t)v[i];
    }
    return 1;
}

static const char *const Securities[] = {"open", "wep", "wpa", "wpa2"};

/* station <bssid> <ssid> <channel> <signal> <noise> ap|peer open|wep|wpa|wpa2
 *         [name] [out] */
static int CmdStation(int argc, char **argv)
{
    WlSimStation st;
    uint8_t bssid[6];
    long channel, level1, level2;
    int peer, security = -1, i;

    if (!ParseMac(argv[0], bssid) || !ParseNumber(argv[2], 1, 200, &channel) ||
        !ParseNumber(argv[3], 0, 255, &level1) || !ParseNumber(argv[4], 0, 255, &level2))
        return EXIT_USAGE;
    if (strcmp(argv[5], "ap") != 0 && strcmp(argv[5], "peer") != 0) {
        fprintf(stderr, "simctl: kind \"%s\" is neither ap nor peer\n", argv[5]);
        return EXIT_USAGE;
    }
    peer = strcmp(argv[5], "peer") == 0;
    for (i = 0; i < 4; i++)
        if (strcmp(argv[6], Securities[i]) == 0)
            security = i;
    if (security < 0) {
        fprintf(stderr, "simctl: security \"%s\" is none of open, wep, wpa, wpa2\n", argv[6]);
        return EXIT_USAGE;
    }
    if (SimStationMake(&st, bssid, argv[1], (int)channel, (int)level1, (int)level2, peer, security,
                       argc > 7 ? argv[7] : argv[1]))
        return Failed();
    if (argc > 8) {
        if (strcmp(argv[8], "out") != 0) {
            fprintf(stderr, "simctl: the last argument can only be \"out\"\n");
            return EXIT_USAGE;
        }
        st.inRange = 0;
    }
    return SimPutStation(&st) ? Failed() : 0;
}

static int CmdUnstation(int argc, char **argv)
{
    uint8_t bssid[6];
    (void)argc;
    if (!ParseMac(argv[0], bssid))
        return EXIT_USAGE;
    return SimRemoveStation(bssid) ? Failed() : 0;
}

static int CmdMailbox(int argc, char **argv)
{
    WlSimMailboxState m;
    int adapter;
    (void)argc;
    if (!ParseAdapter(argv[0], &adapter))
        return EXIT_USAGE;
    if (SimMailboxState(adapter, &m))
        return Failed();
    printf("queued %d held %d sticky %d pushed %lu taken %lu dropped %lu empty reads %lu\n",
           (int)m.queued, (int)m.held, (int)m.sticky, (unsigned long)m.pushed,
           (unsigned long)m.taken, (unsigned long)m.dropped, (unsigned long)m.emptyReads);
    printf("scans %lu answers %lu port status %u joined %02X:%02X:%02X:%02X:%02X:%02X\n",
           (unsigned long)m.scans, (unsigned long)m.wmpAnswers, (unsigned)m.portStatus,
           m.joinedBssid[0], m.joinedBssid[1], m.joinedBssid[2], m.joinedBssid[3],
           m.joinedBssid[4], m.joinedBssid[5]);
    return 0;
}

/* linkshape <drop-percent> <delay-reads> */
static int CmdLinkShape(int argc, char **argv)
{
    long drop, delay;
    (void)argc;
    if (!ParseNumber(argv[0], 0, 100, &drop) || !ParseNumber(argv[1], 0, WLSIM_LINK_DELAY_MAX, &delay))
        return EXIT_USAGE;
    return SimLinkShape((unsigned)drop, (unsigned)delay) ? Failed() : 0;
}

static const Command Commands[] = {
    {"install", 1, 1, CmdInstall, "install <path-to-wlsim.sys>   create and start the service"},
    {"reset", 0, 0, CmdReset, "reset                         remove all adapters, clear all"},
    {"add", 1, 1, CmdAdd, "add <name>[,<name>...]        add an adapter, print its index"},
    {"remove", 1, 1, CmdRemove, "remove <adapter>"},
    {"map", 2, 2, CmdMap, "map <adapter|-1> <name>       point a device name at an adapter"},
    {"set", 2, 2 + WLSIM_VAL_WORDS, CmdSet, "set <adapter> <type> <word>..."},
    {"get", 2, 2, CmdGet, "get <adapter> <type>"},
    {"del", 2, 2, CmdDelete, "del <adapter> <type>"},
    {"fault", 3, 4, CmdFault, "fault <op> <count> <result> [adapter]"},
    {"failcall", 2, 4, CmdFailCall, "failcall <op> <count> [ntstatus] [adapter]"},
    {"truelen", 1, 2, CmdTrueLen, "truelen <count> [adapter]     get_info answers whole records"},
    {"short", 3, 4, CmdShort, "short <op> <count> <bytes> [adapter]  answers report fewer bytes"},
    {"counters", 0, 0, CmdCounters, "counters"},
    {"log", 0, 0, CmdLog, "log                           the last exchanges"},
    {"clearlog", 0, 0, CmdClearLog, "clearlog"},
    {"state", 1, 1, CmdState, "state <adapter>"},
    {"diag", 1, 2, CmdDiag, "diag <adapter> [back]         a kept diagnostic message"},
    {"names", 0, 0, CmdNames, "names                         device names and their adapters"},
    {"station", 7, 9, CmdStation,
     "station <bssid> <ssid> <channel> <signal> <noise> ap|peer open|wep|wpa|wpa2 [name] [out]"},
    {"unstation", 1, 1, CmdUnstation, "unstation <bssid>             remove a station"},
    {"mailbox", 1, 1, CmdMailbox, "mailbox <adapter>             mailbox and link state"},
    {"linkshape", 2, 2, CmdLinkShape,
     "linkshape <drop%> <reads>     link test answers dropped and delayed by mailbox reads"},
};

static int Usage(void)
{
    size_t i;
    fprintf(stderr, "usage: simctl <command> [arguments]\n");
    for (i = 0; i < sizeof Commands / sizeof Commands[0]; i++)
        fprintf(stderr, "  %s\n", Commands[i].usage);
    fprintf(stderr, "<op> is 0 to 5 or connect, disconnect, action, send_diag_msg, get_info, "
                    "put_info\n");
    return EXIT_USAGE;
}

int main(int argc, char **argv)
{
    size_t i;

    if (argc < 2)
        return Usage();
    for (i = 0; i < sizeof Commands / sizeof Commands[0]; i++) {
        const Command *c = &Commands[i];
        if (strcmp(argv[1], c->name) != 0)
            continue;
        if (argc - 2 < c->minArgs || argc - 2 > c->maxArgs) {
            fprintf(stderr, "usage: simctl %s\n", c->usage);
            return EXIT_USAGE;
        }
        /* the driver's state lives only as long as its host process:
           start it again when needed */
        if (c->run != CmdInstall && SimEnsureStarted(NULL))
            return Failed();
        return c->run(argc - 2, argv + 2);
    }
    fprintf(stderr, "simctl: unknown command \"%s\"\n", argv[1]);
    return Usage();
}
