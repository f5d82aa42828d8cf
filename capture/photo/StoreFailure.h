// Why a store failed, in words for the user.
#pragma once

#include <string>

namespace vardolin::capture {

// Describes the error being handled (call from inside a catch block).
std::wstring DescribeCurrentError();

}  // namespace vardolin::capture
