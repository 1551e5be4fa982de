// Member descriptions, typed argument texts and value texts for the interactive host.
#include "embed/member_list.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <utility>

#include "embed/type_info_members.h"

namespace {

constexpr std::array<std::pair<VARTYPE, std::string_view>, 17> kTypeNames{{
    {VT_EMPTY, "Empty"},
    {VT_NULL, "Null"},
    {VT_I2, "Integer"},
    {VT_I4, "Long"},
    {VT_R4, "Single"},
    {VT_R8, "Double"},
    {VT_CY, "Currency"},
    {VT_DATE, "Date"},
    {VT_BSTR, "String"},
    {VT_DISPATCH, "Object"},
    {VT_ERROR, "Error"},
    {VT_BOOL, "Boolean"},
    {VT_VARIANT, "Variant"},
    {VT_UNKNOWN, "Unknown"},
    {VT_DECIMAL, "Decimal"},
    {VT_UI1, "Byte"},
    {VT_I8, "LongLong"},
}};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
        text.remove_suffix(1);
    }
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool IsWholeNumber(std::string_view text) {
    std::size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (start == text.size()) {
        return false;
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i])) == 0) {
            return false;
        }
    }
    return true;
}

// The type a text of a Variant argument is taken as.
VARTYPE GuessedType(std::string_view text) {
    if (EqualsIgnoringCase(text, "true") || EqualsIgnoringCase(text, "false")) {
        return VT_BOOL;
    }
    if (IsWholeNumber(text)) {
        return VT_I4;
    }
    CComVariant number;
    const CComVariant given{std::string(text)};
    return SUCCEEDED(VariantChangeType(&number, &given, 0, VT_R8)) ? VT_R8 : VT_BSTR;
}

std::string Unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

std::string ParamText(const ParamDescription& param) {
    std::string text = param.out ? "[out] " : "";
    text += param.name + " As " + TypeName(param.type);
    return param.optional ? "[" + text + "]" : text;
}

}  // namespace

std::vector<MemberDescription> DescribeMembers(IDispatch* object) {
    return MembersFromTypeInfo(object);
}

std::string TypeName(VARTYPE type) {
    for (const auto& [vt, name] : kTypeNames) {
        if (vt == (type & VT_TYPEMASK)) {
            std::string text(name);
            return (type & VT_ARRAY) != 0 ? text + "()" : text;
        }
    }
    return "Type " + std::to_string(type);
}

std::string Signature(const MemberDescription& member) {
    std::vector<ParamDescription> params = member.params;
    std::string value;
    if (member.kind == DispKind::PropertyPut && !params.empty()) {
        value = " = value As " + TypeName(params.back().type);
        params.pop_back();
    }
    std::string text = member.name;
    if (member.kind == DispKind::Method || !params.empty()) {
        text += "(";
        for (std::size_t i = 0; i < params.size(); ++i) {
            text += (i > 0 ? ", " : "") + ParamText(params[i]);
        }
        text += ")";
    }
    text += value;
    if (member.resultType != VT_EMPTY) {
        text += " As " + TypeName(member.resultType);
    }
    return text;
}

bool ArgumentFromText(std::string_view text, VARTYPE type, CComVariant& out, std::string& error) {
    const std::string_view trimmed = Trimmed(text);
    if (trimmed.empty()) {
        out = CComVariant::Missing();
        return true;
    }
    if (type == VT_VARIANT && EqualsIgnoringCase(trimmed, "(null)")) {
        out = CComVariant::Null();
        return true;
    }
    const VARTYPE target = type == VT_VARIANT ? GuessedType(trimmed) : type;
    if (target == VT_BSTR) {
        out = CComVariant(type == VT_VARIANT ? Unquoted(trimmed) : std::string(text));
        return true;
    }
    const CComVariant given{std::string(trimmed)};
    HRESULT hr = VariantChangeType(&out, &given, VARIANT_ALPHABOOL, target);
    if (hr == DISP_E_OVERFLOW && type == VT_VARIANT && target == VT_I4) {
        hr = VariantChangeType(&out, &given, 0, VT_R8);  // a whole number beyond a Long
    }
    if (FAILED(hr)) {
        error = std::string("\"").append(trimmed).append("\" is not a ").append(TypeName(target));
        return false;
    }
    return true;
}

std::string ValueText(const VARIANT& value) {
    CComVariant shown;
    if (FAILED(VariantCopyInd(&shown, &value))) {
        return "(type " + std::to_string(value.vt) + ")";
    }
    if ((shown.vt & VT_ARRAY) != 0) {
        return "(array)";
    }
    switch (shown.vt) {
        case VT_EMPTY:
            return "(empty)";
        case VT_NULL:
            return "(null)";
        case VT_DISPATCH:
        case VT_UNKNOWN:
            return shown.punkVal != nullptr ? "(object)" : "(nothing)";
        case VT_ERROR:
            return shown.scode == DISP_E_PARAMNOTFOUND ? "(missing)" : "(error)";
        case VT_BSTR:
            return std::string("\"").append(shown.Text()).append("\"");
        default:
            break;
    }
    CComVariant text;
    if (FAILED(VariantChangeType(&text, &shown, VARIANT_ALPHABOOL, VT_BSTR))) {
        return "(type " + std::to_string(shown.vt) + ")";
    }
    return std::string(text.Text());
}
