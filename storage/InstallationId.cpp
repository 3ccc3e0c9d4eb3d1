#include "storage/InstallationId.h"

#include <algorithm>

std::string FormatInstallationId(const InstallationRandom& random) {
    static const char kDigits[] = "0123456789abcdef";
    std::string id;
    for (const unsigned char byte : random) {
        id += kDigits[byte >> 4];
        id += kDigits[byte & 15];
    }
    return id;
}

std::string KeptOrNewInstallationId(const std::string& stored, const InstallationRandom& random) {
    const bool valid =
        stored.size() == 2 * random.size() && std::all_of(stored.begin(), stored.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        });
    return valid ? stored : FormatInstallationId(random);
}
