// The test control module: the frame, a method with an out parameter, a text property, a
// record of the input the control's window received and a modal pop-up.
#include <limits>

#include "controls/common/control_module.h"
#include "platform/gdi/dc.h"
#include "platform/ui/modal_loop.h"

namespace {

constexpr COLORREF kFace = RGB(0, 128, 0);
constexpr COLORREF kPopupFace = RGB(0, 0, 255);
constexpr SIZE kPopupSize{100, 40};
#ifdef QOR_TEST_BROKEN_PROGID
// A ProgID the class registry cannot hold: the module's library registers, its classes do not.
constexpr const char* kProgId = "QORTEST.Broken\nProgID.1";
#else
constexpr const char* kProgId = "QORTEST.QORTestCtrl.1";
#endif

// A pop-up that is done when clicked or on Enter, and says which it was.
class CChoicePopup : public CWnd {
  public:
    void OnPaint(CDC& dc) override { dc.FillSolidRect(GetClientRect(), kPopupFace); }
    void OnKeyDown(UINT vk, UINT /*repeat*/, UINT /*flags*/) override {
        if (vk == VK_RETURN) {
            m_choice = "enter";
        }
    }
    void OnLButtonDown(UINT /*flags*/, POINT /*point*/) override { m_choice = "click"; }
    const std::string& Choice() const { return m_choice; }

  private:
    std::string m_choice;
};

}  // namespace

class CQORTestCtrl : public COleControl {
  public:
    CQORTestCtrl() : COleControl(ClassInfo(), DispatchTable()) {}

    static const ControlClassInfo& ClassInfo() {
        static const ControlClassInfo info{"QORTest",
                                           MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D01}"),
                                           kProgId,
                                           MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D02}"),
                                           "QORTEST.QORTestPropPage.1",
                                           MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D03}"),
                                           MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D04}"),
                                           MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D05}")};
        return info;
    }

    static const CDispatchTable<CQORTestCtrl>& DispatchTable() {
        using Table = CDispatchTable<CQORTestCtrl>;
        static const Table table = MakeControlDispatchTable<CQORTestCtrl>(
            kProgId,
            {
                Table::Method("Divide", 1,
                              {DispParam::In("dividend", VT_I4), DispParam::In("divisor", VT_I4),
                               DispParam::Out("remainder", VT_I4)},
                              VT_I4, &CQORTestCtrl::Divide),
                Table::Get("Caption", 2, VT_BSTR,
                           [](CQORTestCtrl& c, CDispArgs&, CComVariant& result) {
                               result = CComVariant(c.m_caption);
                               return S_OK;
                           }),
                Table::Put("Caption", 2, VT_BSTR,
                           [](CQORTestCtrl& c, CDispArgs& args, CComVariant&) {
                               c.m_caption = std::string(args[0].Text());
                               return S_OK;
                           }),
                Table::Get("Input", 3, VT_BSTR,
                           [](CQORTestCtrl& c, CDispArgs&, CComVariant& result) {
                               result = CComVariant(c.m_input);
                               return S_OK;
                           }),
                Table::Method("Choose", 4, {}, VT_BSTR, &CQORTestCtrl::Choose),
            });
        return table;
    }

    void OnDraw(CDC& dc, const RECT& bounds, const RECT& /*invalid*/) override {
        dc.FillSolidRect(bounds, kFace);
    }
    void OnResetState() override { m_caption.clear(); }
    // What arrives of keys and clicks, so that tests see the input path end to end.
    void OnKeyDown(UINT vk, UINT /*repeat*/, UINT /*flags*/) override {
        Note("key " + std::to_string(vk));
    }
    void OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) override {
        Note("char " + std::to_string(ch));
    }
    void OnLButtonDown(UINT flags, POINT point) override {
        Note("click " + std::to_string(point.x) + "," + std::to_string(point.y) + " " +
             std::to_string(flags));
    }

  private:
    static HRESULT Divide(CQORTestCtrl& /*self*/, CDispArgs& args, CComVariant& result) {
        const LONG divisor = args[1].lVal;
        if (divisor == 0) {
            return E_INVALIDARG;
        }
        // The one quotient a Long cannot hold.
        if (divisor == -1 && args[0].lVal == std::numeric_limits<LONG>::min()) {
            return DISP_E_OVERFLOW;
        }
        result = CComVariant(static_cast<int>(args[0].lVal / divisor));
        args[2] = CComVariant(static_cast<int>(args[0].lVal % divisor));
        return S_OK;
    }

    // A top-most pop-up in the middle of the screen, modal until clicked or Enter: "click",
    // "enter", or "" when the loop ended without a choice.
    static HRESULT Choose(CQORTestCtrl& self, CDispArgs& /*args*/, CComVariant& result) {
        const int left = (GetSystemMetrics(SM_CXSCREEN) - kPopupSize.cx) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - kPopupSize.cy) / 2;
        CChoicePopup popup;
        if (!popup.CreateEx(WS_EX_TOPMOST, WS_POPUP | WS_BORDER | WS_VISIBLE,
                            RECT{left, top, left + kPopupSize.cx, top + kPopupSize.cy}, &self)) {
            return E_FAIL;
        }
        popup.SetFocus();
        RunModalLoop(popup, [&popup] { return !popup.Choice().empty(); });
        result = CComVariant(popup.Choice());
        return S_OK;
    }

    void Note(const std::string& event) { m_input += (m_input.empty() ? "" : "; ") + event; }

    std::string m_caption;
    std::string m_input;
};

class CQORTestPropPage : public COlePropertyPage {
  public:
    CQORTestPropPage() : COlePropertyPage(CQORTestCtrl::ClassInfo()) {}
};

QOR_CONTROL_MODULE(CQORTestCtrl, CQORTestPropPage)
