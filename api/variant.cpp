/* The variant this library file is built for; compiled once per variant. */
#include "wlvariant.h"

#define WL_STR2(x) #x
#define WL_STR(x) WL_STR2(x)

const WLVariant g_Variant = {WL_STR(WL_VARIANT_LETTER)[0], WL_VARIANT_NUMBER,
                             "WAVXQ48" WL_STR(WL_VARIANT_LETTER)};
