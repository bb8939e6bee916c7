/* Moved to the core library: include "wlcore/ie_parse.h". This forwarder keeps
 * the old spelling building until every file has moved over. */
#include "wlcore/ie_parse.h"
