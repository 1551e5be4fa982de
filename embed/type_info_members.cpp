// Member descriptions read from an object's type information.
#include "embed/type_info_members.h"

#include "platform/com/com_ptr.h"
#include "platform/com/lcid.h"
#include "platform/com/type_info.h"

namespace {

DispKind KindOf(INVOKEKIND kind) {
    switch (kind) {
        case INVOKE_PROPERTYGET:
            return DispKind::PropertyGet;
        case INVOKE_PROPERTYPUT:
        case INVOKE_PROPERTYPUTREF:
            return DispKind::PropertyPut;
        case INVOKE_FUNC:
            break;
    }
    return DispKind::Method;
}

MemberDescription Describe(const FUNCDESC& desc, const std::vector<std::string>& names) {
    MemberDescription member;
    member.name = names.empty() ? std::string() : names.front();
    member.dispid = desc.memid;
    member.kind = KindOf(desc.invkind);
    member.resultType = desc.elemdescFunc.vt;
    for (std::size_t i = 0; i < desc.params.size(); ++i) {
        const ELEMDESC& param = desc.params[i];
        ParamDescription described;
        described.name = i + 1 < names.size() ? names[i + 1] : "value";
        described.type = static_cast<VARTYPE>(param.vt & ~VT_BYREF);
        described.out = (param.vt & VT_BYREF) != 0 || (param.wParamFlags & PARAMFLAG_FOUT) != 0;
        described.optional = (param.wParamFlags & PARAMFLAG_FOPT) != 0;
        member.params.push_back(described);
    }
    return member;
}

}  // namespace

std::vector<MemberDescription> MembersOfType(ITypeInfo* info) {
    std::vector<MemberDescription> members;
    TYPEATTR attr;
    if (info == nullptr || FAILED(info->GetTypeAttr(&attr))) {
        return members;
    }
    for (UINT i = 0; i < attr.cFuncs; ++i) {
        FUNCDESC desc;
        std::vector<std::string> names;
        if (SUCCEEDED(info->GetFuncDesc(i, &desc)) &&
            SUCCEEDED(info->GetNames(desc.memid, &names))) {
            members.push_back(Describe(desc, names));
        }
    }
    return members;
}

std::vector<MemberDescription> MembersFromTypeInfo(IDispatch* object) {
    UINT count = 0;
    CComPtr<ITypeInfo> info;
    if (object == nullptr || FAILED(object->GetTypeInfoCount(&count)) || count == 0 ||
        FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.ReleaseAndGetAddressOf()))) {
        return {};
    }
    return MembersOfType(info.Get());
}
