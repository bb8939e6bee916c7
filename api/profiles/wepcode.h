/* Moved to the core library: include "wlcore/wepcode.h". This forwarder keeps
 * the old spelling building until every file has moved over. */
#include "wlcore/wepcode.h"
