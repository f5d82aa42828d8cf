#include "photo/StoreFailure.h"

#include "ComponentError.h"
#include "GetPICTexts.h"
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
    case ErrorNumber::DiskFull: return kDiskFullText;
    case ErrorNumber::PermissionDenied: return kNoWritePermissionText;
    case ErrorNumber::PathFileAccess: return kFileNotWritableText;
    case ErrorNumber::PathNotFound: return kFolderNotFoundText;
    default: return NumberedErrorText(FromUtf8(error.description()), error.code());
    }
}

}  // namespace

std::wstring DescribeCurrentError() {
    try {
        throw;
    } catch (const JpegError& e) {
        return Describe(e);
    } catch (const ComponentError& e) {
        return NumberedErrorText(e.description(), e.number());
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryText;
    } catch (...) {
        return kUnknownErrorText;
    }
}

}  // namespace vardolin::capture
