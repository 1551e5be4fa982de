// Dispatch objects from a table of members: names, dispatch ids, parameter types and handlers;
// argument counting, optional and named arguments, conversion, out parameters and exceptions
// are done once here, so an object becomes dispatchable with a table and CDispatchImpl.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"
#include "platform/com/unknown.h"

enum class DispKind { Method, PropertyGet, PropertyPut };

struct DispParam {
    std::string name;
    // The argument is converted to this type; VT_VARIANT takes any value as it comes.
    VARTYPE type = VT_VARIANT;
    bool optional = false;
    // Passed by reference: the handler's final value of the argument is stored back.
    bool out = false;
    // What a missing optional argument becomes; left VT_EMPTY it stays the missing marker
    // (VT_ERROR, DISP_E_PARAMNOTFOUND). Either way CDispArgs::IsMissing tells.
    CComVariant defaultValue;

    static DispParam In(std::string name, VARTYPE type) {
        return {std::move(name), type, false, false, {}};
    }
    static DispParam Optional(std::string name, VARTYPE type, CComVariant defaultValue = {}) {
        return {std::move(name), type, true, false, std::move(defaultValue)};
    }
    static DispParam Out(std::string name, VARTYPE type, bool optional = false) {
        return {std::move(name), type, optional, true, {}};
    }
};

// Everything type information needs about a member. A property's get and put are two members
// with one name and dispatch id; a put's last parameter is the value put.
struct DispMemberInfo {
    std::string name;
    DISPID dispid = DISPID_UNKNOWN;
    DispKind kind = DispKind::Method;
    std::vector<DispParam> params;
    VARTYPE resultType = VT_EMPTY;  // VT_EMPTY: no result
};

// The arguments of one call, in parameter order, each already converted to its parameter's
// type (or missing). Out parameters are stored back from here after a successful call.
class CDispArgs {
  public:
    CDispArgs(std::vector<CComVariant> values, std::vector<bool> missing)
        : values_(std::move(values)), missing_(std::move(missing)) {}

    std::size_t Count() const { return values_.size(); }
    bool IsMissing(std::size_t i) const { return missing_.at(i); }
    CComVariant& operator[](std::size_t i) { return values_.at(i); }
    const CComVariant& operator[](std::size_t i) const { return values_.at(i); }

  private:
    std::vector<CComVariant> values_;
    std::vector<bool> missing_;
};

using DispCall = std::function<HRESULT(CDispArgs& args, CComVariant& result)>;

// The type-independent part of a table: the members, name lookup and the invocation rules.
class CDispatchMembers {
  public:
    CDispatchMembers(std::string source, std::vector<DispMemberInfo> members);

    const std::string& Source() const { return source_; }
    const std::vector<DispMemberInfo>& Members() const { return members_; }

    // names[0] the member, further names its parameters (their ids are their positions).
    HRESULT GetIDsOfNames(const LPCOLESTR* names, UINT count, DISPID* ids) const;
    // The member that answers an Invoke with these flags; DISP_E_MEMBERNOTFOUND when none does.
    HRESULT Find(DISPID dispid, WORD flags, std::size_t& index) const;
    // The member with the id and kind; DISP_E_MEMBERNOTFOUND when there is none.
    HRESULT FindMember(DISPID dispid, DispKind kind, std::size_t& index) const;
    // Prepares the arguments, calls, stores out parameters back and delivers the result. A
    // failure of the call becomes DISP_E_EXCEPTION with the exception record filled (scode,
    // the description and source of the thread's error object, or the result's message and
    // this table's source) when the caller gave a record; without one the call's own result.
    HRESULT Invoke(std::size_t index, LCID lcid, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError, const DispCall& call) const;

  private:
    std::string source_;
    std::vector<DispMemberInfo> members_;
};

// The members of class T and their handlers. Built once per class, e.g.
//   using Table = CDispatchTable<CField>;
//   static const Table table("ADODB.Field", {
//       Table::Get("Value", 0, VT_VARIANT, [](CField& f, CDispArgs&, CComVariant& r) {...}),
//       Table::Put("Value", 0, VT_VARIANT, [](CField& f, CDispArgs& a, CComVariant&) {...}),
//   });
template <class T>
class CDispatchTable {
  public:
    using Handler = std::function<HRESULT(T& self, CDispArgs& args, CComVariant& result)>;
    struct Entry {
        DispMemberInfo info;
        Handler handler;
    };

    CDispatchTable(std::string source, std::vector<Entry> entries)
        : members_(std::move(source), InfosOf(entries)), handlers_(HandlersOf(entries)) {}

    static Entry Method(std::string name, DISPID id, std::vector<DispParam> params,
                        VARTYPE resultType, Handler handler) {
        return {{std::move(name), id, DispKind::Method, std::move(params), resultType},
                std::move(handler)};
    }
    static Entry Get(std::string name, DISPID id, VARTYPE type, Handler handler) {
        return Get(std::move(name), id, {}, type, std::move(handler));
    }
    static Entry Get(std::string name, DISPID id, std::vector<DispParam> params, VARTYPE type,
                     Handler handler) {
        return {{std::move(name), id, DispKind::PropertyGet, std::move(params), type},
                std::move(handler)};
    }
    // The value put is the handler's last argument, converted to type.
    static Entry Put(std::string name, DISPID id, VARTYPE type, Handler handler) {
        return Put(std::move(name), id, {}, type, std::move(handler));
    }
    static Entry Put(std::string name, DISPID id, std::vector<DispParam> params, VARTYPE type,
                     Handler handler) {
        params.push_back(DispParam::In("value", type));
        return {{std::move(name), id, DispKind::PropertyPut, std::move(params), VT_EMPTY},
                std::move(handler)};
    }

    const CDispatchMembers& Members() const { return members_; }

    HRESULT GetIDsOfNames(const LPCOLESTR* names, UINT count, DISPID* ids) const {
        return members_.GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(T& self, DISPID member, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) const {
        std::size_t index = 0;
        const HRESULT hr = members_.Find(member, flags, index);
        if (FAILED(hr)) {
            return hr;
        }
        return members_.Invoke(
            index, lcid, params, result, exception, argError,
            [&](CDispArgs& args, CComVariant& out) { return handlers_[index](self, args, out); });
    }
    // Runs the handler of the member with the id and kind on arguments already prepared, as
    // type information's Invoke does.
    HRESULT Call(T& self, DISPID dispid, DispKind kind, CDispArgs& args,
                 CComVariant& result) const {
        std::size_t index = 0;
        const HRESULT hr = members_.FindMember(dispid, kind, index);
        if (FAILED(hr)) {
            return hr;
        }
        if (args.Count() != members_.Members()[index].params.size()) {
            return DISP_E_BADPARAMCOUNT;
        }
        return handlers_[index](self, args, result);
    }

  private:
    static std::vector<DispMemberInfo> InfosOf(const std::vector<Entry>& entries) {
        std::vector<DispMemberInfo> infos;
        infos.reserve(entries.size());
        for (const Entry& entry : entries) {
            infos.push_back(entry.info);
        }
        return infos;
    }
    static std::vector<Handler> HandlersOf(const std::vector<Entry>& entries) {
        std::vector<Handler> handlers;
        handlers.reserve(entries.size());
        for (const Entry& entry : entries) {
            handlers.push_back(entry.handler);
        }
        return handlers;
    }

    CDispatchMembers members_;
    std::vector<Handler> handlers_;
};

// What type information's Invoke calls on an instance once the arguments are prepared: the
// handler of the member with that id and kind. DISP_E_MEMBERNOTFOUND when the instance has
// none.
struct IMemberCall : IUnknown {
    static constexpr IID iid = MakeGuid("{6B0F4D1E-29A3-4C6E-9F51-3E2A7C0D4B20}");
    using InterfaceBase = IUnknown;

    virtual HRESULT CallMember(DISPID dispid, DispKind kind, CDispArgs& args,
                               CComVariant& result) = 0;

  protected:
    ~IMemberCall() = default;
};

// Type information of a dispatch interface described by the members, in a library of its own
// named after it.
HRESULT CreateDispatchTypeInfo(const std::string& name, const GUID& guid,
                               const CDispatchMembers& members, ITypeInfo** info);

// Implements IUnknown and IDispatch for T, whose `static const CDispatchTable<T>&
// DispatchTable()` lists its members; First (or one of Rest) is IDispatch or extends it. The
// type information describes the interface First, named after the table's source.
template <class T, class First, class... Rest>
class CDispatchImpl : public CUnknownImpl<First, Rest..., IMemberCall> {
  public:
    HRESULT GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_INVALIDARG;
        }
        *count = 1;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT index, LCID /*lcid*/, ITypeInfo** info) override {
        if (info == nullptr) {
            return E_POINTER;
        }
        *info = nullptr;
        if (index != 0) {
            return DISP_E_BADINDEX;
        }
        const CDispatchMembers& members = T::DispatchTable().Members();
        return CreateDispatchTypeInfo(members.Source(), First::iid, members, info);
    }
    HRESULT CallMember(DISPID dispid, DispKind kind, CDispArgs& args,
                       CComVariant& result) override {
        return T::DispatchTable().Call(static_cast<T&>(*this), dispid, kind, args, result);
    }
    HRESULT GetIDsOfNames(const IID& riid, const LPCOLESTR* names, UINT count, LCID /*lcid*/,
                          DISPID* ids) override {
        if (riid != IID_NULL) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        return T::DispatchTable().GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(DISPID member, const IID& riid, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override {
        if (riid != IID_NULL) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        return T::DispatchTable().Invoke(static_cast<T&>(*this), member, lcid, flags, params,
                                         result, exception, argError);
    }
};
