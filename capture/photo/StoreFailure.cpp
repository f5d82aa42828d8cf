#include "capture/photo/StoreFailure.h"

#include "win/ComponentError.h"
#include "capture/GetPICTexts.h"

namespace vardolin::capture {

std::wstring StoreFailureText(const CaughtError& error) {
    switch (error.kind) {
    case CaughtError::Kind::Component:
        switch (error.number) {
        case error_number::kDiskFull: return kDiskFullText;
        case error_number::kPermissionDenied: return kNoWritePermissionText;
        case error_number::kPathFileAccess: return kFileNotWritableText;
        case error_number::kPathNotFound: return kFolderNotFoundText;
        default: return NumberedErrorText(WideDescription(error), error.number);
        }
    case CaughtError::Kind::OutOfMemory: return kOutOfMemoryText;
    default: return kUnknownErrorText;
    }
}

}  // namespace vardolin::capture
