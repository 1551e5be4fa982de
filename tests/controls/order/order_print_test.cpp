// Printing the order: the furniture on every page with only the rows changing, the totals as
// shown, the boxes of each document type, the remark, failures of the printer, and one PDF read
// back as text.
#include <gmock/gmock.h>

#include "controls/common/print_job.h"
#include "controls/order/order_remark.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "tests/controls/order/order_test_support.h"
#include "tests/temp_folder.h"
#include "tests/tools/program_run.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Not;

struct Printed {
    CRecordingPrinter printer;
    std::vector<ShownDialog> shown;
};

// The texts a page shows, in drawing order.
std::vector<std::string> Texts(const PrintedPage& page) {
    std::vector<std::string> texts;
    for (const DcCall& call : page.calls) {
        if (call.op == DcOp::DrawText) {
            texts.push_back(call.text);
        }
    }
    return texts;
}

class OrderPrintTest : public OrderTest {
  protected:
    Printed Print(const RecordingPrinterSettings& settings = {}) {
        ScopedScriptedDialogs dialogs;
        Printed printed{CRecordingPrinter(settings), {}};
        dialogs->PushPrinter(printed.printer);
        Call("Print");
        printed.shown = dialogs->Shown();
        return printed;
    }
    void FillInvoice(int lines) {
        Call("SetCompanyInfo",
             {CComVariant("Acme Tools"), CComVariant("1 Road"), CComVariant("Springfield"),
              CComVariant("IL"), CComVariant("62701"), CComVariant("555-1"), CComVariant("555-2")});
        Call("SetCustomerInfo", {CComVariant("C7"), CComVariant("Bob Smith"), CComVariant("2 Lane"),
                                 CComVariant("Peoria"), CComVariant("IL"), CComVariant("61602"),
                                 CComVariant("555-3")});
        Call("SetOrderNo", {CComVariant("A-1")});
        Call("SetTaxInfo", {CComVariant("T"), CComVariant(7.5)});
        for (int i = 0; i < lines; ++i) {
            AddLine(1, "LINE " + std::to_string(i), i == 0 ? 10.25 : 0);
        }
    }
};

TEST_F(OrderPrintTest, AnOrderWithoutLinesPrintsOneBlankPage) {
    const Printed printed = Print();
    ASSERT_EQ(printed.printer.Documents().size(), 1U);
    const PrintedDocument& document = printed.printer.Documents()[0];
    EXPECT_EQ(document.name, "New Print Job");
    EXPECT_EQ(document.state, PrintedDocument::State::Ended);
    ASSERT_EQ(document.pages.size(), 1U);
    EXPECT_TRUE(Texts(document.pages[0]).empty());
    ASSERT_EQ(printed.shown.size(), 1U);
    EXPECT_EQ(printed.shown[0].print.flags, PD_DEFAULTOPTIONS | PD_RETURNDC);
}

TEST_F(OrderPrintTest, OnePageShowsTheFormAndTheTotalsAsShownOnScreen) {
    FillInvoice(1);
    const Printed printed = Print();
    ASSERT_EQ(printed.printer.Documents().size(), 1U);
    const PrintedDocument& document = printed.printer.Documents()[0];
    ASSERT_EQ(document.pages.size(), 1U);
    EXPECT_THAT(
        Texts(document.pages[0]),
        IsSupersetOf({"Acme Tools", "Invoice#: A-1", " INVOICE ", " Customer ", "Bob Smith",
                      "Peoria, IL 61602", "Order No: ", "Qty", "Total", "1.00", "LINE 0", "10.25",
                      "10.25 ", "0.77 ", "11.02 ", "Payment By:", "Cash", "Expiration Date:"}));
    EXPECT_THAT(Texts(document.pages[0]), Not(Contains("Invoice No: ")));
    EXPECT_THAT(Texts(document.pages[0]), Not(Contains("Ship Via: ")));
}

TEST_F(OrderPrintTest, APurchaseOrderFillsItsOrderBox) {
    Call("NewPurchaseOrder");
    Call("SetOrderNo", {CComVariant("P-9")});
    Call("SetSalesRep", {CComVariant("Ann")});
    AddLine(2, "GEAR", 3);
    const Printed printed = Print();
    ASSERT_EQ(printed.printer.Documents().size(), 1U);
    EXPECT_THAT(Texts(printed.printer.Documents()[0].pages.at(0)),
                IsSupersetOf({"Purchase Order#: P-9", " PURCHASE ORDER ", " Vendor ", " Ship To ",
                              "Date: ", "Order No: ", "P-9", "Sales Rep: ", "Ann", "Ship Via: "}));
}

TEST_F(OrderPrintTest, EveryPageRepeatsTheFurnitureAndOnlyTheRowsChange) {
    FillInvoice(120);
    const Printed printed = Print();
    ASSERT_EQ(printed.printer.Documents().size(), 1U);
    const PrintedDocument& document = printed.printer.Documents()[0];
    EXPECT_EQ(document.state, PrintedDocument::State::Ended);
    ASSERT_GE(document.pages.size(), 3U);
    // Rows are the texts starting with "LINE " and the amounts beside them; the furniture is
    // everything drawn around them.
    const auto furniture = [](const PrintedPage& page) {
        std::vector<std::string> calls;
        for (const DcCall& call : page.calls) {
            const bool row =
                call.op == DcOp::DrawText &&
                (call.text.rfind("LINE ", 0) == 0 || call.text.empty() || call.text == "1.00" ||
                 call.text == "0.00 " || call.text == "10.25" || call.text == "10.25 ");
            if (!row) {
                const RECT& r = call.rect;
                calls.push_back(std::to_string(static_cast<int>(call.op)) + " " + call.text + " " +
                                std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                                std::to_string(r.right) + "," + std::to_string(r.bottom));
            }
        }
        return calls;
    };
    std::vector<std::string> rows;
    for (const PrintedPage& page : document.pages) {
        EXPECT_EQ(furniture(page), furniture(document.pages[0]));
        for (const std::string& text : Texts(page)) {
            if (text.rfind("LINE ", 0) == 0) {
                rows.push_back(text);
            }
        }
    }
    std::vector<std::string> expected;
    expected.reserve(120);
    for (int i = 0; i < 120; ++i) {
        expected.push_back("LINE " + std::to_string(i));
    }
    EXPECT_THAT(rows, ElementsAreArray(expected));
    // The totals are the order's on every page.
    for (const PrintedPage& page : document.pages) {
        EXPECT_THAT(Texts(page), Contains("11.02 "));
    }
}

TEST_F(OrderPrintTest, PrintingLeavesTheRemarkAsSetAndBreaksItOnPaper) {
    const std::string word(300, 'M');
    const std::string remark = "Deliver to the back door " + word + " before noon";
    Call("SetRemark", {CComVariant(remark)});
    AddLine(1, "X", 1);
    const Printed first = Print();
    EXPECT_EQ(OutText("GetRemark"), remark);
    const Printed second = Print();
    ASSERT_EQ(first.printer.Documents().size(), 1U);
    ASSERT_EQ(second.printer.Documents().size(), 1U);
    const std::vector<std::string> texts = Texts(first.printer.Documents()[0].pages.at(0));
    EXPECT_THAT(texts, IsSupersetOf(std::vector<std::string>{"Deliver to the back door ",
                                                             word + " ", "before noon"}));
    EXPECT_EQ(texts, Texts(second.printer.Documents()[0].pages.at(0)));
}

struct FailureCase {
    const char* name;
    bool failStartDoc;
    int failStartPage;
    int printableHeight;  // 0: Letter's
    std::vector<PrintCall> calls;
    PrintedDocument::State state;
};

class OrderPrintFailureTest : public OrderPrintTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OrderPrintFailureTest, StopsTheJobWithoutAMessage) {
    const FailureCase& c = GetParam();
    FillInvoice(120);
    RecordingPrinterSettings settings;
    settings.failStartDoc = c.failStartDoc;
    settings.failStartPage = c.failStartPage;
    if (c.printableHeight > 0) {
        settings.page.printable.cy = c.printableHeight;
    }
    const Printed printed = Print(settings);
    std::vector<PrintCall> calls;
    for (const PrinterCallResult& result : printed.printer.Calls()) {
        calls.push_back(result.call);
    }
    EXPECT_THAT(calls, ElementsAreArray(c.calls));
    for (const PrintedDocument& document : printed.printer.Documents()) {
        EXPECT_EQ(document.state, c.state);
    }
    EXPECT_EQ(printed.shown.size(), 1U);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, OrderPrintFailureTest,
    ::testing::Values(
        FailureCase{"StartDoc", true, 0, 0, {PrintCall::StartDoc}, PrintedDocument::State::Open},
        FailureCase{"FirstPage",
                    false,
                    1,
                    0,
                    {PrintCall::StartDoc, PrintCall::StartPage, PrintCall::AbortDoc},
                    PrintedDocument::State::Aborted},
        FailureCase{"SecondPage",
                    false,
                    2,
                    0,
                    {PrintCall::StartDoc, PrintCall::StartPage, PrintCall::EndPage,
                     PrintCall::StartPage, PrintCall::AbortDoc},
                    PrintedDocument::State::Aborted},
        // Too short for the furniture and one row: pages would follow one another forever.
        FailureCase{"PageTooShortForARow",
                    false,
                    0,
                    1200,
                    {PrintCall::StartDoc, PrintCall::StartPage, PrintCall::AbortDoc},
                    PrintedDocument::State::Aborted}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

struct RemarkCase {
    const char* name;
    const char* remark;
    int width;   // in "M"s
    int height;  // in lines
    std::vector<std::string> lines;
};

class OrderRemarkTest : public ::testing::TestWithParam<RemarkCase> {};

TEST_P(OrderRemarkTest, BreaksAtBlanksWithinTheBox) {
    const RemarkCase& c = GetParam();
    CRecordingDC dc;
    const int m = dc.GetTextExtentPoint32("M").cx;
    const int h = dc.GetTextExtentPoint32(c.remark).cy;
    const RemarkLines broken = BreakRemark(dc, c.remark, c.width * m, c.height * h);
    EXPECT_THAT(broken.lines, ElementsAreArray(c.lines));
}

INSTANTIATE_TEST_SUITE_P(
    Remarks, OrderRemarkTest,
    ::testing::Values(
        RemarkCase{"Empty", "   ", 10, 3, {}},
        RemarkCase{"FitsOnOneLine", "  MM MM  ", 10, 3, {"MM MM"}},
        RemarkCase{"BrokenAtTheBlank", "MMM MMM", 5, 3, {"MMM ", "MMM"}},
        RemarkCase{"AWideWordHasItsOwnLine", "M MMMMMMMM M", 3, 4, {"M ", "MMMMMMMM ", "M"}},
        RemarkCase{"TheLastWordIsBrokenToo", "MM MM MM", 5, 3, {"MM MM ", "MM"}},
        RemarkCase{"WhatTheBoxCannotHoldFollows", "MM MM MM MM", 3, 2, {"MM ", "MM ", "MM MM"}},
        RemarkCase{"NoRoomForALine", "MM MM", 3, 0, {"MM MM"}}),
    [](const ::testing::TestParamInfo<RemarkCase>& info) { return std::string(info.param.name); });

TEST_F(OrderPrintTest, ThePdfShowsTheInvoice) {
    FillInvoice(2);
    const TempFolder folder;
    const std::string pdf = folder.File("invoice.pdf");
    ScopedScriptedDialogs dialogs;
    dialogs->PushPrintToFile(pdf);
    Call("Print");
    const std::string text = PdfText(pdf);
    for (const char* shown : {"Acme Tools", "Invoice#: A-1", "INVOICE", "Bob Smith", "LINE 0",
                              "LINE 1", "SubTotal:", "11.02", "0.77"}) {
        EXPECT_THAT(text, HasSubstr(shown));
    }
}

}  // namespace
