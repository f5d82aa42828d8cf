#include "photo/StoreFailure.h"

#include "ComponentError.h"
#include "JpegError.h"

#include <windows.h>

#include <new>

namespace vardolin::capture {
namespace {

std::wstring FromUtf8(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1) return {};
    std::wstring wide(length - 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    return wide;
}

std::wstring Describe(const JpegError& error) {
    switch (error.number()) {
    case ErrorNumber::DiskFull: return L"磁盘已满";
    case ErrorNumber::PermissionDenied: return L"没有写入权限";
    case ErrorNumber::PathFileAccess: return L"无法创建或写入文件";
    case ErrorNumber::PathNotFound: return L"找不到文件夹";
    default: return FromUtf8(error.description()) + L"（错误 " + std::to_wstring(error.code()) + L"）";
    }
}

}  // namespace

std::wstring DescribeCurrentError() {
    try {
        throw;
    } catch (const JpegError& e) {
        return Describe(e);
    } catch (const ComponentError& e) {
        return e.description() + L"（错误 " + std::to_wstring(e.number()) + L"）";
    } catch (const std::bad_alloc&) {
        return L"内存不足";
    } catch (...) {
        return L"未知错误";
    }
}

}  // namespace vardolin::capture
