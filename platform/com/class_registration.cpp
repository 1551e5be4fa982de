// The keys of registered classes and type libraries, written and read back.
#include "platform/com/class_registration.h"

#include <atomic>
#include <filesystem>
#include <new>

#include "platform/com/class_registry_layers.h"

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

// The value of a key of the entry (a class, a ProgID, a library version) in the layer that
// holds the entry now; the missing result when it has no value or an empty one, or
// REGDB_E_READREGDB when a layer that could not be read may be hiding it.
HRESULT ReadRegistryValue(const std::string& entry, const std::string& key, HRESULT missing,
                          std::string* value) {
    if (value == nullptr) {
        return E_POINTER;
    }
    try {
        const CClassRegistryLayers layers;
        layers.LogProblemsOnce();
        const CRegistryKeys* holder = layers.Holder(entry);
        const std::optional<std::string> found = holder ? holder->GetValue(key) : std::nullopt;
        if (!found || found->empty()) {
            return FAILED(layers.Status()) ? layers.Status() : missing;
        }
        *value = *found;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

std::atomic<RegistryLayer>& RegistrationLayerSetting() {
    static std::atomic<RegistryLayer> layer{RegistryLayer::User};
    return layer;
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

void SetRegistrationLayer(RegistryLayer layer) {
    RegistrationLayerSetting() = layer;
}

RegistryLayer RegistrationLayer() {
    return RegistrationLayerSetting();
}

HRESULT RegisterControlModule(const ControlModuleRegistration& module) {
    const HRESULT hr = UpdateClassRegistry(
        [&](CRegistryKeys& keys) {
            RegisterTypeLibrary(keys, module.typeLib);
            RegisterControlClass(keys, module.control);
            RegisterPropertyPageClass(keys, module.pageClsid, module.pageTypeName,
                                      module.control.modulePath);
            return S_OK;
        },
        nullptr, RegistrationLayer());
    // The library's keys are built from GUIDs and numbers: a name the file cannot hold is the
    // ProgID of a class.
    return SUCCEEDED(hr) ? hr : hr == E_INVALIDARG ? SELFREG_E_CLASS : SELFREG_E_TYPELIB;
}

HRESULT UnregisterControlModule(const ControlModuleRegistration& module) {
    const TypeLibRegistration& lib = module.typeLib;
    const HRESULT hr = UpdateClassRegistry(
        [&](CRegistryKeys& keys) {
            UnregisterTypeLibrary(keys, lib.libid, lib.majorVersion, lib.minorVersion);
            UnregisterClass(keys, module.control.clsid, module.control.progId);
            UnregisterClass(keys, module.pageClsid, "");
            return S_OK;
        },
        nullptr, RegistrationLayer());
    return SUCCEEDED(hr) ? hr : SELFREG_E_TYPELIB;
}

HRESULT RegistryInprocServer(const CLSID& clsid, std::string* modulePath) {
    return ReadRegistryValue(ClassKey(clsid), ClassKey(clsid) + "\\InprocServer32",
                             REGDB_E_CLASSNOTREG, modulePath);
}

HRESULT RegistryCLSIDFromProgID(const std::string& progId, CLSID* clsid) {
    if (clsid == nullptr) {
        return E_POINTER;
    }
    std::string text;
    const HRESULT hr = progId.empty()
                           ? CO_E_CLASSSTRING
                           : ReadRegistryValue(progId, progId + "\\CLSID", CO_E_CLASSSTRING, &text);
    if (FAILED(hr)) {
        return hr;
    }
    const std::optional<GUID> guid = ParseGuid(text);
    if (!guid) {
        return CO_E_CLASSSTRING;
    }
    *clsid = *guid;
    return S_OK;
}

HRESULT RegistryTypeLibPath(const GUID& libid, WORD major, WORD minor, std::string* modulePath) {
    const std::string versionKey = LibVersionKey(libid, major, minor);
    return ReadRegistryValue(versionKey, versionKey + "\\0\\linux", TYPE_E_LIBNOTREGISTERED,
                             modulePath);
}
