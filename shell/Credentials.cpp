#include "shell/Credentials.h"

#include <windows.h>

#include <wincred.h>

namespace {

std::string Target(const std::string& server, const std::string& user) {
    return "OrvikCalendar sync: " + user + "@" + server;
}

} // namespace

bool StoreSyncPassword(const std::string& server, const std::string& user,
                       const std::string& password) {
    std::string target = Target(server, user);
    std::string userName = user;
    CREDENTIALA credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = target.data();
    credential.UserName = userName.data();
    credential.CredentialBlobSize = static_cast<DWORD>(password.size());
    credential.CredentialBlob = reinterpret_cast<LPBYTE>(const_cast<char*>(password.data()));
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    return CredWriteA(&credential, 0) != FALSE;
}

std::optional<std::string> StoredSyncPassword(const std::string& server, const std::string& user) {
    PCREDENTIALA credential = nullptr;
    if (!CredReadA(Target(server, user).c_str(), CRED_TYPE_GENERIC, 0, &credential))
        return std::nullopt;
    std::string password(reinterpret_cast<const char*>(credential->CredentialBlob),
                         credential->CredentialBlobSize);
    SecureZeroMemory(credential->CredentialBlob, credential->CredentialBlobSize);
    CredFree(credential);
    return password;
}
