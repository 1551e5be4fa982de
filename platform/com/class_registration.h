// What self-registering modules write into the class registry and what object creation reads
// back: classes with their servers and ProgIDs, control classes with their flags, property
// page classes and type libraries.
//
// The keys, as the platform's class registry lays them out:
//   CLSID\{clsid}                  @=type name
//   CLSID\{clsid}\InprocServer32   @=module path, ThreadingModel=Apartment
//   CLSID\{clsid}\ProgID           @=ProgID
//   CLSID\{clsid}\Control, \Insertable (present or not)
//   CLSID\{clsid}\MiscStatus       @=misc status, decimal
//   CLSID\{clsid}\ToolboxBitmap32  @=module path, bitmap id
//   CLSID\{clsid}\TypeLib          @={libid};  CLSID\{clsid}\Version  @=1.0
//   ProgID                         @=type name;  ProgID\CLSID  @={clsid};  ProgID\Insertable
//   TypeLib\{libid}\1.0            @=name;  ...\0\linux  @=module path;  ...\FLAGS  @=0
//                                  ...\HELPDIR  @=folder;  HelpFile=help file name
//   Interface\{iid}                @=name;  ...\TypeLib  @={libid}, Version=1.0
#pragma once

#include <string>
#include <vector>

#include "platform/com/class_registry.h"
#include "platform/com/guid.h"

// Registration flags of a control class.
constexpr DWORD afxRegInsertable = 0x1;
constexpr DWORD afxRegApartmentThreading = 0x2;

struct ControlClassRegistration {
    CLSID clsid{};
    std::string progId;
    std::string typeName;
    std::string modulePath;
    UINT toolboxBitmapId = 1;
    DWORD flags = afxRegInsertable | afxRegApartmentThreading;
    DWORD miscStatus = 0;
    GUID typeLibId{};
    WORD majorVersion = 1;
    WORD minorVersion = 0;
};

struct TypeLibRegistration {
    GUID libid{};
    WORD majorVersion = 1;
    WORD minorVersion = 0;
    std::string name;
    std::string modulePath;
    std::string helpFile;  // its folder is the module's
    struct Interface {
        IID iid{};
        std::string name;
    };
    std::vector<Interface> interfaces;
};

// A control module's entries: its type library, its control class and its property page class.
struct ControlModuleRegistration {
    TypeLibRegistration typeLib;
    ControlClassRegistration control;
    CLSID pageClsid{};
    std::string pageTypeName;
};

// The layer self-registration writes in this process: the user's, unless a program that
// registers modules for every user of the machine (qorreg --system) chooses the system's.
void SetRegistrationLayer(RegistryLayer layer);
RegistryLayer RegistrationLayer();

// Writes (removes) all of a module's entries, in the registration layer, in one locked update, so
// that the registry holds all of them or none, whatever other processes register at the same time;
// nothing is written when it fails. SELFREG_E_CLASS when the class entries are ones the file cannot
// hold (a ProgID with a line break), SELFREG_E_TYPELIB when the registry is damaged or cannot be
// locked or written.
HRESULT RegisterControlModule(const ControlModuleRegistration& module);
HRESULT UnregisterControlModule(const ControlModuleRegistration& module);

// Writes a control class: its class keys, its ProgID and the ProgID's class.
void RegisterControlClass(CRegistryKeys& keys, const ControlClassRegistration& control);
// Writes a property page class: type name and server.
void RegisterPropertyPageClass(CRegistryKeys& keys, const CLSID& clsid, const std::string& typeName,
                               const std::string& modulePath);
// Removes the class and, when it names this class, the ProgID.
void UnregisterClass(CRegistryKeys& keys, const CLSID& clsid, const std::string& progId);
void RegisterTypeLibrary(CRegistryKeys& keys, const TypeLibRegistration& lib);
// Removes the version of the library (the library's key when no version is left) and the
// interfaces registered as its own.
void UnregisterTypeLibrary(CRegistryKeys& keys, const GUID& libid, WORD major, WORD minor);

// Lookups, each reading the registry files as they are now: an entry the user's file holds
// hides the system's entry of that class, ProgID or library version. REGDB_E_READREGDB when
// the entry is in neither and a file is damaged.
// REGDB_E_CLASSNOTREG when the class has no in-process server.
HRESULT RegistryInprocServer(const CLSID& clsid, std::string* modulePath);
// CO_E_CLASSSTRING when the ProgID is not registered or names no valid class id.
HRESULT RegistryCLSIDFromProgID(const std::string& progId, CLSID* clsid);
// TYPE_E_LIBNOTREGISTERED when that version of the library is not registered.
HRESULT RegistryTypeLibPath(const GUID& libid, WORD major, WORD minor, std::string* modulePath);
