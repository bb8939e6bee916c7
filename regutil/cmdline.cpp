/* Command table and argument rules of the utility. */
#include "cmdline.h"

#include <string.h>

static const char kNoMac[] = "XXXXXXXXXXXX";

int DigitsValue(const char *s, int max)
{
    int v = 0;
    if (s[0] == '\0')
        return -1;
    for (; *s; s++) {
        if (*s < '0' || *s > '9')
            return -1;
        v = v * 10 + (*s - '0');
        if (v > max)
            return -1;
    }
    return v;
}

static int NoOperands(int, const char *const *, ParsedCommand *)
{
    return EXIT_DONE;
}

/* "H" [N]: 0 to 99, digits only; none = the running configuration. */
static int NameOperands(int argc, const char *const *argv, ParsedCommand *out)
{
    out->number = 0;
    if (argc == 3) {
        out->number = DigitsValue(argv[2], PROFILE_MAX);
        if (out->number < 0)
            return EXIT_BAD_ARGS;
    }
    return EXIT_DONE;
}

/* "R"/"O" 0|1|2: only the first character counts. */
static int SwitchOperands(int, const char *const *argv, ParsedCommand *out)
{
    const char c = argv[2][0];
    if (c != '0' && c != '1' && c != '2')
        return EXIT_BAD_ARGS;
    out->number = c - '0';
    return EXIT_DONE;
}

/* "E"/"e" TEXT [N]: a coded text of exactly 102 characters, profile 1 to 99
 * (digits only), profile 1 when absent. */
static int StoreOperands(int argc, const char *const *argv, ParsedCommand *out)
{
    if (BoundedLength(argv[2], KEY_TEXT_LENGTH) != KEY_TEXT_LENGTH)
        return EXIT_BAD_ARGS;
    out->operand = argv[2];
    out->number = 1;
    if (argc == 4) {
        out->number = DigitsValue(argv[3], PROFILE_MAX);
        if (out->number < 1)
            return EXIT_BAD_ARGS;
    }
    return EXIT_DONE;
}

/* "W"/"w" KEY [PROFILE]: the profile operand now, the key's form later. */
static int KeyOperands(int argc, const char *const *argv, ParsedCommand *out)
{
    out->operand = argv[2];
    out->profile.kind = PROFILE_DEFAULT;
    if (argc == 4) {
        const int v = DigitsValue(argv[3], PROFILE_MAX);
        out->profile.kind = v >= 0 ? PROFILE_NUMBER : PROFILE_NAME;
        out->profile.number = v;
        out->profile.name = argv[3];
    }
    const bool ok = out->command == 'W' ? KeyFromAscii(argv[2], &out->key)
                                        : KeyFromHex(argv[2], &out->key);
    out->keyExit = ok ? EXIT_DONE : EXIT_BAD_ARGS;
    return EXIT_DONE;
}

/* "K" TXKEY KEY1 KEY2 KEY3 KEY4: the record for profile 1, built from the
 * default record. */
static int KeysOperands(int, const char *const *argv, ParsedCommand *out)
{
    const char *tx = argv[2];
    if (tx[0] < '1' || tx[0] > '4' || tx[1] != '\0')
        return EXIT_BAD_ARGS;
    KeyRecord rec = KeyRecordDefault();
    KeyRecordSetTag(&rec);
    out->number = tx[0] - '1';
    KeyRecordSetWord(&rec, KEY_OFF_KEYID, (uint16_t)out->number);
    KeyRecordSetWord(&rec, KEY_OFF_SWITCH, 1);
    for (int slot = 0; slot < KEY_SLOTS; slot++) {
        KeyBytes key;
        if (!KeyFromKOperand(argv[3 + slot], &key))
            return EXIT_BAD_ARGS;
        KeyRecordSetSlot(&rec, slot, key);
    }
    out->record = rec;
    return EXIT_DONE;
}

/* letter, argument counts (with the program name), text printed when they
 * do not match, operand rule. */
static const CommandSpec kCommands[] = {
    {'#', 2, 2, NULL, NoOperands},      /* count the adapters */
    {'@', 2, 2, NULL, NoOperands},      /* companion client installed? */
    {'V', 2, 2, NULL, NoOperands},      /* version line */
    {'M', 2, 2, kNoMac, NoOperands},    /* MAC address from the driver */
    {'H', 2, 3, NULL, NameOperands},    /* network name */
    {'R', 3, 3, NULL, SwitchOperands},  /* radio on, off, query */
    {'O', 3, 3, NULL, SwitchOperands},  /* wake-on-LAN on, off, query */
    {'E', 3, 4, NULL, StoreOperands},   /* store a coded key text */
    {'e', 3, 4, NULL, StoreOperands},   /* store it and send it */
    {'W', 3, 4, NULL, KeyOperands},     /* key 1 from ASCII */
    {'w', 3, 4, NULL, KeyOperands},     /* key 1 from hex digits */
    {'K', 7, 7, NULL, KeysOperands},    /* four keys and the KeyId */
};

const CommandSpec *CommandTable(int *count)
{
    *count = (int)(sizeof kCommands / sizeof kCommands[0]);
    return kCommands;
}

const CommandSpec *FindCommand(char letter)
{
    for (const CommandSpec &c : kCommands)
        if (c.letter == letter)
            return &c;
    return NULL;
}

void ParseCommandLine(int argc, const char *const *argv, ParsedCommand *out)
{
    memset(out, 0, sizeof *out);
    if (argc < 2) {
        out->exitCode = EXIT_NO_COMMAND;
        return;
    }
    if (BoundedLength(argv[1], 1) > 1) {
        out->exitCode = EXIT_BAD_ARGS;
        return;
    }
    const CommandSpec *spec = FindCommand(argv[1][0]);
    if (spec == NULL || argv[1][0] == '\0') {
        out->exitCode = EXIT_NO_COMMAND;
        return;
    }
    out->command = spec->letter;
    if (argc < spec->minArgs || argc > spec->maxArgs) {
        out->exitCode = EXIT_BAD_ARGS;
        out->text = spec->badArgsText;
        return;
    }
    out->exitCode = spec->operands(argc, argv, out);
    if (out->exitCode != EXIT_DONE)
        out->text = spec->badArgsText;
}

/* The lowest existing profile, or 0 when there is none. */
static int FirstProfile(const char *const names[PROFILE_MAX + 1])
{
    for (int n = 1; n <= PROFILE_MAX; n++)
        if (names[n] != NULL)
            return n;
    return 0;
}

int ResolveProfile(const ProfileOperand &op, const char *const names[PROFILE_MAX + 1],
                   int *profile)
{
    switch (op.kind) {
    case PROFILE_DEFAULT:
        *profile = FirstProfile(names);
        return EXIT_DONE;
    case PROFILE_NUMBER:
        *profile = op.number == 0 ? FirstProfile(names) : op.number;
        return EXIT_DONE;
    default:
        for (int n = 1; n <= PROFILE_MAX; n++)
            if (names[n] != NULL && strcmp(names[n], op.name) == 0) {
                *profile = n;
                return EXIT_DONE;
            }
        return EXIT_BAD_ARGS;
    }
}
