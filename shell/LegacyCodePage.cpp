#include "shell/LegacyCodePage.h"

#include <windows.h>

namespace {

// The ANSI code page of the user's locale: GetACP says UTF-8 now.
UINT LocaleAnsiCodePage() {
    DWORD codePage = 0;
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<LPSTR>(&codePage), sizeof codePage / sizeof(char));
    return codePage;
}

std::string ThroughUtf16(UINT codePage, std::string_view legacy) {
    if (legacy.empty())
        return {};
    const int size = static_cast<int>(legacy.size());
    std::wstring wide(legacy.size(), L'\0'); // never more UTF-16 units than bytes
    const int units = MultiByteToWideChar(codePage, 0, legacy.data(), size, &wide[0], size);
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, &text[0], bytes, nullptr, nullptr);
    return text;
}

} // namespace

LegacyToUtf8 LegacyCodePageConverter() {
    if (GetACP() != CP_UTF8)
        return nullptr;
    const UINT codePage = LocaleAnsiCodePage();
    // Locales without an ANSI code page of their own (0) take Windows-1252, as
    // Windows does for them; its table keeps every byte.
    if (codePage == 0 || codePage == 1252 || codePage == CP_UTF8 || !IsValidCodePage(codePage))
        return Windows1252ToUtf8;
    return [codePage](std::string_view legacy) { return ThroughUtf16(codePage, legacy); };
}
