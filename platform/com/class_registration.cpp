// The keys of registered classes and type libraries, written and read back.
#include "platform/com/class_registration.h"

#include <filesystem>

namespace {

std::string ClassKey(const CLSID& clsid) {
    return "CLSID\\" + FormatGuid(clsid);
}

std::string VersionText(WORD major, WORD minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

std::string LibVersionKey(const GUID& libid, WORD major, WORD minor) {
    return "TypeLib\\" + FormatGuid(libid) + "\\" + VersionText(major, minor);
}

void WriteServer(CRegistryKeys& keys, const std::string& classKey, const std::string& typeName,
                 const std::string& modulePath) {
    keys.SetValue(classKey, "", typeName);
    keys.SetValue(classKey + "\\InprocServer32", "", modulePath);
    keys.SetValue(classKey + "\\InprocServer32", "ThreadingModel", "Apartment");
}

}  // namespace

void RegisterControlClass(CRegistryKeys& keys, const ControlClassRegistration& control) {
    const std::string classKey = ClassKey(control.clsid);
    keys.DeleteTree(classKey);
    WriteServer(keys, classKey, control.typeName, control.modulePath);
    if ((control.flags & afxRegApartmentThreading) == 0) {
        keys.SetValue(classKey + "\\InprocServer32", "ThreadingModel", "Free");
    }
    keys.SetValue(classKey + "\\ProgID", "", control.progId);
    keys.CreateKey(classKey + "\\Control");
    if ((control.flags & afxRegInsertable) != 0) {
        keys.CreateKey(classKey + "\\Insertable");
    }
    keys.SetValue(classKey + "\\MiscStatus", "", std::to_string(control.miscStatus));
    keys.SetValue(classKey + "\\ToolboxBitmap32", "",
                  control.modulePath + ", " + std::to_string(control.toolboxBitmapId));
    keys.SetValue(classKey + "\\TypeLib", "", FormatGuid(control.typeLibId));
    keys.SetValue(classKey + "\\Version", "",
                  VersionText(control.majorVersion, control.minorVersion));

    keys.DeleteTree(control.progId);
    keys.SetValue(control.progId, "", control.typeName);
    keys.SetValue(control.progId + "\\CLSID", "", FormatGuid(control.clsid));
    if ((control.flags & afxRegInsertable) != 0) {
        keys.CreateKey(control.progId + "\\Insertable");
    }
}

void RegisterPropertyPageClass(CRegistryKeys& keys, const CLSID& clsid, const std::string& typeName,
                               const std::string& modulePath) {
    const std::string classKey = ClassKey(clsid);
    keys.DeleteTree(classKey);
    WriteServer(keys, classKey, typeName, modulePath);
}

void UnregisterClass(CRegistryKeys& keys, const CLSID& clsid, const std::string& progId) {
    keys.DeleteTree(ClassKey(clsid));
    if (progId.empty()) {
        return;
    }
    const std::optional<std::string> named = keys.GetValue(progId + "\\CLSID");
    const std::optional<GUID> guid = named ? ParseGuid(*named) : std::nullopt;
    if (!keys.HasKey(progId + "\\CLSID") || (guid && *guid == clsid)) {
        keys.DeleteTree(progId);
    }
}

void RegisterTypeLibrary(CRegistryKeys& keys, const TypeLibRegistration& lib) {
    const std::string versionKey = LibVersionKey(lib.libid, lib.majorVersion, lib.minorVersion);
    keys.DeleteTree(versionKey);
    keys.SetValue(versionKey, "", lib.name);
    keys.SetValue(versionKey + "\\0\\linux", "", lib.modulePath);
    keys.SetValue(versionKey + "\\FLAGS", "", "0");
    keys.SetValue(versionKey + "\\HELPDIR", "",
                  std::filesystem::path(lib.modulePath).parent_path().string());
    keys.SetValue(versionKey, "HelpFile", lib.helpFile);
    for (const TypeLibRegistration::Interface& type : lib.interfaces) {
        const std::string key = "Interface\\" + FormatGuid(type.iid);
        keys.DeleteTree(key);
        keys.SetValue(key, "", type.name);
        keys.SetValue(key + "\\TypeLib", "", FormatGuid(lib.libid));
        keys.SetValue(key + "\\TypeLib", "Version",
                      VersionText(lib.majorVersion, lib.minorVersion));
    }
}

void UnregisterTypeLibrary(CRegistryKeys& keys, const GUID& libid, WORD major, WORD minor) {
    const std::string libKey = "TypeLib\\" + FormatGuid(libid);
    keys.DeleteTree(LibVersionKey(libid, major, minor));
    if (keys.SubKeys(libKey).empty()) {
        keys.DeleteTree(libKey);
    }
    for (const std::string& iid : keys.SubKeys("Interface")) {
        const std::string key = "Interface\\" + iid;
        const std::optional<std::string> owner = keys.GetValue(key + "\\TypeLib");
        const std::optional<GUID> ownerId = owner ? ParseGuid(*owner) : std::nullopt;
        const std::optional<std::string> version = keys.GetValue(key + "\\TypeLib", "Version");
        if (ownerId && *ownerId == libid && version == VersionText(major, minor)) {
            keys.DeleteTree(key);
        }
    }
    if (keys.SubKeys("Interface").empty()) {
        keys.DeleteTree("Interface");
    }
}

HRESULT RegistryInprocServer(const CLSID& clsid, std::string* modulePath) {
    if (modulePath == nullptr) {
        return E_POINTER;
    }
    CRegistryKeys keys;
    const HRESULT hr = ReadClassRegistry(keys);
    if (FAILED(hr)) {
        return hr;
    }
    const std::optional<std::string> path = keys.GetValue(ClassKey(clsid) + "\\InprocServer32");
    if (!path || path->empty()) {
        return REGDB_E_CLASSNOTREG;
    }
    *modulePath = *path;
    return S_OK;
}

HRESULT RegistryCLSIDFromProgID(const std::string& progId, CLSID* clsid) {
    if (clsid == nullptr) {
        return E_POINTER;
    }
    CRegistryKeys keys;
    const HRESULT hr = ReadClassRegistry(keys);
    if (FAILED(hr)) {
        return hr;
    }
    const std::optional<std::string> text =
        progId.empty() ? std::nullopt : keys.GetValue(progId + "\\CLSID");
    const std::optional<GUID> guid = text ? ParseGuid(*text) : std::nullopt;
    if (!guid) {
        return CO_E_CLASSSTRING;
    }
    *clsid = *guid;
    return S_OK;
}

HRESULT RegistryTypeLibPath(const GUID& libid, WORD major, WORD minor, std::string* modulePath) {
    if (modulePath == nullptr) {
        return E_POINTER;
    }
    CRegistryKeys keys;
    const HRESULT hr = ReadClassRegistry(keys);
    if (FAILED(hr)) {
        return hr;
    }
    const std::optional<std::string> path =
        keys.GetValue(LibVersionKey(libid, major, minor) + "\\0\\linux");
    if (!path || path->empty()) {
        return TYPE_E_LIBNOTREGISTERED;
    }
    *modulePath = *path;
    return S_OK;
}
