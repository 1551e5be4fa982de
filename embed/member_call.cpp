// Dispatch calls by name for the host, with their failures put into words.
#include "embed/member_call.h"

#include <array>
#include <cstdio>

#include "platform/com/class_factory.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/error_info.h"
#include "platform/com/error_message.h"

namespace {

std::string HexCode(HRESULT hr) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "0x%08X", static_cast<unsigned>(hr));
    return text.data();
}

// A failure object of an earlier call must not be taken for this call's.
void ForgetEarlierError() {
    static_cast<void>(TakeComErrorTexts());
}

DISPID IdOf(IDispatch* target, std::string_view name, HRESULT& hr) {
    DISPID id = DISPID_VALUE;
    hr = name.empty() ? S_OK : GetDispIdOfName(target, name, &id);
    return id;
}

std::string MemberLabel(std::string_view name) {
    return name.empty() ? std::string("default member") : std::string(name);
}

CallOutcome Invoke(IDispatch* target, std::string_view name, WORD flags,
                   const std::vector<CComVariant>& args, CComVariant* result) {
    if (target == nullptr) {
        return CallOutcome{E_POINTER, MemberLabel(name) + ": the object is null"};
    }
    ForgetEarlierError();
    HRESULT hr = S_OK;
    const DISPID id = IdOf(target, name, hr);
    if (SUCCEEDED(hr)) {
        hr = InvokeDispatch(target, id, flags, args, result);
    }
    return SUCCEEDED(hr) ? CallOutcome{hr, {}} : DescribeFailure(MemberLabel(name), hr);
}

bool AsksForArguments(HRESULT hr) {
    return hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_BADPARAMCOUNT ||
           hr == DISP_E_PARAMNOTOPTIONAL;
}

}  // namespace

CallOutcome DescribeFailure(std::string_view what, HRESULT hr) {
    const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
    const bool described = texts && !texts->description.empty();
    std::string message(what);
    message += ": ";
    message += described ? texts->description : ComErrorMessage(hr);
    message += " (" + HexCode(hr);
    if (texts && !texts->source.empty()) {
        message += ", " + texts->source;
    }
    message += ")";
    return CallOutcome{hr, message};
}

CallOutcome CallMember(IDispatch* target, std::string_view name,
                       const std::vector<CComVariant>& args, CComVariant& result) {
    result.Clear();
    return Invoke(target, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, &result);
}

CallOutcome GetMember(IDispatch* target, std::string_view name, CComVariant& result) {
    result.Clear();
    return Invoke(target, name, DISPATCH_PROPERTYGET, {}, &result);
}

CallOutcome PutMember(IDispatch* target, std::string_view name, const CComVariant& value) {
    return Invoke(target, name, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

MemberLookup LookUpMember(IDispatch* target, std::string_view name) {
    MemberLookup lookup;
    lookup.outcome = GetMember(target, name, lookup.value);
    if (lookup.outcome.Succeeded()) {
        lookup.shape = MemberShape::Value;
    } else if (AsksForArguments(lookup.outcome.hr)) {
        lookup.shape = MemberShape::Callable;
    } else if (lookup.outcome.hr == DISP_E_UNKNOWNNAME) {
        lookup.shape = MemberShape::Missing;
    }
    return lookup;
}

CallOutcome CreateDispatchObject(std::string_view progId, CComPtr<IDispatch>& object) {
    object.Release();
    ForgetEarlierError();
    const std::string what = "Cannot create \"" + std::string(progId) + "\"";
    const std::string text(progId);
    CLSID clsid{};
    HRESULT hr = CLSIDFromString(text.c_str(), &clsid);
    if (SUCCEEDED(hr)) {
        void* raw = nullptr;
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, &raw);
        if (SUCCEEDED(hr)) {
            object.Attach(static_cast<IDispatch*>(raw));
        }
    }
    return SUCCEEDED(hr) ? CallOutcome{} : DescribeFailure(what, hr);
}
