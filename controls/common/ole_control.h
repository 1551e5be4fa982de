// COleControl, the base of every control: a window a container embeds, dispatch through the
// control's member table with the stock members appended, the verbs, property-bag persistence
// holding the version and the stock properties, and the About box.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/com/dispatch_table.h"
#include "platform/com/type_info.h"
#include "platform/ui/ole_object.h"
#include "platform/ui/wnd.h"

// The names and identifiers a control module is built from; one per control, fixed for good.
struct ControlClassInfo {
    std::string name;  // N, as in "N Control": "QORForm"
    CLSID clsid{};
    std::string progId;  // "QORFORM.QORFormCtrl.1"
    CLSID pageClsid{};
    std::string pageProgId;
    GUID typeLibId{};
    IID dispatchIid{};
    IID eventsIid{};
};

// The persistence version every control stores: 1.0.
constexpr LONG kControlPersistVersion = 0x00010000;
constexpr DWORD kControlMiscStatus = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                                     OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                                     OLEMISC_RECOMPOSEONRESIZE;

// A control's member table seen without its class: the base invokes it on the control it was
// built for.
class CControlDispatch {
  public:
    template <class T>
    explicit CControlDispatch(const CDispatchTable<T>& table)
        : m_table(&table),
          m_members(&table.Members()),
          m_invoke(&InvokeOn<T>),
          m_call(&CallOn<T>) {}

    const CDispatchMembers& Members() const { return *m_members; }
    HRESULT Invoke(CWnd& control, DISPID member, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) const {
        return m_invoke(m_table, control, member, lcid, flags, params, result, exception, argError);
    }
    HRESULT Call(CWnd& control, DISPID dispid, DispKind kind, CDispArgs& args,
                 CComVariant& result) const {
        return m_call(m_table, control, dispid, kind, args, result);
    }

  private:
    using InvokeFunction = HRESULT (*)(const void*, CWnd&, DISPID, LCID, WORD, DISPPARAMS*,
                                       VARIANT*, EXCEPINFO*, UINT*);
    using CallFunction = HRESULT (*)(const void*, CWnd&, DISPID, DispKind, CDispArgs&,
                                     CComVariant&);

    template <class T>
    static HRESULT InvokeOn(const void* table, CWnd& control, DISPID member, LCID lcid, WORD flags,
                            DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                            UINT* argError) {
        return static_cast<const CDispatchTable<T>*>(table)->Invoke(
            static_cast<T&>(control), member, lcid, flags, params, result, exception, argError);
    }
    template <class T>
    static HRESULT CallOn(const void* table, CWnd& control, DISPID dispid, DispKind kind,
                          CDispArgs& args, CComVariant& result) {
        return static_cast<const CDispatchTable<T>*>(table)->Call(static_cast<T&>(control), dispid,
                                                                  kind, args, result);
    }

    const void* m_table;
    const CDispatchMembers* m_members;
    InvokeFunction m_invoke;
    CallFunction m_call;
};

// The base of every control. A control class T derives from it and supplies
//   static const ControlClassInfo& ClassInfo();
//   static const CDispatchTable<T>& DispatchTable();  // built with MakeControlDispatchTable
// and constructs the base with COleControl(ClassInfo(), DispatchTable()).
//
// Keyboard: a control that takes Tab, arrows or Return for itself overrides PreTranslateKey
// (from CWnd), which sees every key press of the control's window first, and answers
// OnGetDlgCode so that a container knows not to use those keys for its own navigation.
// Drawing outside a paint goes through CClientDC(this); RedrawWindow repaints at once.
class COleControl : public CWnd,
                    public CUnknownImpl<IDispatch, IOleObject, IPersistPropertyBag, IMemberCall> {
  public:
    COleControl(const COleControl&) = delete;
    COleControl& operator=(const COleControl&) = delete;

    // Paints the control: called from OnPaint with the client rectangle as bounds and the
    // part to repaint.
    virtual void OnDraw(CDC& dc, const RECT& bounds, const RECT& invalid) = 0;
    // Back to the state of a new control; a control with state of its own resets it too.
    virtual void OnResetState() {}

    // Stock members.
    void AboutBox();
    LONG GetReadyState() const { return m_lReadyState; }

    bool HasWindow() const { return IsWindow(); }
    const ControlClassInfo& GetControlInfo() const { return m_info; }

    void OnPaint(CDC& dc) override;

    // IDispatch: the control's members and the stock ones; type information from the
    // control's library.
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(const IID& riid, const LPCOLESTR* names, UINT count, LCID lcid,
                          DISPID* ids) override;
    HRESULT Invoke(DISPID member, const IID& riid, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;
    HRESULT CallMember(DISPID dispid, DispKind kind, CDispArgs& args, CComVariant& result) override;

    // IOleObject.
    HRESULT DoVerb(LONG verb, CWnd* parent, const RECT& position) override;
    HRESULT GetControlWindow(CWnd** wnd) override;
    HRESULT EnumVerbs(std::vector<OLEVERB>* verbs) override;
    HRESULT GetMiscStatus(DWORD* status) override;
    HRESULT GetUserClassID(CLSID* clsid) override;
    HRESULT Close() override;

    // IPersistPropertyBag: the version and the stock properties, nothing else.
    HRESULT GetClassID(CLSID* clsid) override;
    HRESULT InitNew() override;
    HRESULT Load(const PropertyBag& bag) override;
    HRESULT Save(PropertyBag* bag) override;

  protected:
    template <class T>
    COleControl(const ControlClassInfo& info, const CDispatchTable<T>& table)
        : m_info(info), m_dispatch(table) {}
    ~COleControl() override;

    // The "Properties" verb: the module's property page over this control, modally.
    HRESULT OnProperties();

    // READYSTATE_LOADING from construction on; no control changes it.
    LONG m_lReadyState = READYSTATE_LOADING;

  private:
    HRESULT Activate(LONG verb, CWnd* parent, const RECT& position);

    const ControlClassInfo& m_info;
    CControlDispatch m_dispatch;
};

// The stock members every control's dispatch interface carries after its own.
template <class T>
std::vector<typename CDispatchTable<T>::Entry> ControlStockMembers() {
    using Table = CDispatchTable<T>;
    return {
        Table::Method("AboutBox", DISPID_ABOUTBOX, {}, VT_EMPTY,
                      [](T& control, CDispArgs&, CComVariant&) {
                          control.AboutBox();
                          return S_OK;
                      }),
        Table::Get("ReadyState", DISPID_READYSTATE, VT_I4,
                   [](T& control, CDispArgs&, CComVariant& result) {
                       result = CComVariant(static_cast<int>(control.GetReadyState()));
                       return S_OK;
                   }),
    };
}

// A control's table: its own members, then the stock ones. source names the control in
// errors its members report (the control's ProgID, say).
template <class T>
CDispatchTable<T> MakeControlDispatchTable(std::string source,
                                           std::vector<typename CDispatchTable<T>::Entry> own) {
    for (auto& stock : ControlStockMembers<T>()) {
        own.push_back(std::move(stock));
    }
    return CDispatchTable<T>(std::move(source), std::move(own));
}
