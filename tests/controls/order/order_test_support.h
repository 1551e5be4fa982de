// The order control as a host drives it: the module registered into a registry of the test's own,
// the control created by ProgID inside a container window and invoked by name; its document and
// view state read through the class the module is built from.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/order/order_ctrl.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/testing/input.h"
#include "platform/ui/ole_object.h"
#include "tests/controls/common/control_state.h"
#include "tests/platform/com/temp_registry.h"

inline constexpr const char* kOrderProgId = "QORORDER.QOROrderCtrl.1";
inline constexpr int kOrderWidth = 600;
inline constexpr int kOrderHeight = 500;

// The control's state, seen by the tests of its layout.
class OrderState : public CQOROrderCtrl {
  public:
    using CQOROrderCtrl::DrawForm;
    using CQOROrderCtrl::m_columnRects;
    using CQOROrderCtrl::m_currentColumn;
    using CQOROrderCtrl::m_currentItem;
    using CQOROrderCtrl::m_firstVisibleItem;
    using CQOROrderCtrl::m_lastVisibleItem;
    using CQOROrderCtrl::m_lineItems;
    using CQOROrderCtrl::m_remark;
    using CQOROrderCtrl::m_rowHeight;
    using CQOROrderCtrl::m_rowsBottom;
    using CQOROrderCtrl::m_rowsTop;
    using CQOROrderCtrl::m_totalsRects;
};

inline bool RegisterOrderModule() {
    return RegisterModule(QOR_ORDER_MODULE);
}

class OrderTest : public ::testing::Test, public CControlState<CQOROrderCtrl> {
  protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(CreateOrder(Width(), Height())); }
    virtual int Width() const { return kOrderWidth; }
    virtual int Height() const { return kOrderHeight; }
    void TearDown() override { Close(); }

    void CreateOrder(int width, int height) {
        ASSERT_TRUE(RegisterOrderModule());
        ASSERT_NO_FATAL_FAILURE(Show(kOrderProgId, width, height));
        window_->UpdateWindow();
    }

    // A getter's R8 out-parameter.
    double OutReal(const std::string& name) {
        CComVariant value(-1.0);
        Call(name, {CComVariant::ByReference(&value)});
        return value.vt == VT_R8 ? value.dblVal : -99;
    }
    // A getter's string out-parameter.
    std::string OutText(const std::string& name) {
        CComVariant value("untouched");
        Call(name, {CComVariant::ByReference(&value)});
        return std::string(value.Text());
    }
    // The texts of a block's getter, in parameter order.
    std::vector<std::string> Block(const std::string& getter, int count) {
        std::vector<CComVariant> outs(static_cast<std::size_t>(count), CComVariant("x"));
        std::vector<CComVariant> args;
        args.reserve(outs.size());
        for (CComVariant& out : outs) {
            args.push_back(CComVariant::ByReference(&out));
        }
        Call(getter, args);
        std::vector<std::string> texts;
        texts.reserve(outs.size());
        for (const CComVariant& out : outs) {
            texts.emplace_back(out.Text());
        }
        return texts;
    }
    // A new line with the quantity, description and price as the host sets them; its index.
    int AddLine(double quantity, const std::string& description, double price) {
        const int row = Long("AddLineItem");
        Call("SetItemQuantity", {CComVariant(row), CComVariant(quantity)});
        Call("SetItemDescription", {CComVariant(row), CComVariant(description)});
        Call("SetItemPrice", {CComVariant(row), CComVariant(price)});
        return row;
    }
    void AddLines(int count) {
        for (int i = 0; i < count; ++i) {
            AddLine(i + 1, "ITEM " + std::to_string(i), 1);
        }
    }
    void Key(UINT vk, UINT modifiers = 0) {
        const std::string text = vk == VK_TAB ? "\t" : vk == VK_BACK ? "\b" : "";
        SendKey(*window_, vk, modifiers, text);
    }
    void Type(const std::string& text) { TypeText(*window_, text); }
    const LineItem& Line(int row) {
        return Member(&OrderState::m_lineItems).at(static_cast<std::size_t>(row));
    }
    // The middle of line item row's cell in the column, as shown.
    POINT CellPoint(int row, int column) {
        window_->UpdateWindow();
        const RECT& extent =
            Member(&OrderState::m_columnRects).at(static_cast<std::size_t>(column));
        const int top =
            Member(&OrderState::m_rowsTop) +
            Member(&OrderState::m_rowHeight) * (row - Member(&OrderState::m_firstVisibleItem));
        return POINT{(extent.left + extent.right) / 2, top + Member(&OrderState::m_rowHeight) / 2};
    }

    COLORREF Pixel(int x, int y) { return ReadPixel(*window_, x, y); }

    CTempRegistry registry_;
};
