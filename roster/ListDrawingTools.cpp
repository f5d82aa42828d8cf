#include "roster/ListDrawingTools.h"

#include "win/ComponentError.h"

namespace vardolin::roster {
namespace {

void Require(bool ok) {
    if (!ok) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_INVALID_HANDLE));
}

}  // namespace

ListDrawingTools::ListDrawingTools(HWND list)
    : pen_(CreatePen(PS_SOLID, 1, RGB(0, 0, 0))),
      hollowBrush_(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))),
      dc_(list) {
    Require(static_cast<bool>(pen_));
    Require(static_cast<bool>(dc_));
    penSelection_ = ScopedSelection(dc_.get(), pen_.get());
    brushSelection_ = ScopedSelection(dc_.get(), hollowBrush_);
}

}  // namespace vardolin::roster
