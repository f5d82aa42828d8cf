#include "devhost/app/Gdi.h"

namespace vardolin::devhost::app {

UniqueFont CreateSheetFont(int pixelHeight) {
    return UniqueFont(CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"SimSun"));
}

UniqueFont CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return CreateSheetFont(14);
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

}  // namespace vardolin::devhost::app
