/*
 * Firmware memory dump text and the answers of memory records.
 */
#include "wlcore/diag_dump.h"

#include <stdio.h>
#include <string.h>

static unsigned Word(const unsigned char *p) { return (unsigned)p[0] | ((unsigned)p[1] << 8); }

void FirmwareDumpAppend(std::string *out, const unsigned char *mem, size_t bytes, uint32_t offset)
{
    char line[64];
    for (size_t block = 0; block < bytes; block += FW_BLOCK_BYTES) {
        for (size_t at = block; at < block + FW_BLOCK_BYTES && at + 16 <= bytes; at += 16) {
            const unsigned char *p = mem + at;
            snprintf(line, sizeof line, "%06X  %04X %04X %04X %04X  %04X %04X %04X %04X\n",
                     (unsigned)(offset + at), Word(p), Word(p + 2), Word(p + 4), Word(p + 6),
                     Word(p + 8), Word(p + 10), Word(p + 12), Word(p + 14));
            out->append(line);
        }
        out->append("\n");
    }
}

bool FirmwareAnswerTake(unsigned char *dst, size_t pieceBytes, const uint16_t *answer, size_t answerWords)
{
    if (answerWords == 0) return true;
    if (2 * answerWords != pieceBytes) return false;
    memcpy(dst, answer, pieceBytes);
    return true;
}
