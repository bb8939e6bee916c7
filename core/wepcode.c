/* Key and country record coding; shared with the driver, so no C runtime. */
#include "wlcore/wepcode.h"

const char DefaultCodedKey[WEP_KEY_TEXT_LENGTH + 1] =
    "OaL+Lc9;[SE_\\<NM]3]D]d)G^T5J_DAM`4"
    "MP`dYSaTeVbE1Yc5=\\ceI_dUUbeEae&&*("
    "&V6+'FB.(6N1)&Z4)W&7*G2:+7>=,'J@,V";

/* Seed byte of a code: s = c + (s XOR c) for each of its first 12
 * characters. A shorter code ends at its terminator.
 */
static unsigned char WEPSeed(const char *Code)
{
    unsigned char s = 0;
    int i;

    for (i = 0; i < WEP_CODE_LENGTH && Code[i] != '\0'; i++) {
        unsigned char c = (unsigned char)Code[i];
        s = (unsigned char)(c + (s ^ c));
    }
    return s;
}

int WEPCode(const char *Code, char *Text, int TextSize, const void *Data,
            int Length)
{
    const unsigned char *in = (const unsigned char *)Data;
    int room;
    int written = 0;
    int i;
    unsigned char s;

    if (Text == 0 || TextSize <= 0)
        return 0;
    Text[0] = '\0';
    if (Code == 0 || Data == 0 || Length <= 0)
        return 0;

    s = WEPSeed(Code);
    room = TextSize - 1;

    /* Groups of up to three scrambled bytes become up to four characters. */
    for (i = 0; i < Length && written < room; i += 3) {
        unsigned char x[3] = {0, 0, 0};
        unsigned char v[4];
        int count = Length - i < 3 ? Length - i : 3;
        int j;

        for (j = 0; j < count; j++)
            x[j] = (unsigned char)(in[i + j] ^ (unsigned char)(s + i + j));

        v[0] = (unsigned char)(x[0] >> 2);
        v[1] = (unsigned char)(((x[0] & 3) << 4) | (x[1] >> 4));
        v[2] = (unsigned char)(((x[1] & 15) << 2) | (x[2] >> 6));
        v[3] = (unsigned char)(x[2] & 63);

        /* A group of n bytes yields n + 1 characters. */
        for (j = 0; j <= count && written < room; j++)
            Text[written++] = (char)(v[j] + WEP_ALPHABET_FIRST);
    }
    Text[written] = '\0';
    return written;
}

int WEPDecode(const char *Code, void *Data, int DataSize, const char *Text)
{
    unsigned char *out = (unsigned char *)Data;
    int written = 0;
    int pos = 0;
    unsigned char s;

    if (Code == 0 || Data == 0 || DataSize <= 0 || Text == 0)
        return 0;

    s = WEPSeed(Code);

    /* Each group of up to four characters gives one byte fewer than it has
     * characters; a lone trailing character gives none.
     */
    while (written < DataSize) {
        unsigned char v[4] = {0, 0, 0, 0};
        unsigned char b[3];
        int count = 0;
        int j;

        while (count < 4 && Text[pos] != '\0') {
            v[count++] = (unsigned char)((unsigned char)Text[pos] -
                                         WEP_ALPHABET_FIRST) & 63;
            pos++;
        }
        if (count < 2)
            break;

        b[0] = (unsigned char)((v[0] << 2) | (v[1] >> 4));
        b[1] = (unsigned char)(((v[1] & 15) << 4) | (v[2] >> 2));
        b[2] = (unsigned char)(((v[2] & 3) << 6) | v[3]);

        for (j = 0; j < count - 1 && written < DataSize; j++) {
            out[written] =
                (unsigned char)(b[j] ^ (unsigned char)(s + written));
            written++;
        }
        if (count < 4)
            break;
    }
    return written;
}
