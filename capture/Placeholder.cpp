#include "Placeholder.h"

#include "FramePlacement.h"

namespace vardolin::capture {

UniqueBitmap CreatePlaceholderPicture() {
    const autoframe::Extent size = autoframe::kCropFrameSize;
    WindowDc screen(nullptr);
    UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), size.width, size.height));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    if (!picture || !dc) return picture;

    ScopedSelection bitmap(dc.get(), picture.get());
    RECT all{0, 0, size.width, size.height};
    UniqueBrush background(CreateSolidBrush(RGB(232, 236, 241)));
    FillRect(dc.get(), &all, background.get());

    UniqueBrush figure(CreateSolidBrush(RGB(178, 188, 201)));
    ScopedSelection brush(dc.get(), figure.get());
    ScopedSelection pen(dc.get(), GetStockObject(NULL_PEN));
    Ellipse(dc.get(), 46, 34, 111, 107);    // head
    Ellipse(dc.get(), 14, 118, 143, 250);   // shoulders, cut by the bottom edge
    return picture;
}

}  // namespace vardolin::capture
