/* Reads an XML document into its elements with Windows' XmlLite (loaded at
 * run time): namespaces resolved to local names, no DTDs, depth bounded. */
#ifndef WLCFG_XMLREAD_H
#define WLCFG_XMLREAD_H

#include "profile_io.h"

/* Milliseconds the reader is given before the document is refused. */
const unsigned kXmlReadTimeoutMs = 3000;

bool XmlReadElements(const std::string &bytes, std::vector<XmlElement> *out, std::string *why);

#endif
