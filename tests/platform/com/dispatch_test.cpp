// Table-driven dispatch objects called by name and id: argument counts, optional, named and
// out arguments, conversions, exceptions, and an object's value property.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"

namespace {

struct IAccount : IDispatch {
    static constexpr IID iid = MakeGuid("{8E1F0C22-4444-4D3B-A1E5-000000000001}");
    using InterfaceBase = IDispatch;

  protected:
    ~IAccount() = default;
};

constexpr DISPID kBalance = 1;
constexpr DISPID kDeposit = 2;
constexpr DISPID kTransfer = 3;
constexpr DISPID kClose = 4;
constexpr DISPID kAudit = 5;
constexpr DISPID kEntry = 6;

class CAccount final : public CDispatchImpl<CAccount, IAccount> {
  public:
    static const CDispatchTable<CAccount>& DispatchTable();

    CY balance{};
    std::string lastMemo;

  private:
    static HRESULT Deposit(CAccount& self, CDispArgs& args, CComVariant& result) {
        self.balance.int64 += args[0].cyVal.int64;
        self.lastMemo = args[1].Text();
        result = CComVariant(self.balance);
        return S_OK;
    }
    static HRESULT Transfer(CAccount&, CDispArgs& args, CComVariant& result) {
        args[1] = CComVariant("R-" + std::to_string(args[0].lVal));
        if (!args.IsMissing(2)) {
            args[2] = CComVariant(1);
        }
        result = CComVariant(true);
        return S_OK;
    }
};

const CDispatchTable<CAccount>& CAccount::DispatchTable() {
    using Table = CDispatchTable<CAccount>;
    static const Table table(
        "Bank.Account",
        {
            Table::Get("Balance", kBalance, VT_CY,
                       [](CAccount& self, CDispArgs&, CComVariant& result) {
                           result = CComVariant(self.balance);
                           return S_OK;
                       }),
            Table::Put("Balance", kBalance, VT_CY,
                       [](CAccount& self, CDispArgs& args, CComVariant&) {
                           self.balance = args[0].cyVal;
                           return S_OK;
                       }),
            Table::Method("Deposit", kDeposit,
                          {DispParam::In("Amount", VT_CY),
                           DispParam::Optional("Memo", VT_BSTR, CComVariant("none"))},
                          VT_CY, Deposit),
            Table::Method("Transfer", kTransfer,
                          {DispParam::In("Amount", VT_I4), DispParam::Out("Receipt", VT_BSTR),
                           DispParam::Out("Fee", VT_I4, true)},
                          VT_BOOL, Transfer),
            Table::Method("Close", kClose, {}, VT_EMPTY,
                          [](CAccount&, CDispArgs&, CComVariant&) {
                              return ReportComError(E_FAIL, "Account is closed", "Bank.Ledger");
                          }),
            Table::Method("Audit", kAudit, {}, VT_EMPTY,
                          [](CAccount&, CDispArgs&, CComVariant&) -> HRESULT {
                              throw std::runtime_error("no exception leaves a dispatch call");
                          }),
            Table::Get("Entry", kEntry, {DispParam::In("Index", VT_I2)}, VT_BSTR,
                       [](CAccount&, CDispArgs& args, CComVariant& result) {
                           result = CComVariant("entry" + std::to_string(args[0].iVal));
                           return S_OK;
                       }),
            Table::Get("Value", DISPID_VALUE, VT_I4,
                       [](CAccount&, CDispArgs&, CComVariant& result) {
                           result = CComVariant(42);
                           return S_OK;
                       }),
        });
    return table;
}

class DispatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        objectsBefore_ = LiveComObjectCount();
        ASSERT_EQ(MakeComObject<CAccount>().QueryInterface(account_), S_OK);
        TakeComErrorTexts();
    }
    void TearDown() override {
        account_.Release();
        EXPECT_EQ(LiveComObjectCount(), objectsBefore_);
    }

    CAccount& Object() { return static_cast<CAccount&>(*account_); }

    // A raw Invoke with the arguments as given (already in reverse order).
    HRESULT Invoke(DISPID member, WORD flags, std::vector<VARIANT> args,
                   std::vector<DISPID> named = {}, VARIANT* result = nullptr,
                   EXCEPINFO* exception = nullptr, UINT* argError = nullptr) {
        DISPPARAMS params{args.data(), named.data(), static_cast<UINT>(args.size()),
                          static_cast<UINT>(named.size())};
        return account_->Invoke(member, IID_NULL, 0x0409, flags, &params, result, exception,
                                argError);
    }

    CComPtr<IAccount> account_;
    std::int64_t objectsBefore_ = 0;
};

}  // namespace

TEST_F(DispatchTest, FindsMembersAndParametersByNameInAnyCase) {
    DISPID id = 0;
    EXPECT_EQ(GetDispIdOfName(account_.Get(), "deposit", &id), S_OK);
    EXPECT_EQ(id, kDeposit);
    EXPECT_EQ(GetDispIdOfName(account_.Get(), "BALANCE", &id), S_OK);
    EXPECT_EQ(id, kBalance);
    EXPECT_EQ(GetDispIdOfName(account_.Get(), "Withdraw", &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);

    const LPCOLESTR names[] = {"Deposit", "memo", "Tip"};  // NOLINT(*-avoid-c-arrays)
    DISPID ids[3] = {};                                    // NOLINT(*-avoid-c-arrays)
    EXPECT_EQ(account_->GetIDsOfNames(IID_NULL, names, 3, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], kDeposit);
    EXPECT_EQ(ids[1], 1);
    EXPECT_EQ(ids[2], DISPID_UNKNOWN);
    EXPECT_EQ(account_->GetIDsOfNames(IID_IDispatch, names, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);
}

TEST_F(DispatchTest, MissingOptionalArgumentsTakeTheirDefault) {
    CComVariant result;
    ASSERT_EQ(
        InvokeByName(account_.Get(), "Deposit", DISPATCH_METHOD, {CComVariant(CY{50000})}, &result),
        S_OK);
    EXPECT_EQ(result.vt, VT_CY);
    EXPECT_EQ(result.cyVal.int64, 50000);
    EXPECT_EQ(Object().lastMemo, "none");

    // The missing marker stands for an argument left out.
    ASSERT_EQ(InvokeByName(account_.Get(), "Deposit", DISPATCH_METHOD,
                           {CComVariant(CY{10000}), CComVariant::Missing()}, &result),
              S_OK);
    EXPECT_EQ(result.cyVal.int64, 60000);
    EXPECT_EQ(Object().lastMemo, "none");

    ASSERT_EQ(InvokeByName(account_.Get(), "Deposit", DISPATCH_METHOD,
                           {CComVariant(1), CComVariant("rent")}, &result),
              S_OK);
    EXPECT_EQ(result.cyVal.int64, 70000);
    EXPECT_EQ(Object().lastMemo, "rent");
}

TEST_F(DispatchTest, ChecksArgumentCounts) {
    EXPECT_EQ(InvokeByName(account_.Get(), "Deposit", DISPATCH_METHOD, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(InvokeByName(account_.Get(), "Deposit", DISPATCH_METHOD,
                           {CComVariant(1), CComVariant("a"), CComVariant("b")}),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(InvokeByName(account_.Get(), "Deposit", DISPATCH_METHOD, {CComVariant::Missing()}),
              DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(InvokeByName(account_.Get(), "Balance", DISPATCH_PROPERTYGET, {CComVariant(1)}),
              DISP_E_BADPARAMCOUNT);
}

TEST_F(DispatchTest, ConvertsArgumentsAndNamesTheOneThatFails) {
    std::vector<VARIANT> args(2);
    CComVariant memo("memo");
    CComVariant amount("12.50");  // text converted under the call's locale (en-US)
    args[0] = memo;
    args[1] = amount;
    CComVariant result;
    ASSERT_EQ(Invoke(kDeposit, DISPATCH_METHOD, args, {}, &result), S_OK);
    EXPECT_EQ(result.cyVal.int64, 125000);

    CComVariant bad("twelve");
    args[1] = bad;
    UINT argError = 99;
    EXPECT_EQ(Invoke(kDeposit, DISPATCH_METHOD, args, {}, &result, nullptr, &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1U);
    EXPECT_EQ(Object().balance.int64, 125000);  // not called
}

TEST_F(DispatchTest, AcceptsNamedArguments) {
    CComVariant memo("gift");
    CComVariant amount(5);
    // Named arguments come first in rgvarg, with their parameter positions as ids.
    std::vector<VARIANT> args{memo, amount};
    ASSERT_EQ(Invoke(kDeposit, DISPATCH_METHOD, args, {1, 0}), S_OK);
    EXPECT_EQ(Object().lastMemo, "gift");
    EXPECT_EQ(Object().balance.int64, 50000);

    UINT argError = 99;
    EXPECT_EQ(Invoke(kDeposit, DISPATCH_METHOD, args, {1, 7}, nullptr, nullptr, &argError),
              DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(argError, 1U);
    // A positional argument and a named one for the same parameter.
    std::vector<VARIANT> twice{amount, amount};
    EXPECT_EQ(Invoke(kDeposit, DISPATCH_METHOD, twice, {0}), DISP_E_PARAMNOTFOUND);
}

TEST_F(DispatchTest, StoresOutArgumentsThroughTheirReferences) {
    CComVariant receipt;
    CComVariant result;
    ASSERT_EQ(InvokeByName(account_.Get(), "Transfer", DISPATCH_METHOD,
                           {CComVariant(100), CComVariant::ByReference(&receipt)}, &result),
              S_OK);
    EXPECT_EQ(receipt.Text(), "R-100");
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);

    // Typed references: the old string is given back, the fee converted to the caller's type.
    BSTR text = SysAllocString("old receipt");
    double fee = 0;
    VARIANT textRef;
    textRef.vt = VT_BYREF | VT_BSTR;
    textRef.pbstrVal = &text;
    VARIANT feeRef;
    feeRef.vt = VT_BYREF | VT_R8;
    feeRef.pdblVal = &fee;
    CComVariant amount(7);
    ASSERT_EQ(Invoke(kTransfer, DISPATCH_METHOD, {feeRef, textRef, amount}), S_OK);
    EXPECT_EQ(BstrView(text), "R-7");
    EXPECT_EQ(fee, 1.0);
    SysFreeString(text);

    // Whatever the storage held before is replaced.
    CComVariant nullReceipt = CComVariant::Null();
    ASSERT_EQ(InvokeByName(account_.Get(), "Transfer", DISPATCH_METHOD,
                           {CComVariant(8), CComVariant::ByReference(&nullReceipt)}),
              S_OK);
    EXPECT_EQ(nullReceipt.Text(), "R-8");

    // An out parameter needs a reference to store into.
    UINT argError = 99;
    CComVariant byValue("not a reference");
    EXPECT_EQ(
        Invoke(kTransfer, DISPATCH_METHOD, {byValue, amount}, {}, nullptr, nullptr, &argError),
        DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0U);
}

TEST_F(DispatchTest, GetsAndPutsProperties) {
    ASSERT_EQ(PutPropertyByName(account_.Get(), "Balance", CComVariant(12.5)), S_OK);
    CComVariant balance;
    ASSERT_EQ(GetPropertyByName(account_.Get(), "balance", &balance), S_OK);
    EXPECT_EQ(balance.vt, VT_CY);
    EXPECT_EQ(balance.cyVal.int64, 125000);

    // Methods and gets answer the combined flags a script host passes.
    ASSERT_EQ(InvokeByName(account_.Get(), "Balance", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {},
                           &balance),
              S_OK);
    EXPECT_EQ(InvokeByName(account_.Get(), "Balance", DISPATCH_METHOD, {}, &balance),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(InvokeByName(account_.Get(), "Deposit", DISPATCH_PROPERTYPUT, {CComVariant(1)}),
              DISP_E_MEMBERNOTFOUND);

    // A put passes its value as the named argument DISPID_PROPERTYPUT.
    CComVariant value(3);
    EXPECT_EQ(Invoke(kBalance, DISPATCH_PROPERTYPUT, {value}), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(Invoke(kBalance, DISPATCH_PROPERTYPUT, {value}, {DISPID_PROPERTYPUT}), S_OK);
    EXPECT_EQ(Object().balance.int64, 30000);

    CComVariant entry;
    ASSERT_EQ(
        InvokeByName(account_.Get(), "Entry", DISPATCH_PROPERTYGET, {CComVariant("7")}, &entry),
        S_OK);
    EXPECT_EQ(entry.Text(), "entry7");
    EXPECT_EQ(Invoke(99, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Invoke(kBalance, 0, {}), E_INVALIDARG);
}

TEST_F(DispatchTest, FailuresCarryDescriptionAndSource) {
    EXCEPINFO exception;
    EXPECT_EQ(Invoke(kClose, DISPATCH_METHOD, {}, {}, nullptr, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, E_FAIL);
    EXPECT_EQ(BstrView(exception.bstrDescription), "Account is closed");
    EXPECT_EQ(BstrView(exception.bstrSource), "Bank.Ledger");
    ClearExcepInfo(&exception);

    // Without an exception record the result is the member's own, its texts in the error object.
    EXPECT_EQ(Invoke(kClose, DISPATCH_METHOD, {}), E_FAIL);
    std::optional<ComErrorTexts> texts = TakeComErrorTexts();
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->description, "Account is closed");

    // Calling by name turns the exception back into its code and error object.
    EXPECT_EQ(InvokeByName(account_.Get(), "Close", DISPATCH_METHOD, {}), E_FAIL);
    texts = TakeComErrorTexts();
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->description, "Account is closed");
    EXPECT_EQ(texts->source, "Bank.Ledger");
}

TEST_F(DispatchTest, AnExceptionInAMemberBecomesAFailure) {
    EXCEPINFO exception;
    EXPECT_EQ(Invoke(kAudit, DISPATCH_METHOD, {}, {}, nullptr, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, E_UNEXPECTED);
    EXPECT_EQ(BstrView(exception.bstrDescription), "Catastrophic failure");
    EXPECT_EQ(BstrView(exception.bstrSource), "Bank.Account");
    ClearExcepInfo(&exception);
}

TEST_F(DispatchTest, IsADispatchObjectWithAValueProperty) {
    CComPtr<IDispatch> dispatch;
    ASSERT_EQ(account_.QueryInterface(dispatch), S_OK);
    UINT count = 9;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1U);

    const CComVariant object(dispatch.Get());
    CComVariant text;
    ASSERT_EQ(VariantChangeType(&text, &object, 0, VT_BSTR), S_OK);
    EXPECT_EQ(text.Text(), "42");
    EXPECT_EQ(VariantChangeType(&text, &object, VARIANT_NOVALUEPROP, VT_I4), DISP_E_TYPEMISMATCH);
    CComVariant unknown;
    ASSERT_EQ(VariantChangeType(&unknown, &object, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(unknown.punkVal, Object().GetUnknown());
}
