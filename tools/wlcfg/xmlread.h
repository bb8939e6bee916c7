/* Reads an XML document into its elements with Windows' XmlLite (loaded at
 * run time): namespaces resolved to local names, no DTDs, depth bounded. */
#ifndef WLCFG_XMLREAD_H
#define WLCFG_XMLREAD_H

#include "profile_io.h"

bool XmlReadElements(const std::string &bytes, std::vector<XmlElement> *out, std::string *why);

#endif
