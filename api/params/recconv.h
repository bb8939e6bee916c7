/* Moved to the core library: include "wlcore/recconv.h". This forwarder keeps
 * the old spelling building until every file has moved over. */
#include "wlcore/recconv.h"
