#include "mdlmain.h"

#include "ContinueOnError.h"

namespace vardolin::about {

void OpenWebPage(const vardolin::Environment& environment) noexcept {
    // Only a test's fake can throw; the browser start reports nothing.
    vardolin::RunOrSkip([&] { environment.webPageOpener(kMakerWebPage); });
}

}  // namespace vardolin::about
