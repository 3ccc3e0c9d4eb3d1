#include "view/DpiFonts.h"

#include "framework/Dpi.h"

DpiFonts::DpiFonts(UINT dpi) {
    NONCLIENTMETRICSW metrics = NonClientMetricsForDpi(dpi);
    text.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
    metrics.lfMessageFont.lfWeight = FW_BOLD;
    bold.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
}
