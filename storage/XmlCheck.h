#pragma once

#include <optional>
#include <string>
#include <string_view>

struct XmlProblem {
    int line;           // from 1
    std::string reason; // for the user
};

// The first thing that keeps the bytes from being a well-formed XML
// document, or nothing. It checks what a stylesheet's author gets wrong:
// tags that do not close or close out of order, unquoted attributes, a bare
// "<" or "&", text after the root; not DTDs, names or encodings.
std::optional<XmlProblem> FindXmlProblem(std::string_view xml);
