/* Coding of the key record and the country record into printable text.
 *
 * A record is scrambled byte by byte with a seed derived from a 12-digit
 * hexadecimal code, then packed six bits per character into the 64
 * characters "&" (38) to "e" (101). The adapter driver reads the same texts
 * from the registry and from the driver channel, so it compiles this very
 * file: it uses no C runtime function and keeps no state.
 *
 * Both routines are bounded by the capacity of their output, whatever the
 * input. They report failure only by a result of 0.
 */
#ifndef WLCORE_WEPCODE_H
#define WLCORE_WEPCODE_H

#ifdef __cplusplus
extern "C" {
#endif

/* The code shared by the library, the configuration utility and the driver. */
#define CRYPT_CODE "5A3C91E07BD4"

/* Number of code characters that go into the seed. */
#define WEP_CODE_LENGTH 12

/* First character of the coding alphabet; the six-bit value v is written as
 * the character WEP_ALPHABET_FIRST + v.
 */
#define WEP_ALPHABET_FIRST 38

/* Length of the coded text of n bytes (without terminator): 4 characters per
 * whole group of 3 bytes, 2 for a remainder of 1 byte, 3 for a remainder of 2.
 */
#define WEP_CODED_LENGTH(n) \
    (((n) / 3) * 4 + ((n) % 3 == 0 ? 0 : (n) % 3 + 1))

/* Size of the plain key record and length of its coded text. */
#define WEP_KEY_RECORD_SIZE 76
#define WEP_KEY_TEXT_LENGTH WEP_CODED_LENGTH(WEP_KEY_RECORD_SIZE)

/* Coded form (with CRYPT_CODE) of the default key record: the tag "whWH",
 * key index 0, encryption off, the default keys record header (33, 0xFCB0)
 * and four empty key slots. WEP_KEY_TEXT_LENGTH characters plus terminator.
 */
extern const char DefaultCodedKey[WEP_KEY_TEXT_LENGTH + 1];

/* Codes the `Length` bytes at `Data` with `Code` into `Text`, which holds
 * `TextSize` characters including the terminator. The text is always
 * terminated when `TextSize` is at least 1; a coded text longer than
 * `TextSize` - 1 characters is cut to what fits. Returns the number of
 * characters written without the terminator. A `Length` of 0 or less or a
 * null `Code` or `Data` gives the empty text and 0; a null `Text` or a
 * `TextSize` of 0 or less gives 0 and nothing is written.
 */
int WEPCode(const char *Code, char *Text, int TextSize, const void *Data,
            int Length);

/* Decodes the zero-terminated `Text` with `Code` into `Data`, which holds
 * `DataSize` bytes. A text of L characters gives 3 * L / 4 bytes (rounded
 * down), of which at most `DataSize` are written; the text is read no
 * further than the group of four characters that gives the last of them.
 * Characters outside the alphabet are taken as (character - 38) mod 64.
 * Returns the number of bytes written: 0 for an empty or one-character text,
 * a null pointer or a `DataSize` of 0 or less.
 */
int WEPDecode(const char *Code, void *Data, int DataSize, const char *Text);

#ifdef __cplusplus
}
#endif

#endif /* WLCORE_WEPCODE_H */
