// The interfaces a container embeds a control through: activation by verbs into a parent
// window, the control's window, its verbs and misc status, its class, and property-bag
// persistence.
#pragma once

#include <string>
#include <vector>

#include "platform/com/com_variant.h"
#include "platform/com/unknown.h"
#include "platform/ui/wnd.h"

// Verb numbers. The primary verb of a control is "Edit", which activates it like SHOW.
constexpr LONG OLEIVERB_PRIMARY = 0;
constexpr LONG OLEIVERB_SHOW = -1;
constexpr LONG OLEIVERB_OPEN = -2;
constexpr LONG OLEIVERB_HIDE = -3;
constexpr LONG OLEIVERB_UIACTIVATE = -4;
constexpr LONG OLEIVERB_INPLACEACTIVATE = -5;
constexpr LONG OLEIVERB_PROPERTIES = -7;

// Misc status bits a container reads to decide how to treat the control.
constexpr DWORD OLEMISC_RECOMPOSEONRESIZE = 0x1;
constexpr DWORD OLEMISC_ONLYICONIC = 0x2;
constexpr DWORD OLEMISC_INSERTNOTREPLACE = 0x4;
constexpr DWORD OLEMISC_STATIC = 0x8;
constexpr DWORD OLEMISC_CANTLINKINSIDE = 0x10;
constexpr DWORD OLEMISC_CANLINKBYOLE1 = 0x20;
constexpr DWORD OLEMISC_ISLINKOBJECT = 0x40;
constexpr DWORD OLEMISC_INSIDEOUT = 0x80;
constexpr DWORD OLEMISC_ACTIVATEWHENVISIBLE = 0x100;
constexpr DWORD OLEMISC_RENDERINGISDEVICEINDEPENDENT = 0x200;
constexpr DWORD OLEMISC_INVISIBLEATRUNTIME = 0x400;
constexpr DWORD OLEMISC_ALWAYSRUN = 0x800;
constexpr DWORD OLEMISC_ACTSLIKEBUTTON = 0x1000;
constexpr DWORD OLEMISC_ACTSLIKELABEL = 0x2000;
constexpr DWORD OLEMISC_NOUIACTIVATE = 0x4000;
constexpr DWORD OLEMISC_ALIGNABLE = 0x8000;
constexpr DWORD OLEMISC_SIMPLEFRAME = 0x10000;
constexpr DWORD OLEMISC_SETCLIENTSITEFIRST = 0x20000;
constexpr DWORD OLEMISC_IMEMODE = 0x40000;

// Loading state of a control (the stock ReadyState property).
constexpr LONG READYSTATE_UNINITIALIZED = 0;
constexpr LONG READYSTATE_LOADING = 1;
constexpr LONG READYSTATE_LOADED = 2;
constexpr LONG READYSTATE_INTERACTIVE = 3;
constexpr LONG READYSTATE_COMPLETE = 4;

// One verb as a container offers it in its menu.
struct OLEVERB {
    LONG lVerb = 0;
    std::string name;
};

struct IOleObject : IUnknown {
    static constexpr IID iid = MakeGuid("{6B0F4D1E-29A3-4C6E-9F51-3E2A7C0D4B10}");
    using InterfaceBase = IUnknown;

    // SHOW, INPLACEACTIVATE, UIACTIVATE and PRIMARY create the control's window as a child of
    // parent at position (client coordinates of parent) unless it exists, then show it;
    // PROPERTIES shows the property page modally; HIDE hides the window. E_INVALIDARG for a
    // verb the control does not know and for an activation without parent.
    virtual HRESULT DoVerb(LONG verb, CWnd* parent, const RECT& position) = 0;
    // The control's window; no ownership passes. E_FAIL before activation or after Close.
    virtual HRESULT GetControlWindow(CWnd** wnd) = 0;
    // The verbs for a container's menu: "Edit" (PRIMARY) and "Properties".
    virtual HRESULT EnumVerbs(std::vector<OLEVERB>* verbs) = 0;
    virtual HRESULT GetMiscStatus(DWORD* status) = 0;
    virtual HRESULT GetUserClassID(CLSID* clsid) = 0;
    // Destroys the control's window; the object stays usable and can be activated again.
    virtual HRESULT Close() = 0;

  protected:
    ~IOleObject() = default;
};

inline constexpr const IID& IID_IOleObject = IOleObject::iid;

struct IPersist : IUnknown {
    static constexpr IID iid = MakeGuid("{6B0F4D1E-29A3-4C6E-9F51-3E2A7C0D4B11}");
    using InterfaceBase = IUnknown;

    virtual HRESULT GetClassID(CLSID* clsid) = 0;

  protected:
    ~IPersist() = default;
};

inline constexpr const IID& IID_IPersist = IPersist::iid;

// The saved state of an object as named values, in the order they were written.
struct PropertyBagEntry {
    std::string name;
    CComVariant value;
};
using PropertyBag = std::vector<PropertyBagEntry>;

struct IPersistPropertyBag : IPersist {
    static constexpr IID iid = MakeGuid("{6B0F4D1E-29A3-4C6E-9F51-3E2A7C0D4B12}");
    using InterfaceBase = IPersist;

    // Resets the object to the state of a new one.
    virtual HRESULT InitNew() = 0;
    // E_INVALIDARG when a value the object reads is missing or of a type it cannot take;
    // the object is then left as InitNew leaves it.
    virtual HRESULT Load(const PropertyBag& bag) = 0;
    // Replaces the bag's contents with the object's state.
    virtual HRESULT Save(PropertyBag* bag) = 0;

  protected:
    ~IPersistPropertyBag() = default;
};

inline constexpr const IID& IID_IPersistPropertyBag = IPersistPropertyBag::iid;

// What a container shows of a property page: its caption and its size in pixels.
struct PROPPAGEINFO {
    std::string title;
    SIZE size{};
};

struct IPropertyPage : IUnknown {
    static constexpr IID iid = MakeGuid("{6B0F4D1E-29A3-4C6E-9F51-3E2A7C0D4B13}");
    using InterfaceBase = IUnknown;

    virtual HRESULT GetPageInfo(PROPPAGEINFO* info) = 0;
    // The objects whose properties the page edits; an empty list detaches it.
    virtual HRESULT SetObjects(const std::vector<IUnknown*>& objects) = 0;
    // Runs the page modally over owner: S_OK when it was closed with OK, S_FALSE when
    // cancelled, E_FAIL when it could not be shown.
    virtual HRESULT ShowModal(CWnd* owner) = 0;

  protected:
    ~IPropertyPage() = default;
};

inline constexpr const IID& IID_IPropertyPage = IPropertyPage::iid;
