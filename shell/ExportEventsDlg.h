#pragma once

#include "core/Date.h"
#include "framework/Dialog.h"
#include "res/resource.h"
#include "storage/ICalendarWriter.h"

// Asks which days Export Events writes: the month shown, the year shown or
// everything. OK ends it with IDOK and `range` set.
class CExportEventsDlg : public CDialogImpl<CExportEventsDlg> {
  public:
    static constexpr int kDialogId = IDD_EXPORT_EVENTS;

    explicit CExportEventsDlg(const Date& shown) : shown(shown) {}

    ExportRange range = ExportRange::Month;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    void OnInitDialog();
    void OnOk();

    Date shown;
};
