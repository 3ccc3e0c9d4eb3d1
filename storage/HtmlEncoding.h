#pragma once

#include <string>

// The page as UTF-8 bytes says so: the charset that a transform declared
// (an XSLT processor names the encoding of the string it returned, such as
// UTF-16) becomes UTF-8, and a page that declares none gets a declaration
// at the start of its head.
std::string DeclareUtf8(std::string html);
