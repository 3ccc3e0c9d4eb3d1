#pragma once

#include <functional>
#include <string>

// Whether a Windows path names its place without a current folder: a drive
// and a separator ("C:\..."), or a network share ("\\server\...").
bool IsAbsolutePath(const std::string& path);

// The stylesheet the XSLTemplate setting names. A relative name is looked
// for in the program's folder, where the default one is installed, and then
// in the current folder; an absolute one is taken as it is. Both folders end
// in a separator. When it is found in neither, the program's folder is named.
std::string ResolveStylesheet(const std::string& setting, const std::string& programFolder,
                              const std::string& currentFolder,
                              const std::function<bool(const std::string&)>& exists);

// The last part of a path: what follows its last separator.
std::string FileNameOf(const std::string& path);
