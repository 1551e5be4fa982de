// Type libraries and type information over described types: the objects share one immutable
// copy of the description, so a type's information outlives the module it came from.
#include "platform/com/type_info.h"

#include <algorithm>
#include <new>

#include "platform/com/lcid.h"

namespace {

// The description and, per type, its members ready for lookup and invocation.
struct LibraryData {
    TypeLibDescription description;
    std::vector<CDispatchMembers> members;
};

using LibraryPtr = std::shared_ptr<const LibraryData>;

INVOKEKIND InvokeKindOf(DispKind kind) {
    switch (kind) {
        case DispKind::PropertyGet:
            return INVOKE_PROPERTYGET;
        case DispKind::PropertyPut:
            return INVOKE_PROPERTYPUT;
        case DispKind::Method:
            break;
    }
    return INVOKE_FUNC;
}

ELEMDESC ParamDesc(const DispParam& param) {
    ELEMDESC desc;
    desc.vt = param.out ? static_cast<VARTYPE>(param.type | VT_BYREF) : param.type;
    desc.wParamFlags = param.out ? PARAMFLAG_FIN | PARAMFLAG_FOUT : PARAMFLAG_FIN;
    if (param.optional) {
        desc.wParamFlags |= PARAMFLAG_FOPT;
    }
    if (param.defaultValue.vt != VT_EMPTY) {
        desc.wParamFlags |= PARAMFLAG_FHASDEFAULT;
        desc.defaultValue = param.defaultValue;
    }
    return desc;
}

FUNCDESC FuncDescOf(const DispMemberInfo& member) {
    FUNCDESC desc;
    desc.memid = member.dispid;
    desc.invkind = InvokeKindOf(member.kind);
    for (const DispParam& param : member.params) {
        desc.params.push_back(ParamDesc(param));
        desc.cParamsOpt = static_cast<SHORT>(desc.cParamsOpt + (param.optional ? 1 : 0));
    }
    desc.elemdescFunc.vt = member.resultType;
    return desc;
}

HRESULT SetText(BSTR* out, const std::string& text) {
    if (out == nullptr) {
        return S_OK;
    }
    *out = SysAllocStringView(text);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT Document(const std::string& name, const std::string& doc, const std::string& helpFile,
                 BSTR* nameOut, BSTR* docOut, DWORD* helpContext, BSTR* helpFileOut) {
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    HRESULT hr = SetText(nameOut, name);
    if (SUCCEEDED(hr)) {
        hr = SetText(docOut, doc);
    }
    if (SUCCEEDED(hr)) {
        hr = SetText(helpFileOut, helpFile);
    }
    return hr;
}

HRESULT MakeTypeInfo(const LibraryPtr& library, UINT index, ITypeInfo** info);
HRESULT MakeTypeLib(const LibraryPtr& library, ITypeLib** lib);

class CTypeInfo final : public CUnknownImpl<ITypeInfo> {
  public:
    CTypeInfo(LibraryPtr library, UINT index) : library_(std::move(library)), index_(index) {}

    HRESULT GetTypeAttr(TYPEATTR* attr) override {
        if (attr == nullptr) {
            return E_POINTER;
        }
        *attr = TYPEATTR{};
        attr->guid = Type().guid;
        attr->typekind = Type().kind;
        attr->cFuncs = static_cast<WORD>(Members().size());
        attr->cImplTypes = static_cast<WORD>(Type().implTypes.size());
        attr->wMajorVerNum = library_->description.majorVersion;
        attr->wMinorVerNum = library_->description.minorVersion;
        return S_OK;
    }
    HRESULT GetFuncDesc(UINT index, FUNCDESC* desc) override {
        if (desc == nullptr) {
            return E_POINTER;
        }
        if (index >= Members().size()) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
        *desc = FuncDescOf(Members()[index]);
        return S_OK;
    }
    HRESULT GetNames(MEMBERID memid, std::vector<std::string>* names) override {
        if (names == nullptr) {
            return E_POINTER;
        }
        const DispMemberInfo* member = FindById(memid);
        if (member == nullptr) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
        names->assign(1, member->name);
        for (const DispParam& param : member->params) {
            names->push_back(param.name);
        }
        return S_OK;
    }
    HRESULT GetIDsOfNames(const LPCOLESTR* names, UINT count, MEMBERID* ids) override {
        return Table().GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(IUnknown* instance, MEMBERID memid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override {
        if (instance == nullptr || Type().kind != TKIND_DISPATCH) {
            return E_INVALIDARG;
        }
        CComPtr<IMemberCall> target;
        if (FAILED(ComQueryInterface(instance, target))) {
            return E_INVALIDARG;
        }
        std::size_t index = 0;
        const HRESULT hr = Table().Find(memid, flags, index);
        if (FAILED(hr)) {
            return hr;
        }
        const DispMemberInfo& member = Members()[index];
        return Table().Invoke(index, LOCALE_USER_DEFAULT, params, result, exception, argError,
                              [&](CDispArgs& args, CComVariant& value) {
                                  return target->CallMember(member.dispid, member.kind, args,
                                                            value);
                              });
    }
    HRESULT GetDocumentation(MEMBERID memid, BSTR* name, BSTR* doc, DWORD* helpContext,
                             BSTR* helpFile) override {
        const std::string& file = library_->description.helpFile;
        if (memid == MEMBERID_NIL) {
            return Document(Type().name, Type().doc, file, name, doc, helpContext, helpFile);
        }
        const DispMemberInfo* member = FindById(memid);
        if (member == nullptr) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
        return Document(member->name, "", file, name, doc, helpContext, helpFile);
    }
    HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* ref) override {
        if (ref == nullptr) {
            return E_POINTER;
        }
        if (index >= Type().implTypes.size()) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
        *ref = Type().implTypes[index].typeIndex;
        return S_OK;
    }
    HRESULT GetImplTypeFlags(UINT index, INT* flags) override {
        if (flags == nullptr) {
            return E_POINTER;
        }
        if (index >= Type().implTypes.size()) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
        *flags = Type().implTypes[index].flags;
        return S_OK;
    }
    HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) override {
        return MakeTypeInfo(library_, ref, info);
    }
    HRESULT GetContainingTypeLib(ITypeLib** lib, UINT* index) override {
        if (index != nullptr) {
            *index = index_;
        }
        return MakeTypeLib(library_, lib);
    }

  private:
    const TypeDescription& Type() const { return library_->description.types[index_]; }
    const CDispatchMembers& Table() const { return library_->members[index_]; }
    const std::vector<DispMemberInfo>& Members() const { return Table().Members(); }
    const DispMemberInfo* FindById(MEMBERID memid) const {
        const auto found = std::find_if(Members().begin(), Members().end(),
                                        [memid](const auto& m) { return m.dispid == memid; });
        return found != Members().end() ? &*found : nullptr;
    }

    LibraryPtr library_;
    UINT index_;
};

class CTypeLib final : public CUnknownImpl<ITypeLib> {
  public:
    explicit CTypeLib(LibraryPtr library) : library_(std::move(library)) {}

    UINT GetTypeInfoCount() override { return static_cast<UINT>(Types().size()); }
    HRESULT GetTypeInfo(UINT index, ITypeInfo** info) override {
        return MakeTypeInfo(library_, index, info);
    }
    HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) override {
        if (kind == nullptr) {
            return E_POINTER;
        }
        if (index >= Types().size()) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
        *kind = Types()[index].kind;
        return S_OK;
    }
    HRESULT GetTypeInfoOfGuid(const GUID& guid, ITypeInfo** info) override {
        const auto found = std::find_if(Types().begin(), Types().end(),
                                        [&guid](const auto& t) { return t.guid == guid; });
        if (found == Types().end()) {
            if (info != nullptr) {
                *info = nullptr;
            }
            return TYPE_E_ELEMENTNOTFOUND;
        }
        return MakeTypeInfo(library_, static_cast<UINT>(found - Types().begin()), info);
    }
    HRESULT GetLibAttr(TLIBATTR* attr) override {
        if (attr == nullptr) {
            return E_POINTER;
        }
        *attr = TLIBATTR{};
        attr->guid = library_->description.guid;
        attr->wMajorVerNum = library_->description.majorVersion;
        attr->wMinorVerNum = library_->description.minorVersion;
        return S_OK;
    }
    HRESULT GetDocumentation(INT index, BSTR* name, BSTR* doc, DWORD* helpContext,
                             BSTR* helpFile) override {
        const TypeLibDescription& lib = library_->description;
        if (index == -1) {
            return Document(lib.name, lib.doc, lib.helpFile, name, doc, helpContext, helpFile);
        }
        if (index < 0 || static_cast<std::size_t>(index) >= Types().size()) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
        const TypeDescription& type = Types()[static_cast<std::size_t>(index)];
        return Document(type.name, type.doc, lib.helpFile, name, doc, helpContext, helpFile);
    }

  private:
    const std::vector<TypeDescription>& Types() const { return library_->description.types; }

    LibraryPtr library_;
};

HRESULT MakeTypeInfo(const LibraryPtr& library, UINT index, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    if (index >= library->description.types.size()) {
        return TYPE_E_ELEMENTNOTFOUND;
    }
    try {
        *info = MakeComObject<CTypeInfo>(library, index).Detach();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT MakeTypeLib(const LibraryPtr& library, ITypeLib** lib) {
    if (lib == nullptr) {
        return E_POINTER;
    }
    *lib = nullptr;
    try {
        *lib = MakeComObject<CTypeLib>(library).Detach();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

bool ImplTypesResolve(const TypeLibDescription& description) {
    const std::size_t count = description.types.size();
    return std::all_of(description.types.begin(), description.types.end(), [count](const auto& t) {
        return std::all_of(t.implTypes.begin(), t.implTypes.end(),
                           [count](const auto& impl) { return impl.typeIndex < count; });
    });
}

}  // namespace

HRESULT CreateTypeLib(TypeLibDescription description, ITypeLib** lib) {
    if (lib == nullptr) {
        return E_POINTER;
    }
    *lib = nullptr;
    if (!ImplTypesResolve(description)) {
        return E_INVALIDARG;
    }
    try {
        auto data = std::make_shared<LibraryData>();
        for (const TypeDescription& type : description.types) {
            data->members.emplace_back(type.source.empty() ? type.name : type.source, type.members);
        }
        data->description = std::move(description);
        return MakeTypeLib(data, lib);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CreateDispatchTypeInfo(const std::string& name, const GUID& guid,
                               const CDispatchMembers& members, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    TypeLibDescription description;
    description.name = name;
    description.types.push_back(
        {name, "", guid, TKIND_DISPATCH, members.Source(), members.Members(), {}});
    CComPtr<ITypeLib> lib;
    const HRESULT hr = CreateTypeLib(std::move(description), lib.ReleaseAndGetAddressOf());
    return FAILED(hr) ? hr : lib->GetTypeInfo(0, info);
}
