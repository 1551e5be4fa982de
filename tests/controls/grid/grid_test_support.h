// The grid control as a host drives it: the module registered into a registry of the test's
// own, the control created by ProgID inside a container window and invoked by dispatch id and
// by name; its layout state read through the class the module is built from.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/grid/grid_ctrl.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/ui/ole_object.h"
#include "tests/controls/common/data_test_support.h"
#include "tests/platform/com/temp_registry.h"

inline constexpr const char* kGridProgId = "QORGRID.QORGridCtrl.1";
inline constexpr int kGridWidth = 400;
inline constexpr int kGridHeight = 300;
inline constexpr int kBodyTop = kGridCaptionHeight + kGridHeaderHeight;
inline constexpr COLORREF kWhite = 0x00FFFFFF;
inline constexpr COLORREF kBlack = 0x00000000;

// The grid's state, seen by the tests of its layout.
class GridState : public CQORGridCtrl {
  public:
    using CQORGridCtrl::m_columns;
    using CQORGridCtrl::m_currentColumn;
    using CQORGridCtrl::m_currentRow;
    using CQORGridCtrl::m_firstVisibleColumn;
    using CQORGridCtrl::m_firstVisibleRow;
    using CQORGridCtrl::m_lastColumnClipped;
    using CQORGridCtrl::m_lastVisibleColumn;
    using CQORGridCtrl::m_lastVisibleRow;
    using CQORGridCtrl::m_rows;
};

inline bool RegisterGridModule() {
    void* module = nullptr;
    if (FAILED(CoLoadModule(QOR_GRID_MODULE, &module))) {
        return false;
    }
    const auto registerServer = reinterpret_cast<DllRegisterServerFunction>(  // NOLINT
        CoModuleSymbol(module, "DllRegisterServer"));
    return registerServer != nullptr && registerServer() == S_OK;
}

struct ColumnSpec {
    ColumnSpec(std::string name_, int width_ = 80, int style_ = CodeOf(EditStyle::Text),
               bool visible_ = true, std::string mask_ = {})
        : name(std::move(name_)),
          width(width_),
          style(style_),
          visible(visible_),
          mask(std::move(mask_)) {}
    std::string name;
    int width = 80;
    int style = CodeOf(EditStyle::Text);
    bool visible = true;
    std::string mask;
    int maxSize = 20;
    COLORREF text = kBlack;
    COLORREF back = kWhite;
};

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(CreateGrid(kGridWidth, Height())); }
    virtual int Height() const { return kGridHeight; }
    void TearDown() override {
        if (ole_) {
            ole_->Close();
        }
        ole_.Release();
        grid_.Release();
        container_.DestroyWindow();
        SetClassSource(nullptr);
        CoFreeUnusedLibraries();
    }

    void CreateGrid(int width, int height) {
        ASSERT_TRUE(RegisterGridModule());
        UseClassRegistry();
        ASSERT_TRUE(container_.Create(nullptr, RECT{0, 0, width + 20, height + 20}));
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(kGridProgId, &clsid), S_OK);
        ASSERT_EQ(
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IDispatch::iid,
                             reinterpret_cast<void**>(grid_.ReleaseAndGetAddressOf())),  // NOLINT
            S_OK);
        ASSERT_EQ(ComQueryInterface(grid_.Get(), ole_), S_OK);
        ASSERT_EQ(ole_->DoVerb(OLEIVERB_SHOW, &container_, RECT{0, 0, width, height}), S_OK);
        ASSERT_EQ(ole_->GetControlWindow(&window_), S_OK);
    }

    // A member by name; its result.
    CComVariant Call(const std::string& name, std::vector<CComVariant> args = {}) {
        CComVariant result;
        EXPECT_EQ(InvokeByName(grid_.Get(), name, DISPATCH_METHOD, std::move(args), &result), S_OK)
            << name;
        return result;
    }
    int Long(const std::string& name, std::vector<CComVariant> args = {}) {
        const CComVariant result = Call(name, std::move(args));
        return result.vt == VT_I4 ? static_cast<int>(result.lVal) : -99;
    }
    bool Bool(const std::string& name, std::vector<CComVariant> args = {}) {
        const CComVariant result = Call(name, std::move(args));
        return result.vt == VT_BOOL && result.boolVal == VARIANT_TRUE;
    }

    int Insert(const ColumnSpec& c) {
        CComVariant result;
        EXPECT_EQ(
            InvokeDispatch(grid_.Get(), 1, DISPATCH_METHOD,
                           {CComVariant(c.name), CComVariant("Title " + c.name),
                            CComVariant(c.width), CComVariant(c.style), CComVariant(c.maxSize),
                            CComVariant(c.mask), CComVariant(true), CComVariant(c.visible),
                            CComVariant(static_cast<unsigned>(c.text)),
                            CComVariant(static_cast<unsigned>(c.back))},
                           &result),
            S_OK);
        return static_cast<int>(result.lVal);
    }
    int AddRow(int before = -1) { return Long("AddRow", {CComVariant(before)}); }
    // A row of texts, one per column in order.
    void AddRowOf(const std::vector<std::string>& texts) {
        const int row = AddRow();
        for (std::size_t c = 0; c < texts.size(); ++c) {
            Long("SetItem",
                 {CComVariant(row), CComVariant(static_cast<int>(c)), CComVariant(texts[c])});
        }
    }
    // GetItem (by index) or GetItemByName: the text, or "-1" when it answers -1.
    std::string Item(int row, const CComVariant& col) {
        CComVariant text("untouched");
        const int answer = Long(col.vt == VT_BSTR ? "GetItemByName" : "GetItem",
                                {CComVariant(row), col, CComVariant::ByReference(&text)});
        return answer == 1 ? std::string(text.Text()) : std::to_string(answer);
    }
    std::vector<std::string> ColumnTexts(int col) {
        std::vector<std::string> texts;
        for (std::size_t r = 0; r < State().m_rows.size(); ++r) {
            texts.push_back(Item(static_cast<int>(r), CComVariant(col)));
        }
        return texts;
    }

    GridState& State() { return static_cast<GridState&>(*window_); }  // NOLINT: the module's class
    COLORREF Pixel(int x, int y) {
        window_->UpdateWindow();
        return window_->GetBackingSurface().GetPixel(x, y);
    }

    CTempRegistry registry_;
    CWnd container_;
    CComPtr<IDispatch> grid_;
    CComPtr<IOleObject> ole_;
    CWnd* window_ = nullptr;
};
