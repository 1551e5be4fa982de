// The frame of a control module: the four exports, registration of the type library, the
// control class and the property page class, the class factories, the module's resources
// and the unload test. A module's source declares it all with QOR_CONTROL_MODULE.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "controls/common/ole_control.h"
#include "controls/common/ole_property_page.h"
#include "platform/com/class_factory.h"
#include "platform/dialogs/dialog.h"
#include "platform/ui/module_image.h"

// Resource ids of a control module.
constexpr UINT IDS_CONTROL_TYPENAME = 1;  // "N Control"
constexpr UINT IDS_PAGE_TYPENAME = 2;     // "N Property Page"
constexpr UINT IDS_PAGE_CAPTION = 200;    // "General"
constexpr UINT IDD_ABOUTBOX = 1;
constexpr UINT IDD_PROPPAGE = 200;
constexpr UINT IDB_TOOLBOX = 1;
constexpr UINT IDI_MODULE = 1;   // the module's icon, beside the About box's lines
constexpr UINT IDI_CONTROL = 2;  // the control's icon, its glyph on a page
constexpr UINT IDC_ABOUT_VERSION = 101;
constexpr UINT IDC_PAGE_TEXT = 102;

// The module's string table: empty for an id it does not have.
std::string ControlModuleString(const ControlClassInfo& info, UINT id);
DlgTemplate ControlAboutDialog(const ControlClassInfo& info);
DlgTemplate ControlPageDialog(const ControlClassInfo& info);
// Registers the About dialog and the icon it shows. Every module's About box has the same
// ids in the one table the process has, so this goes before each showing.
void RegisterAboutBoxResources(const ControlClassInfo& info);

// The module's images, drawn from the control's name: toolbox bitmap IDB_TOOLBOX and icons
// IDI_MODULE and IDI_CONTROL. Nothing for a type or id it does not have.
constexpr SIZE kToolboxBitmapSize{16, 15};
constexpr SIZE kIconSize{32, 32};
std::optional<CBitmap> ControlModuleImage(const ControlClassInfo& info, UINT type, UINT id);

// The version block, in the order the entries are written.
struct VersionEntry {
    std::string name;
    std::string value;
};
std::vector<VersionEntry> ControlVersionBlock(const ControlClassInfo& info);

// The module's library: the dispatch interface "_DN" (the control's members, stock ones
// included), the event interface "_DNEvents" (ReadyStateChange) and the class "N".
TypeLibDescription ControlTypeLibDescription(const ControlClassInfo& info,
                                             const CDispatchMembers& members);

// Objects and locks this module hands out; the module may go when both are none.
namespace control_module {
void CountObject(int delta);
void LockServer(bool lock);
bool CanUnload();
// The module's own file (the program's when the frame is linked into one).
std::string ModulePath();
}  // namespace control_module

// Creates T (a control or a page) for the module: counted while it lives.
template <class T>
class CModuleObject final : public T {
  public:
    CModuleObject() { control_module::CountObject(1); }
    ~CModuleObject() override { control_module::CountObject(-1); }
    CModuleObject(const CModuleObject&) = delete;
    CModuleObject& operator=(const CModuleObject&) = delete;
};

// Creation of a module's control or page, counted with the module's objects.
using ModuleCreateFunction = HRESULT (*)(const IID& riid, void** object);

template <class T>
HRESULT CreateModuleObject(const IID& riid, void** object) {
    return GuardResult("control module", [&] {
        const CComPtr<CModuleObject<T>> instance = MakeComObject<CModuleObject<T>>();
        return instance->QueryInterface(riid, object);
    });
}

// Everything the exports need about the module's two classes.
struct ControlModuleClasses {
    const ControlClassInfo& info;
    const CDispatchMembers& members;
    ModuleCreateFunction createControl;
    ModuleCreateFunction createPage;
};

HRESULT ControlModuleRegisterServer(const ControlModuleClasses& classes);
HRESULT ControlModuleUnregisterServer(const ControlModuleClasses& classes);
HRESULT ControlModuleGetClassObject(const ControlModuleClasses& classes, const CLSID& clsid,
                                    const IID& riid, void** object);
HRESULT ControlModuleCanUnloadNow();
HRESULT ControlModuleGetTypeLib(const ControlModuleClasses& classes, ITypeLib** lib);
HRESULT ControlModuleLoadImage(const ControlModuleClasses& classes, UINT type, UINT id,
                               CBitmap* image);

// Registers the module's two classes and the control's ProgID with this process's class
// table, for a program that links a control rather than loading its module; the cookies
// revoke the classes.
HRESULT ControlModuleRegisterInProcess(const ControlModuleClasses& classes,
                                       std::vector<DWORD>* cookies);

template <class Control, class Page>
ControlModuleClasses ControlModuleClassesOf() {
    return {Control::ClassInfo(), Control::DispatchTable().Members(), &CreateModuleObject<Control>,
            &CreateModuleObject<Page>};
}

// Declares a control module in its source file: the four exports and the library and image
// exports.
//   QOR_CONTROL_MODULE(CQORFormCtrl, CQORFormPropPage)
#define QOR_CONTROL_MODULE(Control, Page)                                                        \
    extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {              \
        return ControlModuleRegisterServer(ControlModuleClassesOf<Control, Page>());             \
    }                                                                                            \
    extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {            \
        return ControlModuleUnregisterServer(ControlModuleClassesOf<Control, Page>());           \
    }                                                                                            \
    extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(                 \
        const CLSID& clsid, const IID& riid, void** object) {                                    \
        return ControlModuleGetClassObject(ControlModuleClassesOf<Control, Page>(), clsid, riid, \
                                           object);                                              \
    }                                                                                            \
    extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {                \
        return ControlModuleCanUnloadNow();                                                      \
    }                                                                                            \
    extern "C" __attribute__((visibility("default"))) HRESULT DllGetTypeLib(ITypeLib** lib) {    \
        return ControlModuleGetTypeLib(ControlModuleClassesOf<Control, Page>(), lib);            \
    }                                                                                            \
    extern "C" __attribute__((visibility("default"))) HRESULT DllLoadImage(UINT type, UINT id,   \
                                                                           CBitmap* image) {     \
        return ControlModuleLoadImage(ControlModuleClassesOf<Control, Page>(), type, id, image); \
    }
