// One control embedded by a container: created by ProgID or class id, activated into a
// parent window, with its dispatch interface, its window, its About box and its property page.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "embed/member_call.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/ui/ole_object.h"
#include "platform/ui/wnd.h"

// One inserted control.
class CControlSite {
  public:
    // Creates the control, asks it for its embedding interface and activates it (OLEIVERB_SHOW)
    // as a child of parent at rect.
    static CallOutcome Insert(std::string_view progId, CWnd& parent, const RECT& rect,
                              std::unique_ptr<CControlSite>& site);
    CControlSite() = default;
    CControlSite(const CControlSite&) = delete;
    CControlSite& operator=(const CControlSite&) = delete;
    // Closes the control, so that its window goes before the references do.
    ~CControlSite();

    const std::string& ProgId() const { return m_progId; }
    IDispatch* Dispatch() const { return m_dispatch.Get(); }
    CWnd* Window() const { return m_window; }
    // Whether the object is this control, whichever interface it is reached through.
    bool Holds(IUnknown* object) const;

    // The stock AboutBox method.
    CallOutcome ShowAbout();
    // The "Properties" verb: the property page, modally.
    CallOutcome ShowProperties();

  private:
    std::string m_progId;
    CComPtr<IUnknown> m_identity;
    CComPtr<IDispatch> m_dispatch;
    CComPtr<IOleObject> m_ole;
    CWnd* m_window = nullptr;
};
