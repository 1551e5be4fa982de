// Type information: libraries of interfaces and classes described from dispatch member tables,
// with member descriptions, documentation, name lookup and invocation on an instance, and the
// loading of a registered library from the module that carries it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch_table.h"

using MEMBERID = DISPID;
using HREFTYPE = DWORD;
constexpr MEMBERID MEMBERID_NIL = DISPID_UNKNOWN;

enum TYPEKIND {
    TKIND_ENUM = 0,
    TKIND_RECORD = 1,
    TKIND_MODULE = 2,
    TKIND_INTERFACE = 3,
    TKIND_DISPATCH = 4,
    TKIND_COCLASS = 5,
    TKIND_ALIAS = 6,
    TKIND_UNION = 7
};

enum INVOKEKIND {
    INVOKE_FUNC = 1,
    INVOKE_PROPERTYGET = 2,
    INVOKE_PROPERTYPUT = 4,
    INVOKE_PROPERTYPUTREF = 8
};

constexpr USHORT PARAMFLAG_NONE = 0x00;
constexpr USHORT PARAMFLAG_FIN = 0x01;
constexpr USHORT PARAMFLAG_FOUT = 0x02;
constexpr USHORT PARAMFLAG_FRETVAL = 0x08;
constexpr USHORT PARAMFLAG_FOPT = 0x10;
constexpr USHORT PARAMFLAG_FHASDEFAULT = 0x20;

constexpr INT IMPLTYPEFLAG_FDEFAULT = 0x1;
constexpr INT IMPLTYPEFLAG_FSOURCE = 0x2;

struct TYPEATTR {
    GUID guid{};
    LCID lcid = 0;
    TYPEKIND typekind = TKIND_DISPATCH;
    WORD cFuncs = 0;
    WORD cImplTypes = 0;
    WORD wMajorVerNum = 0;
    WORD wMinorVerNum = 0;
};

// A parameter or a result: its type (VT_BYREF added for an out parameter), flags and the value
// a missing optional parameter takes.
struct ELEMDESC {
    VARTYPE vt = VT_EMPTY;
    USHORT wParamFlags = PARAMFLAG_NONE;
    CComVariant defaultValue;
};

struct FUNCDESC {
    MEMBERID memid = MEMBERID_NIL;
    INVOKEKIND invkind = INVOKE_FUNC;
    std::vector<ELEMDESC> params;
    SHORT cParamsOpt = 0;
    ELEMDESC elemdescFunc;  // the result; VT_EMPTY when there is none
};

struct TLIBATTR {
    GUID guid{};
    LCID lcid = 0;
    WORD wMajorVerNum = 0;
    WORD wMinorVerNum = 0;
};

struct ITypeLib;

struct ITypeInfo : IUnknown {
    static constexpr IID iid = MakeGuid("{00020401-0000-0000-C000-000000000046}");
    using InterfaceBase = IUnknown;

    virtual HRESULT GetTypeAttr(TYPEATTR* attr) = 0;
    // TYPE_E_ELEMENTNOTFOUND past the last member.
    virtual HRESULT GetFuncDesc(UINT index, FUNCDESC* desc) = 0;
    // The member's name followed by its parameters' names.
    virtual HRESULT GetNames(MEMBERID memid, std::vector<std::string>* names) = 0;
    virtual HRESULT GetIDsOfNames(const LPCOLESTR* names, UINT count, MEMBERID* ids) = 0;
    // Calls the member on an instance of the described interface: the arguments are checked
    // and converted as the description says, out parameters stored back, the result
    // delivered. E_INVALIDARG when the instance does not implement the description.
    virtual HRESULT Invoke(IUnknown* instance, MEMBERID memid, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* argError) = 0;
    // MEMBERID_NIL asks for the type itself. Any out pointer may be null.
    virtual HRESULT GetDocumentation(MEMBERID memid, BSTR* name, BSTR* doc, DWORD* helpContext,
                                     BSTR* helpFile) = 0;
    // The interfaces a class implements.
    virtual HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* ref) = 0;
    virtual HRESULT GetImplTypeFlags(UINT index, INT* flags) = 0;
    virtual HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) = 0;
    virtual HRESULT GetContainingTypeLib(ITypeLib** lib, UINT* index) = 0;

  protected:
    ~ITypeInfo() = default;
};

inline constexpr const IID& IID_ITypeInfo = ITypeInfo::iid;

struct ITypeLib : IUnknown {
    static constexpr IID iid = MakeGuid("{00020402-0000-0000-C000-000000000046}");
    using InterfaceBase = IUnknown;

    virtual UINT GetTypeInfoCount() = 0;
    virtual HRESULT GetTypeInfo(UINT index, ITypeInfo** info) = 0;
    virtual HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) = 0;
    // TYPE_E_ELEMENTNOTFOUND when no type has the guid.
    virtual HRESULT GetTypeInfoOfGuid(const GUID& guid, ITypeInfo** info) = 0;
    virtual HRESULT GetLibAttr(TLIBATTR* attr) = 0;
    // index -1 asks for the library itself.
    virtual HRESULT GetDocumentation(INT index, BSTR* name, BSTR* doc, DWORD* helpContext,
                                     BSTR* helpFile) = 0;

  protected:
    ~ITypeLib() = default;
};

inline constexpr const IID& IID_ITypeLib = ITypeLib::iid;

// One type of a library. A class lists the library indexes of the interfaces it implements.
struct TypeDescription {
    struct ImplType {
        UINT typeIndex = 0;
        INT flags = 0;
    };
    std::string name;
    std::string doc;
    GUID guid{};
    TYPEKIND kind = TKIND_DISPATCH;
    std::string source;  // the error source members report; the name when empty
    std::vector<DispMemberInfo> members;
    std::vector<ImplType> implTypes;
};

struct TypeLibDescription {
    std::string name;
    std::string doc;
    GUID guid{};
    WORD majorVersion = 1;
    WORD minorVersion = 0;
    std::string helpFile;
    std::vector<TypeDescription> types;
};

// E_INVALIDARG when a class names a type index the library does not have.
HRESULT CreateTypeLib(TypeLibDescription description, ITypeLib** lib);

// The library a module carries, from the module's DllGetTypeLib export. TYPE_E_CANTLOADLIBRARY
// when the module cannot be loaded or has no library.
HRESULT LoadTypeLib(const std::string& modulePath, ITypeLib** lib);
// The library registered under the id with the version, loaded from its registered path.
// TYPE_E_LIBNOTREGISTERED when the registry has no such library.
HRESULT LoadRegTypeLib(const GUID& libid, WORD major, WORD minor, ITypeLib** lib);

// The export a module provides its library through.
using DllGetTypeLibFunction = HRESULT (*)(ITypeLib** lib);
inline constexpr const char* kDllGetTypeLibName = "DllGetTypeLib";
