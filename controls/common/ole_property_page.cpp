// COlePropertyPage: the page's description and its modal run over the module's dialog 200.
#include "controls/common/ole_property_page.h"

#include <new>

#include "controls/common/control_module.h"

COlePropertyPage::COlePropertyPage(const ControlClassInfo& info) : m_info(info) {}

COlePropertyPage::~COlePropertyPage() = default;

HRESULT COlePropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    try {
        const DlgTemplate page = ControlPageDialog(m_info);
        const RECT size = DialogUnitsToPixels(0, 0, page.cx, page.cy);
        info->title = ControlModuleString(m_info, IDS_PAGE_CAPTION);
        info->size = SIZE{size.Width(), size.Height()};
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT COlePropertyPage::SetObjects(const std::vector<IUnknown*>& objects) {
    try {
        std::vector<CComPtr<IUnknown>> held(objects.begin(), objects.end());
        m_objects = std::move(held);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT COlePropertyPage::ShowModal(CWnd* owner) {
    try {
        RegisterDialogResource(ControlPageDialog(m_info));
        CDialog page(IDD_PROPPAGE, owner);
        const int result = page.DoModal();
        if (result == -1) {
            return E_FAIL;
        }
        return result == IDOK ? S_OK : S_FALSE;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
