#include "storage/RecoveryFile.h"

#include "storage/CalendarFile.h"

#include <cstdlib>

namespace {
const char kFirstLine[] = "OrvikCalendar recovery 1";
const char kDocument[] = "document=";
const char kFileTime[] = "filetime=";
} // namespace

std::string FormatRecovery(const std::string& path, std::int64_t fileTime,
                           const EventStore& store) {
    return std::string(kFirstLine) + "\r\n" + kDocument + path + "\r\n" + kFileTime +
           std::to_string(fileTime) + "\r\n\r\n" + FormatCalendar(store);
}

std::optional<RecoveredDiary> ParseRecovery(std::string_view bytes) {
    RecoveredDiary diary;
    std::size_t at = 0;
    bool first = true;
    for (;;) {
        const std::size_t end = bytes.find("\r\n", at);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = bytes.substr(at, end - at);
        at = end + 2;
        if (first) {
            if (line != kFirstLine)
                return std::nullopt;
            first = false;
        } else if (line.empty()) {
            break;
        } else if (line.substr(0, sizeof kDocument - 1) == kDocument) {
            diary.path = std::string(line.substr(sizeof kDocument - 1));
        } else if (line.substr(0, sizeof kFileTime - 1) == kFileTime) {
            diary.fileTime = std::strtoll(std::string(line.substr(sizeof kFileTime - 1)).c_str(),
                                          nullptr, 10);
        }
    }
    if (!ParseCalendar(bytes.substr(at), diary.store))
        return std::nullopt;
    return diary;
}
