// Calls on automation objects by name, resolved at each call, the way a macro
// calls a host object it knows nothing about at compile time.
#pragma once

#include "automation/Variant.h"

#include <oaidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace vardolin::late_binding {

using Microsoft::WRL::ComPtr;

// Locale passed to every host call.
inline constexpr LCID kHostLocale = 1033;

// The dispatch id of a member. Asks IDispatchEx first: script objects answer
// only there.
DISPID DispIdOf(IDispatch* object, const std::wstring& name);

// Invokes a member; arguments are given in call order. Raises the callee's
// error as a ComponentError.
Variant Invoke(IDispatch* object, DISPID member, WORD flags, const std::vector<Variant>& arguments = {});

// Reads a property by name.
Variant Get(IDispatch* object, const std::wstring& name, const std::vector<Variant>& arguments = {});

// Calls a member by name as a function (method or property read, whichever
// the object offers), with its result.
Variant Call(IDispatch* object, const std::wstring& name, const std::vector<Variant>& arguments = {});

// The object a value refers to; raises "object required" for anything else.
ComPtr<IDispatch> ToObject(const Variant& value);

// The enumerator of a collection (its _NewEnum).
ComPtr<IEnumVARIANT> Enumerator(IDispatch* collection);

// The enumerator's next item; false when the items have ended.
bool NextItem(IEnumVARIANT* items, Variant& item);

}  // namespace vardolin::late_binding
