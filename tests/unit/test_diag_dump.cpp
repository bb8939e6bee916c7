/* Firmware dump text and the answers of memory records. */
#include <gtest/gtest.h>

#include <vector>

#include "wlcore/diag_dump.h"

TEST(FirmwareDump, BlockGivesEightLinesAndABlankLine)
{
    std::vector<unsigned char> mem(256);
    for (size_t i = 0; i < mem.size(); i++) mem[i] = (unsigned char)i;
    std::string text;
    FirmwareDumpAppend(&text, mem.data(), mem.size(), 0x1F4000);
    EXPECT_EQ(0u, text.find("1F4000  0100 0302 0504 0706  0908 0B0A 0D0C 0F0E\n"
                            "1F4010  1110 1312 1514 1716  1918 1B1A 1D1C 1F1E\n"));
    EXPECT_NE(std::string::npos, text.find("1F4070  7170 7372 7574 7776  7978 7B7A 7D7C 7F7E\n\n"
                                           "1F4080  8180 "));
    EXPECT_EQ(18, std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(text.size() - 2, text.find("\n\n", text.size() - 3));
}

TEST(FirmwareDump, PartBlockGivesWholeLinesOnly)
{
    std::vector<unsigned char> mem(40, 0xAB);
    std::string text;
    FirmwareDumpAppend(&text, mem.data(), mem.size(), 0);
    EXPECT_EQ("000000  ABAB ABAB ABAB ABAB  ABAB ABAB ABAB ABAB\n"
              "000010  ABAB ABAB ABAB ABAB  ABAB ABAB ABAB ABAB\n\n",
              text);
    text.clear();
    FirmwareDumpAppend(&text, mem.data(), 0, 0);
    EXPECT_EQ("", text);
}

TEST(FirmwareDump, AnswerIsNoneOrTheWholePiece)
{
    std::vector<unsigned char> dst(8, 0xEE);
    const uint16_t answer[4] = {0x0201, 0x0403, 0x0605, 0x0807};
    EXPECT_TRUE(FirmwareAnswerTake(dst.data(), 8, answer, 0)); // written by the driver itself
    EXPECT_EQ(std::vector<unsigned char>(8, 0xEE), dst);
    EXPECT_FALSE(FirmwareAnswerTake(dst.data(), 8, answer, 3)); // part of it
    EXPECT_FALSE(FirmwareAnswerTake(dst.data(), 6, answer, 4)); // more than the piece
    EXPECT_EQ(std::vector<unsigned char>(8, 0xEE), dst);
    EXPECT_TRUE(FirmwareAnswerTake(dst.data(), 8, answer, 4));
    EXPECT_EQ(std::vector<unsigned char>({1, 2, 3, 4, 5, 6, 7, 8}), dst);
}
