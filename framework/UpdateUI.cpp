#include "framework/UpdateUI.h"

#include <commctrl.h>

void CUpdateUI::UIEnable(int command, bool enabled) {
    State& state = states[command];
    state.changed = state.changed || state.enabled != enabled;
    state.enabled = enabled;
}

void CUpdateUI::UISetCheck(int command, bool checked) {
    State& state = states[command];
    state.changed = state.changed || state.checked != checked;
    state.checked = checked;
}

bool CUpdateUI::UIIsEnabled(int command) const {
    const auto found = states.find(command);
    return found == states.end() || found->second.enabled;
}

bool CUpdateUI::UIIsChecked(int command) const {
    const auto found = states.find(command);
    return found != states.end() && found->second.checked;
}

void CUpdateUI::UIUpdateMenu(HMENU menu) const {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        const auto found = states.find(static_cast<int>(GetMenuItemID(menu, position)));
        if (found == states.end())
            continue;
        const UINT byPosition = MF_BYPOSITION;
        EnableMenuItem(menu, static_cast<UINT>(position),
                       byPosition | (found->second.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, static_cast<UINT>(position),
                      byPosition | (found->second.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CUpdateUI::UIUpdateToolBar() {
    if (!toolbar)
        return;
    for (auto& [command, state] : states) {
        if (!state.changed)
            continue;
        // Commands without a button are ignored by the toolbar.
        SendMessageA(toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                     MAKELPARAM(state.enabled, 0));
        SendMessageA(toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(command),
                     MAKELPARAM(state.checked, 0));
        state.changed = false;
    }
}
