#include "Parts.h"

#include "AboutButton.h"
#include "GetPICExtensions.h"
#include "Roster.h"
#include "photo/PhotoCapture.h"

namespace vardolin::server {

void AttachParts() noexcept {
    static bool attached = false;
    if (attached) return;
    attached = true;
    capture::GetPICExtensions& slots = capture::Extensions();
    (void)slots;  // each part adds its Attach(slots) call here
    capture::AttachPhotoCapture(slots);
    about::Attach(slots);
    roster::Attach(slots);
}

}  // namespace vardolin::server
