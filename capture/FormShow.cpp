#include "FormShow.h"

namespace vardolin::capture {

// Placeholder until the capture window exists.
void FormShow(IDispatch*, IDispatch*, IDispatch*) noexcept {}

}  // namespace vardolin::capture
