// Messages of failing results and the per-thread error objects that carry description and source.
#include <gtest/gtest.h>

#include <thread>

#include "platform/com/dispatch.h"
#include "platform/com/error_info.h"
#include "platform/com/error_message.h"

TEST(ComErrorMessage, GivesTheSystemsMessageForKnownCodes) {
    EXPECT_EQ(ComErrorMessage(E_FAIL), "Unspecified error");
    EXPECT_EQ(ComErrorMessage(E_NOINTERFACE), "No such interface supported");
    EXPECT_EQ(ComErrorMessage(E_INVALIDARG), "The parameter is incorrect.");
    EXPECT_EQ(ComErrorMessage(E_OUTOFMEMORY),
              "Not enough memory resources are available to complete this operation.");
    EXPECT_EQ(ComErrorMessage(DISP_E_TYPEMISMATCH), "Type mismatch.");
    EXPECT_EQ(ComErrorMessage(DISP_E_OVERFLOW), "Out of present range.");
    EXPECT_EQ(ComErrorMessage(REGDB_E_CLASSNOTREG), "Class not registered");
    EXPECT_EQ(ComErrorMessage(E_ACCESSDENIED), "Access is denied.");
    for (const HRESULT hr : {S_OK, E_UNEXPECTED, E_NOTIMPL, E_POINTER, DISP_E_EXCEPTION,
                             DISP_E_MEMBERNOTFOUND, DISP_E_PARAMNOTFOUND, CO_E_NOTINITIALIZED,
                             CLASS_E_CLASSNOTAVAILABLE, DISP_E_BADPARAMCOUNT}) {
        const std::string text = ComErrorMessage(hr);
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << hr;
        EXPECT_EQ(text.find("Unknown error"), std::string::npos) << hr;
    }
}

TEST(ComErrorMessage, NumbersUnknownDispatchExceptionCodes) {
    EXPECT_EQ(ComErrorMessage(static_cast<HRESULT>(0x80041234)), "IDispatch error #4148");
    EXPECT_EQ(ComErrorMessage(SELFREG_E_CLASS), "IDispatch error #1");
    EXPECT_EQ(ComErrorMessage(WCODE_HRESULT_LAST), "IDispatch error #65023");
    // The first code of the range would be number 0, which is no number.
    EXPECT_EQ(ComErrorMessage(SELFREG_E_TYPELIB), "Unknown error 0x80040200");
}

TEST(ComErrorMessage, ShowsOtherUnknownCodesInHex) {
    EXPECT_EQ(ComErrorMessage(static_cast<HRESULT>(0x800A0001)), "Unknown error 0x800A0001");
    EXPECT_EQ(ComErrorMessage(static_cast<HRESULT>(0x800401FF)), "Unknown error 0x800401FF");
    EXPECT_EQ(ComErrorMessage(static_cast<HRESULT>(0x80050000)), "Unknown error 0x80050000");
    EXPECT_EQ(ComErrorMessage(0x00000123), "Unknown error 0x123");
}

TEST(ErrorInfo, CarriesDescriptionAndSourceOfTheLastFailure) {
    EXPECT_EQ(ReportComError(E_FAIL, "Table not found", "Provider"), E_FAIL);
    EXPECT_EQ(ReportComError(E_INVALIDARG, "Bad column", "Provider.Table"), E_INVALIDARG);
    const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->description, "Bad column");
    EXPECT_EQ(texts->source, "Provider.Table");
    EXPECT_FALSE(TakeComErrorTexts());  // taking clears it
}

TEST(ErrorInfo, IsKeptPerThread) {
    ReportComError(E_FAIL, "main thread", "Test");
    std::thread other([] {
        EXPECT_FALSE(TakeComErrorTexts());
        ReportComError(E_FAIL, "other thread", "Test");
    });
    other.join();
    const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->description, "main thread");
}

TEST(ErrorInfo, WorksThroughTheInterfaces) {
    ICreateErrorInfo* created = nullptr;
    ASSERT_EQ(CreateErrorInfo(&created), S_OK);
    created->SetDescription("described");
    created->SetGUID(IID_IDispatch);
    void* raw = nullptr;
    ASSERT_EQ(created->QueryInterface(IID_IErrorInfo, &raw), S_OK);
    created->Release();
    auto* info = static_cast<IErrorInfo*>(raw);
    EXPECT_EQ(SetErrorInfo(0, info), S_OK);
    info->Release();

    IErrorInfo* taken = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &taken), S_OK);
    GUID guid;
    taken->GetGUID(&guid);
    EXPECT_EQ(guid, IID_IDispatch);
    BSTR description = nullptr;
    BSTR source = nullptr;
    taken->GetDescription(&description);
    taken->GetSource(&source);
    EXPECT_EQ(BstrView(description), "described");
    EXPECT_EQ(source, nullptr);
    SysFreeString(description);
    taken->Release();
    EXPECT_EQ(GetErrorInfo(0, &taken), S_FALSE);
    EXPECT_EQ(taken, nullptr);
}

TEST(ExcepInfo, StandsForItsCode) {
    EXCEPINFO info;
    EXPECT_EQ(ExcepInfoResult(info), DISP_E_EXCEPTION);
    info.wCode = 5;
    EXPECT_EQ(ExcepInfoResult(info), static_cast<HRESULT>(0x80040205));
    EXPECT_EQ(ComErrorMessage(ExcepInfoResult(info)), "IDispatch error #5");
    info.wCode = 0xFE00;
    EXPECT_EQ(ExcepInfoResult(info), WCODE_HRESULT_LAST);
    info.scode = E_ACCESSDENIED;
    EXPECT_EQ(ExcepInfoResult(info), E_ACCESSDENIED);
    info.bstrDescription = SysAllocString("freed");
    ClearExcepInfo(&info);
    EXPECT_EQ(info.bstrDescription, nullptr);
    EXPECT_EQ(info.scode, 0);
}
