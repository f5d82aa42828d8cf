// The DLL's entry point and its count of live objects and server locks.
#include "ComObject.h"

namespace vardolin::democam {
namespace {
HMODULE Module = nullptr;
std::atomic<long> InUse{0};
}  // namespace

void ModuleAddRef() noexcept { ++InUse; }
void ModuleRelease() noexcept { --InUse; }
bool ModuleInUse() noexcept { return InUse != 0; }
HMODULE ModuleHandle() noexcept { return Module; }

}  // namespace vardolin::democam

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        vardolin::democam::Module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
