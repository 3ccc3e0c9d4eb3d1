#include "framework/MenuPrompt.h"

#include "framework/StandardIds.h"

namespace {

const UINT kFirstSystemCommand = 0xF000;
const UINT kFirstWindowListItem = 0xFF00;
const UINT kLastWindowListItem = 0xFFFD;

std::string LoadWholeString(UINT stringId) {
    char text[512] = "";
    LoadStringA(GetModuleHandleA(nullptr), stringId, text, sizeof text);
    return text;
}

} // namespace

UINT MenuPromptStringId(UINT item, UINT flags) {
    if (flags & (MF_POPUP | MF_SEPARATOR))
        return 0;
    if (item >= ID_FILE_MRU_FIRST && item <= ID_FILE_MRU_LAST)
        return IDS_RECENT_FILE_PROMPT;
    if (item >= kFirstWindowListItem && item <= kLastWindowListItem)
        return IDS_WINDOW_LIST_PROMPT;
    if (item >= kFirstSystemCommand)
        return IDS_SYSTEM_COMMAND_FIRST + (item - kFirstSystemCommand) / 16;
    return item;
}

std::string LoadPrompt(UINT stringId) {
    const std::string text = LoadWholeString(stringId);
    return text.substr(0, text.find('\n'));
}

std::string LoadTooltip(UINT stringId) {
    const std::string text = LoadWholeString(stringId);
    const std::size_t lineBreak = text.find('\n');
    return lineBreak == std::string::npos ? std::string() : text.substr(lineBreak + 1);
}
