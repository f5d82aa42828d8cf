#include "SystemMessage.h"

namespace vardolin {

std::wstring SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"错误 " + std::to_wstring(error);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

std::wstring WithoutFullStop(std::wstring message) {
    while (!message.empty() && (message.back() == L'.' || message.back() == L'\u3002' || message.back() == L' '))
        message.pop_back();
    return message;
}

}  // namespace vardolin
