#pragma once

#include <optional>
#include <string>

// The sync's password in Windows' Credential Manager, for this user only,
// under "OrvikCalendar sync: user@server".
bool StoreSyncPassword(const std::string& server, const std::string& user,
                       const std::string& password);
std::optional<std::string> StoredSyncPassword(const std::string& server, const std::string& user);
