/* Moved to the core library: include "wlcore/country_tables.h". This forwarder keeps
 * the old spelling building until every file has moved over. */
#include "wlcore/country_tables.h"
