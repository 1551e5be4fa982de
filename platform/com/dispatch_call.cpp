// Dispatch calls with natural-order arguments, exceptions turned into error objects.
#include "platform/com/dispatch_call.h"

#include <string>

#include "platform/com/error_info.h"
#include "platform/com/lcid.h"

HRESULT GetDispIdOfName(IDispatch* target, std::string_view name, DISPID* id) {
    if (target == nullptr || id == nullptr) {
        return E_POINTER;
    }
    const std::string text(name);
    const LPCOLESTR names[] = {text.c_str()};  // NOLINT(*-avoid-c-arrays)
    return target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

HRESULT InvokeDispatch(IDispatch* target, DISPID member, WORD flags,
                       const std::vector<CComVariant>& args, VARIANT* result) {
    if (target == nullptr) {
        return E_POINTER;
    }
    // Shallow copies: the receiver borrows the arguments, the caller's CComVariants own them.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID putId = DISPID_PROPERTYPUT;
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0 && !reversed.empty()) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception;
    UINT argError = 0;
    HRESULT hr = target->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                &exception, &argError);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn != nullptr) {
            exception.pfnDeferredFillIn(&exception);
        }
        hr = ReportComError(ExcepInfoResult(exception), BstrView(exception.bstrDescription),
                            BstrView(exception.bstrSource));
    }
    ClearExcepInfo(&exception);
    return hr;
}

HRESULT InvokeByName(IDispatch* target, std::string_view name, WORD flags,
                     const std::vector<CComVariant>& args, VARIANT* result) {
    DISPID member = DISPID_UNKNOWN;
    const HRESULT hr = GetDispIdOfName(target, name, &member);
    return FAILED(hr) ? hr : InvokeDispatch(target, member, flags, args, result);
}

HRESULT GetPropertyByName(IDispatch* target, std::string_view name, VARIANT* result) {
    return InvokeByName(target, name, DISPATCH_PROPERTYGET, {}, result);
}

HRESULT PutPropertyByName(IDispatch* target, std::string_view name, const CComVariant& value) {
    return InvokeByName(target, name, DISPATCH_PROPERTYPUT, {value}, nullptr);
}
