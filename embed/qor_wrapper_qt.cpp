// The calls of the generated typed wrappers.
#include "embed/qor_wrapper_qt.h"

namespace qorwrap {

CComVariant ToAutomation(const QVariant& value) {
    CComVariant converted;
    std::string ignored;
    return VariantFromQt(value, converted, ignored) ? converted : CComVariant::Missing();
}

void Call::In(COLORREF value) {
    CComVariant colour;
    colour.vt = VT_UI4;
    colour.ulVal = value;
    m_args.push_back(std::move(colour));
}

bool Call::Run() {
    if (!m_control.invokeById(m_id, m_flags, m_args, m_result)) {
        return false;
    }
    for (const auto& writeBack : m_writeBacks) {
        writeBack();
    }
    return true;
}

}  // namespace qorwrap
