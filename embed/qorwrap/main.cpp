// qorwrap MODULE OUTPUT_DIR: writes the typed wrapper of the control a module carries, read from
// the module's type information, into the folder (the file is left alone when unchanged).
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "embed/qorwrap/wrapper_writer.h"
#include "embed/type_info_members.h"
#include "platform/com/guid.h"

namespace {

std::string NameOf(ITypeInfo* info) {
    CComBSTR name;
    info->GetDocumentation(MEMBERID_NIL, name.ReleaseAndGetAddressOf(), nullptr, nullptr, nullptr);
    return name.ToString();
}

// The control class of the library with its default dispatch interface.
bool ReadControl(ITypeLib* lib, WrapperSource& source) {
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        TYPEKIND kind = TKIND_DISPATCH;
        CComPtr<ITypeInfo> coclass;
        TYPEATTR attr;
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS ||
            FAILED(lib->GetTypeInfo(i, coclass.ReleaseAndGetAddressOf())) ||
            FAILED(coclass->GetTypeAttr(&attr))) {
            continue;
        }
        for (UINT impl = 0; impl < attr.cImplTypes; ++impl) {
            INT flags = 0;
            HREFTYPE ref = 0;
            CComPtr<ITypeInfo> interface;
            if (SUCCEEDED(coclass->GetImplTypeFlags(impl, &flags)) &&
                (flags & IMPLTYPEFLAG_FSOURCE) == 0 &&
                SUCCEEDED(coclass->GetRefTypeOfImplType(impl, &ref)) &&
                SUCCEEDED(coclass->GetRefTypeInfo(ref, interface.ReleaseAndGetAddressOf()))) {
                source.coclassName = NameOf(coclass.Get());
                source.interfaceName = NameOf(interface.Get());
                source.classId = FormatGuid(attr.guid);
                source.members = MembersOfType(interface.Get());
                return true;
            }
        }
    }
    return false;
}

bool WriteIfChanged(const std::filesystem::path& path, const std::string& text) {
    std::ifstream existing(path, std::ios::binary);
    std::ostringstream held;
    held << existing.rdbuf();
    if (existing && held.str() == text) {
        return true;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qorwrap MODULE OUTPUT_DIR\n";
        return 2;
    }
    CComPtr<ITypeLib> lib;
    WrapperSource source;
    if (FAILED(LoadTypeLib(argv[1], lib.ReleaseAndGetAddressOf())) ||
        !ReadControl(lib.Get(), source)) {
        std::cerr << "qorwrap: " << argv[1] << " carries no control's type information\n";
        return 1;
    }
    const std::filesystem::path path =
        std::filesystem::path(argv[2]) / WrapperFileName(source.coclassName);
    if (!WriteIfChanged(path, WriteWrapper(source))) {
        std::cerr << "qorwrap: cannot write " << path << "\n";
        return 1;
    }
    return 0;
}
