#pragma once

#include <string>

struct TransformResult {
    bool done = false;
    std::string html;   // UTF-8, declared as such
    std::string reason; // why not, for the user: the parser's reason and line
};

// Applies the stylesheet file to the XML file with the platform's XML
// library (MSXML 6, else MSXML 3).
TransformResult TransformXmlFile(const std::string& xmlPath, const std::string& stylesheetPath);
