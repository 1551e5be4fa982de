// What the interactive host shows of an object's members and how it reads the arguments a
// user types: member descriptions from type information, typed argument texts, value texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"
#include "platform/com/dispatch_table.h"

struct ParamDescription {
    std::string name;
    VARTYPE type = VT_VARIANT;
    bool out = false;
    bool optional = false;
};

struct MemberDescription {
    std::string name;
    DISPID dispid = DISPID_UNKNOWN;
    DispKind kind = DispKind::Method;
    std::vector<ParamDescription> params;
    VARTYPE resultType = VT_EMPTY;
};

// The members the object's type information lists, in its order; empty without any.
std::vector<MemberDescription> DescribeMembers(IDispatch* object);

// "String", "Long", "Double", "Boolean", "Date", "Currency", "Object", "Variant", ...
std::string TypeName(VARTYPE type);
// "OpenForm(adoConn As Object, ls_sql As String, sFormFileName As String) As Boolean", with
// "[out]" before out parameters and optional ones in brackets; a property put's value is
// shown as " = value As Type".
std::string Signature(const MemberDescription& member);

// The typed text as a value of the type, converted under the user's locale. An empty text is
// an omitted argument. For VT_VARIANT the form of the text decides: a whole number is a Long,
// another number a Double, True/False a Boolean, "(null)" null, and anything else a String
// (quotes around it are taken off).
bool ArgumentFromText(std::string_view text, VARTYPE type, CComVariant& out, std::string& error);

// A value as the result pane shows it: "(empty)", "(null)", "(missing)", "(object)",
// "\"text\"", numbers and dates in the user's locale, "True"/"False".
std::string ValueText(const VARIANT& value);
