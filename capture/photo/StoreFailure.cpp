#include "photo/StoreFailure.h"

#include "ComponentError.h"
#include "GetPICTexts.h"
#include "JpegError.h"
#include "TextEncoding.h"

#include <windows.h>

#include <new>

namespace vardolin::capture {
namespace {

std::wstring Describe(const JpegError& error) {
    switch (error.number()) {
    case ErrorNumber::DiskFull: return kDiskFullText;
    case ErrorNumber::PermissionDenied: return kNoWritePermissionText;
    case ErrorNumber::PathFileAccess: return kFileNotWritableText;
    case ErrorNumber::PathNotFound: return kFolderNotFoundText;
    default: return NumberedErrorText(vardolin::Utf8ToWide(error.description()), error.code());
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
