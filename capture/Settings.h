// The capture window's persisted options: per-user text values addressed by
// application "tevrak", section "4wdq" and a key, kept where earlier
// installations already keep them.
#pragma once

#include <string>

namespace vardolin::capture::settings {

inline constexpr const wchar_t* kTopKey = L"Top";
inline constexpr const wchar_t* kDirectDeleteKey = L"Del";
inline constexpr const wchar_t* kQualityKey = L"intQ";

// HKEY_CURRENT_USER sub-key of the section.
inline constexpr const wchar_t* kSectionPath = L"Software\\VB and VBA Program Settings\\tevrak\\4wdq";

// The stored text; empty when the key (or the section) does not exist.
std::wstring Read(const std::wstring& key);

// Stores the text, creating the section when needed; raises an error on failure.
void Write(const std::wstring& key, const std::wstring& value);

}  // namespace vardolin::capture::settings
