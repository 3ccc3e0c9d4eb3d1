#pragma once

#include <array>
#include <string>

// A random value of this installation, kept in the settings, that keeps the
// UIDs of its exported events apart from those of other installations. It
// says nothing of the user or the computer.
using InstallationRandom = std::array<unsigned char, 16>;

// 32 lower-case hexadecimal digits.
std::string FormatInstallationId(const InstallationRandom& random);
// The stored value when it is one that FormatInstallationId makes; else a
// new one from `random`.
std::string KeptOrNewInstallationId(const std::string& stored, const InstallationRandom& random);
