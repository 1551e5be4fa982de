// A control embedded by a container, from its creation to its closing.
#include "embed/control_site.h"

#include "platform/com/dispatch_call.h"

namespace {

CComPtr<IUnknown> IdentityOf(IUnknown* object) {
    CComPtr<IUnknown> identity;
    ComQueryInterface(object, identity);
    return identity;
}

}  // namespace

CallOutcome CControlSite::Insert(std::string_view progId, CWnd& parent, const RECT& rect,
                                 std::unique_ptr<CControlSite>& site) {
    auto made = std::make_unique<CControlSite>();
    made->m_progId = progId;
    CallOutcome outcome = CreateDispatchObject(progId, made->m_dispatch);
    if (!outcome.Succeeded()) {
        return outcome;
    }
    made->m_identity = IdentityOf(made->m_dispatch.Get());
    const std::string what = std::string("\"").append(progId).append("\"");
    HRESULT hr = ComQueryInterface(made->m_dispatch.Get(), made->m_ole);
    if (FAILED(hr)) {
        return CallOutcome{hr, what + " is not a control: it cannot be embedded"};
    }
    hr = made->m_ole->DoVerb(OLEIVERB_SHOW, &parent, rect);
    if (SUCCEEDED(hr)) {
        hr = made->m_ole->GetControlWindow(&made->m_window);
    }
    if (FAILED(hr)) {
        return DescribeFailure(what + " did not open its window", hr);
    }
    site = std::move(made);
    return outcome;
}

CControlSite::~CControlSite() {
    if (m_ole) {
        m_ole->Close();
    }
}

bool CControlSite::Holds(IUnknown* object) const {
    return object != nullptr && IdentityOf(object).Get() == m_identity.Get();
}

CallOutcome CControlSite::ShowAbout() {
    CComVariant result;
    const HRESULT hr =
        InvokeDispatch(m_dispatch.Get(), DISPID_ABOUTBOX, DISPATCH_METHOD, {}, &result);
    return SUCCEEDED(hr) ? CallOutcome{} : DescribeFailure("AboutBox", hr);
}

CallOutcome CControlSite::ShowProperties() {
    const RECT position = m_window != nullptr ? m_window->GetWindowRect() : RECT{};
    CWnd* parent = m_window != nullptr ? m_window->GetParent() : nullptr;
    const HRESULT hr = m_ole->DoVerb(OLEIVERB_PROPERTIES, parent, position);
    return SUCCEEDED(hr) ? CallOutcome{} : DescribeFailure("Properties", hr);
}
