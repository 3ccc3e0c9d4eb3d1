#include "shell/Texts.h"

std::string FormatText(const char* format, std::initializer_list<std::string> values) {
    std::string text = format;
    std::size_t at = 0;
    for (const std::string& value : values) {
        at = text.find("%s", at);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, value);
        at += value.size();
    }
    return text;
}
