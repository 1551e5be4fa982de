// The form control as a host drives it: the module registered into a registry of the test's
// own, the control created by ProgID inside a container window, designs written to files,
// the members invoked through dispatch and the input sent through the window.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "controls/common/data_recordset.h"
#include "controls/common/design_item.h"
#include "controls/common/design_item_paint.h"
#include "controls/common/edit_style.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/testing/input.h"
#include "platform/ui/ole_object.h"
#include "tests/controls/common/data_test_support.h"
#include "tests/platform/com/temp_registry.h"
#include "tests/temp_folder.h"

inline constexpr const char* kFormProgId = "QORFORM.QORFormCtrl.1";
inline constexpr COLORREF kFormBackground = 0x00C0C0C0;
inline constexpr COLORREF kHighlightBack = 0x00800000;
inline constexpr COLORREF kHighlightText = 0x00FFFFFF;
inline constexpr COLORREF kWhite = 0x00FFFFFF;
inline constexpr COLORREF kBlack = 0x00000000;
inline constexpr int kFormWidth = 400;
inline constexpr int kFormHeight = 300;

// Designer edit styles, as design files hold them.
inline constexpr int kDesignerText = CodeOf(DesignerEditStyle::Text);
inline constexpr int kDesignerDate = CodeOf(DesignerEditStyle::Date);
inline constexpr int kDesignerMask = CodeOf(DesignerEditStyle::Mask);
inline constexpr int kDesignerNumeric = CodeOf(DesignerEditStyle::Numeric);
inline constexpr int kDesignerCheckBox = CodeOf(DesignerEditStyle::CheckBox);
inline constexpr int kDesignerList = CodeOf(DesignerEditStyle::List);

inline DesignItem StaticItem(const RECT& rect, std::string text = {}, int backColor = -1) {
    DesignItem item;
    item.kind = kStaticText;
    item.rect = rect;
    item.text = std::move(text);
    item.backColor = backColor;
    return item;
}

inline DesignItem ColumnItem(std::string name, const RECT& rect, int tabOrder,
                             int editStyle = kDesignerText) {
    DesignItem item;
    item.kind = kColumn;
    item.name = std::move(name);
    item.rect = rect;
    item.tabOrder = tabOrder;
    item.editStyle = editStyle;
    item.backColor = static_cast<int>(kWhite);
    return item;
}

inline DesignItem FrameItem(ItemKind kind, const RECT& rect) {
    DesignItem item;
    item.kind = kind;
    item.rect = rect;
    return item;
}

// A folder of the test's own for design files, removed with them.
class DesignFolder : public TempFolder {
  public:
    // The items' records in the order given, as a design file holds them; extra bytes after.
    std::string Write(const std::vector<DesignItem>& items, const std::string& name = "form.qor",
                      std::size_t extraBytes = 0) const {
        std::string path = File(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (const DesignItem& item : items) {
            const DesignItemRecord record = WriteDesignItemRecord(item);
            out.write(reinterpret_cast<const char*>(record.data()),  // NOLINT: raw bytes
                      static_cast<std::streamsize>(record.size()));
        }
        out << std::string(extraBytes, 'x');
        return path;
    }
};

// A container that notes which key presses reach it, so tests see what the control consumed.
class CKeyNotingContainer : public CWnd {
  public:
    bool PreTranslateKey(UINT vk, UINT /*modifiers*/) override {
        seen.push_back(vk);
        return false;
    }
    std::vector<UINT> seen;
};

// Registers the form module into the class registry of QOR_REGISTRY.
inline bool RegisterFormModule() {
    return RegisterModule(QOR_FORM_MODULE);
}

// A new form control created by its ProgID through the class registry.
inline CComPtr<IDispatch> CreateForm() {
    CComPtr<IDispatch> form;
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(kFormProgId, &clsid))) {
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IDispatch::iid,
                         reinterpret_cast<void**>(form.ReleaseAndGetAddressOf()));  // NOLINT
    }
    return form;
}

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterFormModule());
        UseClassRegistry();
        connection_ = OpenHostConnection(database_.ConnectionString());
        ASSERT_TRUE(connection_);
        ASSERT_TRUE(container_.Create(nullptr, RECT{0, 0, kFormWidth + 20, kFormHeight + 20}));
        form_ = CreateForm();
        ASSERT_TRUE(form_);
        window_ = Show(form_.Get());
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        for (CComPtr<IOleObject>& ole : shown_) {
            ole->Close();
        }
        shown_.clear();
        form_.Release();
        connection_.Release();
        container_.DestroyWindow();
        SetClassSource(nullptr);
        CoFreeUnusedLibraries();
    }

    // Activates the control inside the container, as a container does when it becomes visible.
    CWnd* Show(IDispatch* form) {
        CComPtr<IOleObject> ole;
        CWnd* window = nullptr;
        if (FAILED(ComQueryInterface(form, ole)) ||
            FAILED(ole->DoVerb(OLEIVERB_SHOW, &container_, RECT{0, 0, kFormWidth, kFormHeight})) ||
            FAILED(ole->GetControlWindow(&window))) {
            return nullptr;
        }
        shown_.push_back(ole);
        return window;
    }

    IDispatch* Connection() const { return connection_.Get(); }

    static bool BoolResult(HRESULT hr, const VARIANT& result) {
        return SUCCEEDED(hr) && result.vt == VT_BOOL && result.boolVal == VARIANT_TRUE;
    }

    bool OpenForm(IDispatch* form, IDispatch* connection, const std::string& sql,
                  const std::string& path) {
        CComVariant result;
        const HRESULT hr =
            InvokeDispatch(form, 1, DISPATCH_METHOD,
                           {CComVariant(connection), CComVariant(sql), CComVariant(path)}, &result);
        EXPECT_EQ(hr, S_OK);
        return BoolResult(hr, result);
    }
    bool OpenForm(const std::vector<DesignItem>& items,
                  const std::string& sql = "SELECT * FROM customers") {
        return OpenForm(form_.Get(), Connection(), sql, designs_.Write(items));
    }

    // GetItem by name: the text, or nothing when it answers FALSE.
    std::optional<std::string> GetItem(const std::string& name, IDispatch* form = nullptr) {
        CComVariant text("untouched");
        CComVariant result;
        const HRESULT hr =
            InvokeByName(form != nullptr ? form : form_.Get(), "GetItem", DISPATCH_METHOD,
                         {CComVariant(name), CComVariant::ByReference(&text)}, &result);
        EXPECT_EQ(hr, S_OK);
        if (!BoolResult(hr, result)) {
            EXPECT_EQ(text.Text(), "untouched");
            return std::nullopt;
        }
        return std::string(text.Text());
    }

    bool SetItem(const std::string& name, const std::string& text) {
        CComVariant result;
        const HRESULT hr = InvokeDispatch(form_.Get(), 3, DISPATCH_METHOD,
                                          {CComVariant(name), CComVariant(text)}, &result);
        EXPECT_EQ(hr, S_OK);
        return BoolResult(hr, result);
    }

    void SetFormColors(COLORREF back, COLORREF highlightBack, COLORREF highlightText) {
        EXPECT_EQ(InvokeByName(form_.Get(), "SetFormColors", DISPATCH_METHOD,
                               {CComVariant(static_cast<unsigned>(back)),
                                CComVariant(static_cast<unsigned>(highlightBack)),
                                CComVariant(static_cast<unsigned>(highlightText))}),
                  S_OK);
    }

    void Key(UINT vk, UINT modifiers = 0) { SendKey(*window_, vk, modifiers); }
    void Type(const std::string& text) { TypeText(*window_, text); }
    void Backspace() { SendKey(*window_, VK_BACK, 0, "\b"); }
    void Click(POINT point) { SendClick(*window_, point); }
    COLORREF Pixel(int x, int y) { return ReadPixel(*window_, x, y); }
    // The colour inside a column away from its text, which starts at its left edge.
    COLORREF FillOf(const DesignItem& item) {
        return Pixel(item.rect.right - 3, item.rect.top + 2);
    }

    // Whether the window shows the item, text included, as it is drawn on the form's
    // background with the given text.
    ::testing::AssertionResult Shows(DesignItem item, const std::string& text,
                                     COLORREF background = kFormBackground) {
        item.text = text;
        CBitmap expected(kFormWidth, kFormHeight, background);
        ItemPaintOptions options;
        options.formBackground = background;
        DrawDesignItem(*CreateBitmapDC(expected), item, options);
        window_->UpdateWindow();
        const CBitmap& shown = window_->GetBackingSurface();
        for (int y = item.rect.top; y < item.rect.bottom; ++y) {
            for (int x = item.rect.left; x < item.rect.right; ++x) {
                if (shown.GetPixel(x, y) != expected.GetPixel(x, y)) {
                    return ::testing::AssertionFailure()
                           << "the item does not show \"" << text << "\": pixel (" << x << ", " << y
                           << ") differs";
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    CTempRegistry registry_;
    SampleCopy database_;
    DesignFolder designs_;
    CComPtr<_Connection> connection_;
    CKeyNotingContainer container_;
    CComPtr<IDispatch> form_;
    CWnd* window_ = nullptr;
    std::vector<CComPtr<IOleObject>> shown_;
};
