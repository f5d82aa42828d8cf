#include "Module.h"

#include <atomic>

namespace vardolin::server {
namespace {
HMODULE Module = nullptr;
std::atomic<long> LiveObjects{0};
std::atomic<long> Locks{0};
}  // namespace

void SetModuleHandle(HMODULE module) noexcept { Module = module; }
HMODULE ModuleHandle() noexcept { return Module; }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(Module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
    }
}

void ObjectCreated() noexcept { ++LiveObjects; }
void ObjectDestroyed() noexcept { --LiveObjects; }
void LockModule(bool lock) noexcept { lock ? ++Locks : --Locks; }
bool CanUnload() noexcept { return LiveObjects == 0 && Locks == 0; }

}  // namespace vardolin::server
