// Writing the typed wrapper of a control from the members of its dispatch interface.
#include "embed/qorwrap/wrapper_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>

namespace {

constexpr std::string_view kPrefix = "QOR";

std::string Tail(const std::string& coclassName) {
    return coclassName.starts_with(kPrefix) ? coclassName.substr(kPrefix.size()) : coclassName;
}

// The C++ type of a value of the automation type.
std::string ValueType(VARTYPE type) {
    switch (type) {
        case VT_I2:
            return "short";
        case VT_I4:
        case VT_INT:
            return "long";
        case VT_UI4:
        case VT_UINT:
            return "COLORREF";
        case VT_R4:
        case VT_R8:
        case VT_CY:
            return "double";
        case VT_BOOL:
            return "bool";
        case VT_BSTR:
            return "QString";
        case VT_DATE:
            return "QDateTime";
        case VT_DISPATCH:
        case VT_UNKNOWN:
            return "QorDispatchPtr";
        default:
            return "QVariant";
    }
}

std::string ParamType(const ParamDescription& param) {
    if (param.out) {
        return ValueType(param.type) + "&";
    }
    if (param.type == VT_DISPATCH || param.type == VT_UNKNOWN) {
        return "IDispatch*";
    }
    const std::string type = ValueType(param.type);
    return type.starts_with('Q') ? "const " + type + "&" : type;
}

// Words of C++ a type library's parameter might be named; they get a trailing underscore.
constexpr std::array<std::string_view, 16> kReservedWords = {
    "auto", "bool", "char", "class",    "default", "delete", "double", "float",
    "int",  "long", "new",  "operator", "short",   "this",   "signed", "template"};

// A name the C++ grammar takes as a parameter name.
std::string ParamName(const std::string& name, std::size_t index) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front())) != 0) {
        return "arg" + std::to_string(index + 1);
    }
    const bool reserved =
        std::find(kReservedWords.begin(), kReservedWords.end(), name) != kReservedWords.end();
    return reserved ? name + "_" : name;
}

std::string MethodName(const MemberDescription& member) {
    return member.kind == DispKind::PropertyPut ? "Set" + member.name : member.name;
}

const char* Flags(DispKind kind) {
    switch (kind) {
        case DispKind::PropertyGet:
            return "DISPATCH_PROPERTYGET";
        case DispKind::PropertyPut:
            return "DISPATCH_PROPERTYPUT";
        case DispKind::Method:
            break;
    }
    return "DISPATCH_METHOD";
}

void WriteMember(std::ostream& out, const MemberDescription& member) {
    const bool returns = member.kind != DispKind::PropertyPut && member.resultType != VT_EMPTY;
    const std::string result = returns ? ValueType(member.resultType) : "bool";
    out << "    " << result << " " << MethodName(member) << "(";
    for (std::size_t i = 0; i < member.params.size(); ++i) {
        out << (i > 0 ? ", " : "") << ParamType(member.params[i]) << " "
            << ParamName(member.params[i].name, i);
    }
    out << ") {\n";
    out << "        qorwrap::Call call(*this, " << member.dispid << ", " << Flags(member.kind)
        << ");\n";
    for (std::size_t i = 0; i < member.params.size(); ++i) {
        out << "        call." << (member.params[i].out ? "Out" : "In") << "("
            << ParamName(member.params[i].name, i) << ");\n";
    }
    out << "        return " << (returns ? "call.Result<" + result + ">()" : "call.Run()")
        << ";\n    }\n";
}

}  // namespace

std::string WrapperClassName(const std::string& coclassName) {
    return "Qor" + Tail(coclassName);
}

std::string WrapperFileName(const std::string& coclassName) {
    std::string tail = Tail(coclassName);
    for (char& c : tail) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return "qor_" + tail + "_qt.h";
}

std::string WriteWrapper(const WrapperSource& source) {
    const std::string name = WrapperClassName(source.coclassName);
    std::ostringstream out;
    out << "// " << name << ": the " << source.coclassName
        << " control in a Qt program, one method per member of " << source.interfaceName
        << ".\n// Written by qorwrap from the module's type information; not to be edited.\n"
        << "#pragma once\n\n#include \"embed/qor_wrapper_qt.h\"\n\n"
        << "class " << name << " : public QorControl {\n  public:\n"
        << "    static constexpr const char* kClassId = \"" << source.classId << "\";\n\n"
        << "    explicit " << name
        << "(QWidget* parent = nullptr) : QorControl(QString::fromLatin1(kClassId), parent) {}\n";
    for (const MemberDescription& member : source.members) {
        out << "\n";
        WriteMember(out, member);
    }
    out << "};\n";
    return out.str();
}
