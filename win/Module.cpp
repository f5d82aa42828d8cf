#include "win/Module.h"

#include <atomic>

namespace vardolin {
namespace {
std::atomic<long> liveObjects{0};
std::atomic<long> locks{0};
}  // namespace

void ObjectCreated() noexcept { ++liveObjects; }
void ObjectDestroyed() noexcept { --liveObjects; }
void LockModule(bool lock) noexcept { lock ? ++locks : --locks; }
bool CanUnload() noexcept { return liveObjects == 0 && locks == 0; }

}  // namespace vardolin
