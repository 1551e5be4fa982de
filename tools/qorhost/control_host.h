// The container of the host: its window, and the controls inserted into it by ProgID, each
// with its window, its verbs, its About box and its property page.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/ui/ole_object.h"
#include "platform/ui/wnd.h"
#include "tools/qorhost/member_call.h"

// A push button of the host's own, beside its controls, that runs a script's function.
struct HostButton {
    RECT rect{};
    std::string label;
    std::function<void()> press;
};

// The window the controls live in, painted in the dialog face colour around them, with the
// host's buttons.
class CHostArea : public CWnd {
  public:
    void AddButton(HostButton button);
    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, POINT point) override;

  private:
    std::vector<HostButton> m_buttons;
};

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

class CControlHost {
  public:
    CControlHost() = default;
    CControlHost(const CControlHost&) = delete;
    CControlHost& operator=(const CControlHost&) = delete;
    // The controls close before the area goes.
    ~CControlHost();

    // The area as a top-level window of the size with the title.
    bool CreateArea(const std::string& title, SIZE size);
    CWnd& Area() { return m_area; }
    // Adds a button to the area, which grows to hold it.
    void AddButton(HostButton button);

    // Inserts a control at rect in the area's client coordinates; the area grows to hold it.
    CallOutcome InsertControl(std::string_view progId, const RECT& rect, CControlSite*& site);
    // The site of a control, or null when the object is none of the inserted controls.
    CControlSite* FindSite(IUnknown* object) const;
    void RemoveControl(const CControlSite& site);
    const std::vector<std::unique_ptr<CControlSite>>& Sites() const { return m_sites; }

  private:
    void GrowToFit(const RECT& rect);

    CHostArea m_area;
    std::vector<std::unique_ptr<CControlSite>> m_sites;
};
