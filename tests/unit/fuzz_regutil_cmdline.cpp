/* Generated command lines against the utility's parser: every result is one
 * of the documented exit codes and the parsed operands have their forms. */
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "regutil/cmdline.h"

static std::string Fragment(std::mt19937 &rng)
{
    static const char *const pieces[] = {
        "", "-", "0", "1", "2", "3", "4", "9", "99", "100", "150", "007", "1abc", "0x", "0X",
        "abcde", "abcdefghijklm", "0A1B2C3D4E", "0x0102030405", "Home", "\xE4\xBD\xA0", "\x81",
        "#", "@", "V", "M", "H", "R", "O", "E", "e", "W", "w", "K", "%s", "\\", " ",
    };
    std::string s;
    const int parts = (int)(rng() % 4);
    for (int i = 0; i < parts; i++) {
        if (rng() % 5 == 0) {
            const int n = (int)(rng() % 120);
            for (int k = 0; k < n; k++) s.push_back((char)(1 + rng() % 255));
        } else {
            s += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        }
    }
    if (rng() % 8 == 0) s = std::string(rng() % 2 ? 102 : 101 + rng() % 3, (char)('&' + rng() % 64));
    return s;
}

TEST(RegutilFuzz, HundredThousandCommandLines)
{
    std::mt19937 rng(20261209);
    static const char kCommands[] = "#@VMHROEeWwKZ";
    long accepted = 0;
    for (int iter = 0; iter < 100000; iter++) {
        std::vector<std::string> args = {"WCVXQ48E.EXE"};
        const int n = (int)(rng() % 8);
        for (int i = 0; i < n; i++) {
            if (i == 0 && rng() % 4 != 0)
                args.push_back(std::string(1, kCommands[rng() % (sizeof kCommands - 1)]));
            else
                args.push_back(Fragment(rng));
        }
        std::vector<const char *> argv;
        for (const std::string &a : args) argv.push_back(a.c_str());
        ParsedCommand cmd;
        ParseCommandLine((int)argv.size(), argv.data(), &cmd);
        const int e = cmd.exitCode;
        ASSERT_TRUE(e == 0 || e == 1 || e == 4) << "iteration " << iter << " exit " << e;
        if (e != 0) {
            ASSERT_TRUE(cmd.text == NULL || (cmd.command == 'M' && e == 4)) << iter;
            continue;
        }
        accepted++;
        ASSERT_NE(nullptr, FindCommand(cmd.command)) << iter;
        switch (cmd.command) {
        case 'H':
            ASSERT_TRUE(cmd.number >= 0 && cmd.number <= 99);
            break;
        case 'E':
        case 'e':
            ASSERT_TRUE(cmd.number >= 1 && cmd.number <= 99);
            ASSERT_EQ(102u, strlen(cmd.operand));
            break;
        case 'R':
        case 'O':
            ASSERT_TRUE(cmd.number >= 0 && cmd.number <= 2);
            break;
        case 'W':
        case 'w': {
            ASSERT_TRUE(cmd.keyExit == 0 || cmd.keyExit == 4);
            if (cmd.keyExit == 0) {
                ASSERT_TRUE(cmd.key.len == 5 || cmd.key.len == 13);
            }
            const char *names[PROFILE_MAX + 1] = {NULL};
            names[1 + rng() % 99] = args.back().c_str();
            int profile = -1;
            const int r = ResolveProfile(cmd.profile, names, &profile);
            ASSERT_TRUE(r == 4 || (r == 0 && profile >= 0 && profile <= 99));
            break;
        }
        case 'K':
            ASSERT_TRUE(cmd.number >= 0 && cmd.number <= 3);
            for (int s = 0; s < KEY_SLOTS; s++) {
                const int len = KeyRecordWord(cmd.record, KEY_OFF_SLOTS + 16 * s);
                ASSERT_TRUE(len == 0 || len == 5 || len == 13) << iter;
            }
            break;
        default:
            break;
        }
    }
    EXPECT_GT(accepted, 1000) << "the generator reaches the commands";
}
