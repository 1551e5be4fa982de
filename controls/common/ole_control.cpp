// COleControl: dispatch and type information, activation by verbs, persistence and the About
// box every control shares.
#include "controls/common/ole_control.h"

#include "controls/common/control_module.h"
#include "platform/com/class_factory.h"
#include "platform/com/exception_guard.h"
#include "platform/dialogs/dialog.h"

namespace {

constexpr const char* kVersionName = "_Version";
constexpr const char* kStockPropsName = "_StockProps";
// None of the stock properties a control carries (ReadyState) is persistent.
constexpr LONG kNoPersistentStockProps = 0;

// A persisted number as a 32-bit integer; false when the value is no number.
bool ReadLong(const CComVariant& value, LONG& number) {
    CComVariant converted;
    if (FAILED(VariantChangeType(&converted, &value, 0, VT_I4))) {
        return false;
    }
    number = converted.lVal;
    return true;
}

bool IsActivation(LONG verb) {
    return verb == OLEIVERB_PRIMARY || verb == OLEIVERB_SHOW || verb == OLEIVERB_INPLACEACTIVATE ||
           verb == OLEIVERB_UIACTIVATE;
}

}  // namespace

COleControl::~COleControl() {
    DestroyWindow();
}

void COleControl::AboutBox() {
    RegisterAboutBoxResources(m_info);
    CDialog about(IDD_ABOUTBOX, HasWindow() ? this : nullptr);
    about.DoModal();
}

void COleControl::OnPaint(CDC& dc) {
    const RECT bounds = GetClientRect();
    // The context is clipped to the part being painted, so drawing the whole is exact.
    OnDraw(dc, bounds, bounds);
}

HRESULT COleControl::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_INVALIDARG;
    }
    *count = 1;
    return S_OK;
}

HRESULT COleControl::GetTypeInfo(UINT index, LCID /*lcid*/, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    if (index != 0) {
        return DISP_E_BADINDEX;
    }
    return GuardResult("COleControl", [&] {
        CComPtr<ITypeLib> lib;
        const HRESULT hr = CreateTypeLib(ControlTypeLibDescription(m_info, m_dispatch.Members()),
                                         lib.ReleaseAndGetAddressOf());
        return FAILED(hr) ? hr : lib->GetTypeInfoOfGuid(m_info.dispatchIid, info);
    });
}

HRESULT COleControl::GetIDsOfNames(const IID& riid, const LPCOLESTR* names, UINT count,
                                   LCID /*lcid*/, DISPID* ids) {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return m_dispatch.Members().GetIDsOfNames(names, count, ids);
}

HRESULT COleControl::Invoke(DISPID member, const IID& riid, LCID lcid, WORD flags,
                            DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                            UINT* argError) {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return m_dispatch.Invoke(*this, member, lcid, flags, params, result, exception, argError);
}

HRESULT COleControl::CallMember(DISPID dispid, DispKind kind, CDispArgs& args,
                                CComVariant& result) {
    return GuardResult("COleControl",
                       [&] { return m_dispatch.Call(*this, dispid, kind, args, result); });
}

HRESULT COleControl::DoVerb(LONG verb, CWnd* parent, const RECT& position) {
    return GuardResult("COleControl", [&] {
        if (IsActivation(verb)) {
            return Activate(verb, parent, position);
        }
        if (verb == OLEIVERB_HIDE) {
            if (HasWindow()) {
                ShowWindow(SW_HIDE);
            }
            return S_OK;
        }
        return verb == OLEIVERB_PROPERTIES ? OnProperties() : E_INVALIDARG;
    });
}

HRESULT COleControl::Activate(LONG verb, CWnd* parent, const RECT& position) {
    if (!HasWindow()) {
        if (parent == nullptr || !parent->IsWindow()) {
            return E_INVALIDARG;
        }
        if (!Create(parent, position, 0, WS_CHILD | WS_VISIBLE)) {
            return E_FAIL;
        }
    } else if (position.Width() > 0 && position.Height() > 0) {
        MoveWindow(position);
    }
    ShowWindow(SW_SHOW);
    if (verb == OLEIVERB_UIACTIVATE) {
        SetFocus();
    }
    return S_OK;
}

HRESULT COleControl::OnProperties() {
    CComPtr<IPropertyPage> page;
    HRESULT hr =
        CoCreateInstance(m_info.pageClsid, nullptr, CLSCTX_INPROC_SERVER, IPropertyPage::iid,
                         reinterpret_cast<void**>(page.ReleaseAndGetAddressOf()));
    if (SUCCEEDED(hr)) {
        hr = page->SetObjects({GetUnknown()});
    }
    if (SUCCEEDED(hr)) {
        hr = page->ShowModal(HasWindow() ? this : nullptr);
        page->SetObjects({});
    }
    return FAILED(hr) ? hr : S_OK;
}

HRESULT COleControl::GetControlWindow(CWnd** wnd) {
    if (wnd == nullptr) {
        return E_POINTER;
    }
    *wnd = HasWindow() ? this : nullptr;
    return HasWindow() ? S_OK : E_FAIL;
}

HRESULT COleControl::EnumVerbs(std::vector<OLEVERB>* verbs) {
    if (verbs == nullptr) {
        return E_POINTER;
    }
    return GuardResult("COleControl", [&] {
        *verbs = {{OLEIVERB_PRIMARY, "Edit"}, {OLEIVERB_PROPERTIES, "Properties"}};
        return S_OK;
    });
}

HRESULT COleControl::GetMiscStatus(DWORD* status) {
    if (status == nullptr) {
        return E_POINTER;
    }
    *status = kControlMiscStatus;
    return S_OK;
}

HRESULT COleControl::GetUserClassID(CLSID* clsid) {
    return GetClassID(clsid);
}

HRESULT COleControl::Close() {
    DestroyWindow();
    return S_OK;
}

HRESULT COleControl::GetClassID(CLSID* clsid) {
    if (clsid == nullptr) {
        return E_POINTER;
    }
    *clsid = m_info.clsid;
    return S_OK;
}

HRESULT COleControl::InitNew() {
    return GuardResult("COleControl", [&] {
        OnResetState();
        return S_OK;
    });
}

HRESULT COleControl::Load(const PropertyBag& bag) {
    return GuardResult("COleControl", [&] {
        OnResetState();
        for (const PropertyBagEntry& entry : bag) {
            const bool known = entry.name == kVersionName || entry.name == kStockPropsName;
            LONG number = 0;
            if (known && !ReadLong(entry.value, number)) {
                OnResetState();
                return E_INVALIDARG;
            }
        }
        return S_OK;
    });
}

HRESULT COleControl::Save(PropertyBag* bag) {
    if (bag == nullptr) {
        return E_POINTER;
    }
    return GuardResult("COleControl", [&] {
        *bag = {{kVersionName, CComVariant(static_cast<int>(kControlPersistVersion))},
                {kStockPropsName, CComVariant(static_cast<int>(kNoPersistentStockProps))}};
        return S_OK;
    });
}
