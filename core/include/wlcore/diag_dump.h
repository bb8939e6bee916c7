/*
 * Firmware memory dump: the text form of adapter memory and the pieces in
 * which it is read. Pure logic over byte spans.
 */
#ifndef DIAG_DUMP_H
#define DIAG_DUMP_H

#include <stddef.h>
#include <stdint.h>

#include <string>

#define FW_BLOCK_BYTES 128u
/* Blocks one memory record answers at most when the driver carries the
 * bytes in the record itself: 4 request words and 64 words per block must
 * fit the 4096 value words of the interface block. */
#define FW_BLOCKS_PER_READ 63u

/*
 * Appends the dump text of `bytes` bytes of memory that start at memory
 * byte offset `offset`: per 128-byte block eight lines
 * "%06X  %04X %04X %04X %04X  %04X %04X %04X %04X\n" (the line's memory
 * offset and its eight 16-bit words, low byte first) and then "\n". A last
 * part shorter than a block gives its whole lines only.
 */
void FirmwareDumpAppend(std::string *out, const unsigned char *mem, size_t bytes, uint32_t offset);

/*
 * Copies the bytes a memory record answered into the destination of the
 * piece: `answerWords` the record's value words after the four request
 * words. A driver that wrote the memory itself answers none; any other
 * answer must carry the whole piece. Answers whether the piece is complete.
 */
bool FirmwareAnswerTake(unsigned char *dst, size_t pieceBytes, const uint16_t *answer, size_t answerWords);

#endif
