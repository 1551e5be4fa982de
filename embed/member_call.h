// Calls of dispatch members by name as a script engine makes them: a call is a method or a
// property get, a member's shape is found out by asking, failures come back as texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"
#include "platform/com/unknown.h"

// The result of a host call: the HRESULT and, on failure, what to tell the script or the user.
struct CallOutcome {
    HRESULT hr = S_OK;
    std::string message;
    bool Succeeded() const { return SUCCEEDED(hr); }
};

// A failure's text: "<what>: <description> (0x8XXXXXXX, <source>)", the description and
// source from the thread's error object when the failing call left one, else the result's
// system message.
CallOutcome DescribeFailure(std::string_view what, HRESULT hr);

// name(args) with DISPATCH_METHOD | DISPATCH_PROPERTYGET, as script engines call; an empty
// name calls the default member (DISPID_VALUE). By-reference arguments point at storage the
// caller owns and reads back afterwards.
CallOutcome CallMember(IDispatch* target, std::string_view name,
                       const std::vector<CComVariant>& args, CComVariant& result);
CallOutcome GetMember(IDispatch* target, std::string_view name, CComVariant& result);
CallOutcome PutMember(IDispatch* target, std::string_view name, const CComVariant& value);

// What reading `object.name` gives a script: a value (a property readable without
// arguments), something to call (a method, or a property that needs arguments), nothing (no
// such member), or the failure of the property.
enum class MemberShape { Value, Callable, Missing, Failed };
struct MemberLookup {
    MemberShape shape = MemberShape::Failed;
    CComVariant value;    // for Value
    CallOutcome outcome;  // for Failed
};
// Reads the member as a property without arguments; a member that refuses that as a method
// or for want of arguments is callable. A property that fails for another reason is a
// failure.
MemberLookup LookUpMember(IDispatch* target, std::string_view name);

// Creates an object by ProgID (or braced class id) and hands back its IDispatch.
CallOutcome CreateDispatchObject(std::string_view progId, CComPtr<IDispatch>& object);
