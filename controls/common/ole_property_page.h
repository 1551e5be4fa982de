// COlePropertyPage, the base of a control's property page: the module's dialog 200, captioned
// "General", shown modally over the objects it edits.
#pragma once

#include <vector>

#include "controls/common/ole_control.h"
#include "platform/com/com_ptr.h"

// A page class P derives from it with a default constructor passing its control's class
// information; the module's factory creates it under the page class id.
class COlePropertyPage : public CUnknownImpl<IPropertyPage> {
  public:
    HRESULT GetPageInfo(PROPPAGEINFO* info) override;
    HRESULT SetObjects(const std::vector<IUnknown*>& objects) override;
    HRESULT ShowModal(CWnd* owner) override;

    const std::vector<CComPtr<IUnknown>>& GetObjects() const { return m_objects; }

  protected:
    explicit COlePropertyPage(const ControlClassInfo& info);
    ~COlePropertyPage() override;

  private:
    const ControlClassInfo& m_info;
    std::vector<CComPtr<IUnknown>> m_objects;
};
