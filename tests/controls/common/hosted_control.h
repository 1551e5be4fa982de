// A module's control as a host program holds it: made by its ProgID, shown in a window of the
// test's and called by member name through its dispatch interface.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/class_factory.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/ui/ole_object.h"
#include "platform/ui/wnd.h"

class CHostedControl {
  public:
    CHostedControl() = default;
    CHostedControl(const CHostedControl&) = delete;
    CHostedControl& operator=(const CHostedControl&) = delete;
    virtual ~CHostedControl() { Close(); }

    // A member by name; its result.
    CComVariant Call(const std::string& name, const std::vector<CComVariant>& args = {}) {
        CComVariant result;
        EXPECT_EQ(InvokeByName(control_.Get(), name, DISPATCH_METHOD, args, &result), S_OK) << name;
        return result;
    }
    int Long(const std::string& name, const std::vector<CComVariant>& args = {}) {
        const CComVariant result = Call(name, args);
        return result.vt == VT_I4 ? static_cast<int>(result.lVal) : -99;
    }
    bool Bool(const std::string& name, const std::vector<CComVariant>& args = {}) {
        const CComVariant result = Call(name, args);
        return result.vt == VT_BOOL && result.boolVal == VARIANT_TRUE;
    }

  protected:
    // Makes the control of the ProgID, registered in the test's registry, and shows it at the
    // size, in a container a little larger.
    void Show(const char* progId, int width, int height) {
        UseClassRegistry();
        ASSERT_TRUE(container_.Create(nullptr, RECT{0, 0, width + 20, height + 20}));
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(
                      clsid, nullptr, CLSCTX_INPROC_SERVER, IDispatch::iid,
                      reinterpret_cast<void**>(control_.ReleaseAndGetAddressOf())),  // NOLINT
                  S_OK);
        ASSERT_EQ(ComQueryInterface(control_.Get(), ole_), S_OK);
        ASSERT_EQ(ole_->DoVerb(OLEIVERB_SHOW, &container_, RECT{0, 0, width, height}), S_OK);
        ASSERT_EQ(ole_->GetControlWindow(&window_), S_OK);
    }
    // Closes the control and lets its module go.
    void Close() {
        if (ole_) {
            ole_->Close();
        }
        ole_.Release();
        control_.Release();
        container_.DestroyWindow();
        window_ = nullptr;
        SetClassSource(nullptr);
        CoFreeUnusedLibraries();
    }

    CWnd container_;
    CComPtr<IDispatch> control_;
    CComPtr<IOleObject> ole_;
    CWnd* window_ = nullptr;
};
