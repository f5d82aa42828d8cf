#include "mdlmain.h"

namespace vardolin::about {

void OpenWebPage(const vardolin::Environment& environment) noexcept {
    try {
        environment.webPageOpener(kMakerWebPage);
    } catch (...) {
        // Only a test's fake can throw; the browser start reports nothing.
    }
}

}  // namespace vardolin::about
