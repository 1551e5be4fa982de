// The container of the host: its window with the host's buttons, and the controls inserted
// into it by ProgID.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "embed/control_site.h"
#include "platform/ui/wnd.h"

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
