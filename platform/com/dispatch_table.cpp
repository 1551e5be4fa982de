// The invocation rules of table-driven dispatch objects: which member answers, how the
// DISPPARAMS map onto its parameters, conversion, out parameters and exception records.
#include "platform/com/dispatch_table.h"

#include <algorithm>
#include <optional>

#include "platform/com/ansi_string.h"
#include "platform/com/error_info.h"
#include "platform/com/error_message.h"
#include "platform/com/exception_guard.h"
#include "platform/com/variant_detail.h"

namespace {

constexpr UINT kNoArgument = 0xFFFFFFFF;

bool IsPut(WORD flags) {
    return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
}

bool Answers(const DispMemberInfo& member, WORD flags) {
    if (IsPut(flags)) {
        return member.kind == DispKind::PropertyPut;
    }
    return ((flags & DISPATCH_METHOD) != 0 && member.kind == DispKind::Method) ||
           ((flags & DISPATCH_PROPERTYGET) != 0 && member.kind == DispKind::PropertyGet);
}

// Where each parameter's argument is in rgvarg, or kNoArgument when it was not passed.
class ArgumentMap {
  public:
    ArgumentMap(const DispMemberInfo& member, const DISPPARAMS& params)
        : member_(member), params_(params), slots_(member.params.size(), kNoArgument) {}

    HRESULT Build(UINT* argError) {
        const bool put = member_.kind == DispKind::PropertyPut;
        const std::size_t settable = member_.params.size() - (put ? 1 : 0);
        UINT named = 0;
        if (put) {
            if (params_.cNamedArgs == 0 || params_.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
                return DISP_E_PARAMNOTOPTIONAL;
            }
            slots_.back() = 0;
            named = 1;
        }
        for (; named < params_.cNamedArgs; ++named) {
            const DISPID id = params_.rgdispidNamedArgs[named];
            if (id < 0 || static_cast<std::size_t>(id) >= settable || slots_[id] != kNoArgument) {
                Report(argError, named);
                return DISP_E_PARAMNOTFOUND;
            }
            slots_[id] = named;
        }
        const UINT positional = params_.cArgs - params_.cNamedArgs;
        if (positional > settable) {
            return DISP_E_BADPARAMCOUNT;
        }
        for (UINT i = 0; i < positional; ++i) {
            if (slots_[i] != kNoArgument) {
                Report(argError, params_.cArgs - 1 - i);
                return DISP_E_PARAMNOTFOUND;
            }
            slots_[i] = params_.cArgs - 1 - i;
        }
        return S_OK;
    }

    UINT Slot(std::size_t parameter) const { return slots_[parameter]; }
    VARIANT* Argument(std::size_t parameter) const {
        return slots_[parameter] == kNoArgument ? nullptr : &params_.rgvarg[slots_[parameter]];
    }

    static void Report(UINT* argError, UINT slot) {
        if (argError != nullptr) {
            *argError = slot;
        }
    }

  private:
    const DispMemberInfo& member_;
    const DISPPARAMS& params_;
    std::vector<UINT> slots_;
};

bool IsMissingMarker(const VARIANT& v) {
    return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

// The argument of one parameter as the handler gets it.
HRESULT PrepareArgument(const DispParam& param, const VARIANT* argument, LCID lcid,
                        CComVariant& value, bool& missing) {
    VARIANT view;
    if (argument != nullptr) {
        const HRESULT hr = variant_detail::ViewReferenced(*argument, view);
        if (FAILED(hr)) {
            return hr;
        }
    }
    missing = argument == nullptr || IsMissingMarker(view);
    if (missing) {
        if (!param.optional) {
            return argument == nullptr ? DISP_E_BADPARAMCOUNT : DISP_E_PARAMNOTOPTIONAL;
        }
        value = param.defaultValue.vt == VT_EMPTY ? CComVariant::Missing() : param.defaultValue;
        return S_OK;
    }
    if (param.out && (argument->vt & VT_BYREF) == 0) {
        return DISP_E_TYPEMISMATCH;
    }
    if (param.type == VT_VARIANT) {
        return value.Copy(&view);
    }
    const HRESULT hr = VariantChangeTypeEx(&value, &view, lcid, 0, param.type);
    // What an out parameter's storage held before matters less than what comes back.
    if (FAILED(hr) && param.out) {
        value.Clear();
        return S_OK;
    }
    return hr;
}

// Stores an out parameter's final value into the caller's storage, in the referenced type.
HRESULT StoreOut(const VARIANT& reference, CComVariant& value, LCID lcid) {
    const VARTYPE referenced = reference.vt & ~VT_BYREF;
    if (referenced != VT_VARIANT && value.vt != referenced) {
        const HRESULT hr = VariantChangeTypeEx(&value, &value, lcid, 0, referenced);
        if (FAILED(hr)) {
            return hr;
        }
    }
    return variant_detail::StoreThroughReference(reference, value);
}

HRESULT CallHandler(const DispCall& call, CDispArgs& args, CComVariant& result) {
    return GuardResult("dispatch method", [&] { return call(args, result); });
}

HRESULT FillException(HRESULT hr, const std::string& tableSource, EXCEPINFO* exception) {
    if (exception == nullptr) {
        return hr;
    }
    const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
    const bool hasSource = texts && !texts->source.empty();
    const bool hasDescription = texts && !texts->description.empty();
    *exception = EXCEPINFO{};
    exception->scode = hr;
    exception->bstrSource = SysAllocStringView(hasSource ? texts->source : tableSource);
    exception->bstrDescription =
        SysAllocStringView(hasDescription ? texts->description : ComErrorMessage(hr));
    return DISP_E_EXCEPTION;
}

}  // namespace

CDispatchMembers::CDispatchMembers(std::string source, std::vector<DispMemberInfo> members)
    : source_(std::move(source)), members_(std::move(members)) {}

HRESULT CDispatchMembers::GetIDsOfNames(const LPCOLESTR* names, UINT count, DISPID* ids) const {
    if (count == 0) {
        return S_OK;
    }
    if (names == nullptr || ids == nullptr || names[0] == nullptr) {
        return E_INVALIDARG;
    }
    std::fill(ids, ids + count, DISPID_UNKNOWN);
    const auto member = std::find_if(members_.begin(), members_.end(),
                                     [&](const auto& m) { return EqualsNoCase(m.name, names[0]); });
    if (member == members_.end()) {
        return DISP_E_UNKNOWNNAME;
    }
    ids[0] = member->dispid;
    HRESULT hr = S_OK;
    for (UINT i = 1; i < count; ++i) {
        const auto param =
            std::find_if(member->params.begin(), member->params.end(), [&](const DispParam& p) {
                return names[i] != nullptr && EqualsNoCase(p.name, names[i]);
            });
        if (param == member->params.end()) {
            hr = DISP_E_UNKNOWNNAME;
        } else {
            ids[i] = static_cast<DISPID>(param - member->params.begin());
        }
    }
    return hr;
}

HRESULT CDispatchMembers::Find(DISPID dispid, WORD flags, std::size_t& index) const {
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT |
                  DISPATCH_PROPERTYPUTREF)) == 0) {
        return E_INVALIDARG;
    }
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (members_[i].dispid == dispid && Answers(members_[i], flags)) {
            index = i;
            return S_OK;
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CDispatchMembers::FindMember(DISPID dispid, DispKind kind, std::size_t& index) const {
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (members_[i].dispid == dispid && members_[i].kind == kind) {
            index = i;
            return S_OK;
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CDispatchMembers::Invoke(std::size_t index, LCID lcid, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* exception, UINT* argError, const DispCall& call) const {
    const DispMemberInfo& member = members_.at(index);
    const DISPPARAMS none;
    const DISPPARAMS& given = params != nullptr ? *params : none;
    if (given.cNamedArgs > given.cArgs || (given.cArgs > 0 && given.rgvarg == nullptr) ||
        (given.cNamedArgs > 0 && given.rgdispidNamedArgs == nullptr)) {
        return E_INVALIDARG;
    }
    return GuardResult("dispatch method", [&]() -> HRESULT {
        ArgumentMap map(member, given);
        HRESULT hr = map.Build(argError);
        if (FAILED(hr)) {
            return hr;
        }
        std::vector<CComVariant> values(member.params.size());
        std::vector<bool> missing(member.params.size());
        for (std::size_t i = 0; i < member.params.size(); ++i) {
            bool absent = false;
            hr = PrepareArgument(member.params[i], map.Argument(i), lcid, values[i], absent);
            if (FAILED(hr)) {
                ArgumentMap::Report(argError, map.Slot(i));
                return hr;
            }
            missing[i] = absent;
        }
        CDispArgs args(std::move(values), std::move(missing));
        SetErrorInfo(0, nullptr);
        CComVariant value;
        hr = CallHandler(call, args, value);
        if (FAILED(hr)) {
            return FillException(hr, source_, exception);
        }
        for (std::size_t i = 0; i < member.params.size(); ++i) {
            if (member.params[i].out && !args.IsMissing(i)) {
                hr = StoreOut(*map.Argument(i), args[i], lcid);
                if (FAILED(hr)) {
                    ArgumentMap::Report(argError, map.Slot(i));
                    return hr;
                }
            }
        }
        if (result != nullptr) {
            return value.Detach(result);
        }
        return S_OK;
    });
}
