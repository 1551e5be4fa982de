// Type information over dispatch tables: member descriptions, names, documentation, classes
// and their interfaces, and invocation through the description with out parameters.
#include <gtest/gtest.h>

#include "platform/com/com_ptr.h"
#include "platform/com/type_info.h"

namespace {

struct ICalculator : IDispatch {
    static constexpr IID iid = MakeGuid("{5A1E2B3C-7777-4F10-9A3C-000000000001}");
    using InterfaceBase = IDispatch;

  protected:
    ~ICalculator() = default;
};

class CCalculator final : public CDispatchImpl<CCalculator, ICalculator> {
  public:
    static const CDispatchTable<CCalculator>& DispatchTable() {
        using Table = CDispatchTable<CCalculator>;
        static const Table table(
            "Test.Calculator",
            {
                Table::Method("Split", 1,
                              {DispParam::In("total", VT_I4),
                               DispParam::Optional("parts", VT_I4, CComVariant(2)),
                               DispParam::Out("rest", VT_I4)},
                              VT_I4,
                              [](CCalculator&, CDispArgs& args, CComVariant& result) {
                                  if (args[1].lVal == 0) {
                                      return E_INVALIDARG;
                                  }
                                  result =
                                      CComVariant(static_cast<int>(args[0].lVal / args[1].lVal));
                                  args[2] =
                                      CComVariant(static_cast<int>(args[0].lVal % args[1].lVal));
                                  return S_OK;
                              }),
                Table::Get("Name", 2, VT_BSTR,
                           [](CCalculator& c, CDispArgs&, CComVariant& result) {
                               result = CComVariant(c.name);
                               return S_OK;
                           }),
                Table::Put("Name", 2, VT_BSTR,
                           [](CCalculator& c, CDispArgs& args, CComVariant&) {
                               c.name = std::string(args[0].Text());
                               return S_OK;
                           }),
            });
        return table;
    }
    std::string name = "abacus";
};

// An object offering IDispatch of its own, without the member calls type information needs.
class CForeign final : public CUnknownImpl<IUnknown> {};

class TypeInfoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        calculator_ = MakeComObject<CCalculator>();
        ASSERT_EQ(calculator_->GetTypeInfo(0, 0, info_.ReleaseAndGetAddressOf()), S_OK);
    }

    // Invokes Split(total, parts) through the type information, rest by reference.
    HRESULT Split(VARIANT total, LONG& rest, CComVariant& quotient,
                  EXCEPINFO* exception = nullptr) {
        VARIANT args[2] = {};  // NOLINT(*-avoid-c-arrays): DISPPARAMS wants an array
        args[0].vt = VT_BYREF | VT_I4;
        args[0].plVal = &rest;
        args[1] = total;
        DISPPARAMS params{args, nullptr, 2, 0};
        // rest is the third parameter: name it so that parts stays missing.
        DISPID named = 2;
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
        return info_->Invoke(calculator_->GetUnknown(), 1, DISPATCH_METHOD, &params, &quotient,
                             exception, nullptr);
    }

    CComPtr<CCalculator> calculator_;
    CComPtr<ITypeInfo> info_;
};

}  // namespace

TEST_F(TypeInfoTest, DescribesTheInterfaceOfADispatchObject) {
    UINT count = 0;
    EXPECT_EQ(calculator_->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1U);
    TYPEATTR attr;
    ASSERT_EQ(info_->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr.guid, ICalculator::iid);
    EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
    EXPECT_EQ(attr.cFuncs, 3);
    CComPtr<ITypeInfo> none;
    EXPECT_EQ(calculator_->GetTypeInfo(1, 0, none.ReleaseAndGetAddressOf()), DISP_E_BADINDEX);

    BSTR name = nullptr;
    ASSERT_EQ(info_->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(BstrView(name), "Test.Calculator");
    SysFreeString(name);
}

TEST_F(TypeInfoTest, GivesParameterTypesDirectionsAndDefaults) {
    FUNCDESC split;
    ASSERT_EQ(info_->GetFuncDesc(0, &split), S_OK);
    EXPECT_EQ(split.memid, 1);
    EXPECT_EQ(split.invkind, INVOKE_FUNC);
    ASSERT_EQ(split.params.size(), 3U);
    EXPECT_EQ(split.params[0].vt, VT_I4);
    EXPECT_EQ(split.params[0].wParamFlags, PARAMFLAG_FIN);
    EXPECT_EQ(split.params[1].wParamFlags, PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT);
    EXPECT_EQ(split.params[1].defaultValue.lVal, 2);
    EXPECT_EQ(split.params[2].vt, VT_I4 | VT_BYREF);
    EXPECT_EQ(split.params[2].wParamFlags, PARAMFLAG_FIN | PARAMFLAG_FOUT);
    EXPECT_EQ(split.cParamsOpt, 1);
    EXPECT_EQ(split.elemdescFunc.vt, VT_I4);

    FUNCDESC put;
    ASSERT_EQ(info_->GetFuncDesc(2, &put), S_OK);
    EXPECT_EQ(put.invkind, INVOKE_PROPERTYPUT);
    EXPECT_EQ(put.elemdescFunc.vt, VT_EMPTY);
    EXPECT_EQ(info_->GetFuncDesc(3, &put), TYPE_E_ELEMENTNOTFOUND);

    std::vector<std::string> names;
    ASSERT_EQ(info_->GetNames(1, &names), S_OK);
    EXPECT_EQ(names, (std::vector<std::string>{"Split", "total", "parts", "rest"}));
    EXPECT_EQ(info_->GetNames(99, &names), TYPE_E_ELEMENTNOTFOUND);

    const LPCOLESTR lookup[] = {"split", "REST"};  // NOLINT(*-avoid-c-arrays)
    MEMBERID ids[2] = {};                          // NOLINT(*-avoid-c-arrays)
    ASSERT_EQ(info_->GetIDsOfNames(lookup, 2, ids), S_OK);
    EXPECT_EQ(ids[0], 1);
    EXPECT_EQ(ids[1], 2);
}

TEST_F(TypeInfoTest, InvokesWithConversionAndStoresOutParametersBack) {
    LONG rest = -1;
    CComVariant quotient;
    const CComVariant total("17");  // text converts to the parameter's integer
    ASSERT_EQ(Split(total, rest, quotient), S_OK);
    EXPECT_EQ(quotient.vt, VT_I4);
    EXPECT_EQ(quotient.lVal, 8);  // the missing parts took its default, 2
    EXPECT_EQ(rest, 1);

    const CComVariant notANumber("many");
    EXPECT_EQ(Split(notANumber, rest, quotient), DISP_E_TYPEMISMATCH);
}

TEST_F(TypeInfoTest, ReportsAFailingMemberAsAnException) {
    LONG rest = 0;
    VARIANT all[3] = {};  // NOLINT(*-avoid-c-arrays): arguments in reverse order
    all[0].vt = VT_BYREF | VT_I4;
    all[0].plVal = &rest;
    all[1].vt = VT_I4;
    all[1].lVal = 0;  // parts
    all[2].vt = VT_I4;
    all[2].lVal = 5;  // total
    DISPPARAMS params{all, nullptr, 3, 0};
    EXCEPINFO exception;
    EXPECT_EQ(info_->Invoke(calculator_->GetUnknown(), 1, DISPATCH_METHOD, &params, nullptr,
                            &exception, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, E_INVALIDARG);
    EXPECT_EQ(BstrView(exception.bstrSource), "Test.Calculator");
    ClearExcepInfo(&exception);
}

TEST_F(TypeInfoTest, PutsAndGetsPropertiesAndRefusesForeignInstances) {
    CComVariant value("slide rule");
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &put, 1, 1};
    ASSERT_EQ(info_->Invoke(calculator_->GetUnknown(), 2, DISPATCH_PROPERTYPUT, &params, nullptr,
                            nullptr, nullptr),
              S_OK);
    EXPECT_EQ(calculator_->name, "slide rule");

    CComVariant name;
    DISPPARAMS none;
    ASSERT_EQ(info_->Invoke(calculator_->GetUnknown(), 2, DISPATCH_PROPERTYGET, &none, &name,
                            nullptr, nullptr),
              S_OK);
    EXPECT_EQ(name.Text(), "slide rule");
    EXPECT_EQ(info_->Invoke(calculator_->GetUnknown(), 7, DISPATCH_METHOD, &none, nullptr, nullptr,
                            nullptr),
              DISP_E_MEMBERNOTFOUND);

    const CComPtr<CForeign> foreign = MakeComObject<CForeign>();
    EXPECT_EQ(info_->Invoke(foreign->GetUnknown(), 2, DISPATCH_PROPERTYGET, &none, &name, nullptr,
                            nullptr),
              E_INVALIDARG);
    EXPECT_EQ(info_->Invoke(nullptr, 2, DISPATCH_PROPERTYGET, &none, &name, nullptr, nullptr),
              E_INVALIDARG);
}

TEST(TypeLibTest, HoldsClassesThatNameTheirInterfaces) {
    TypeLibDescription description;
    description.name = "ShopLib";
    description.doc = "Shop library";
    description.guid = MakeGuid("{5A1E2B3C-7777-4F10-9A3C-0000000000A0}");
    description.helpFile = "Shop.hlp";
    const DispMemberInfo open{"Open", 1, DispKind::Method, {}, VT_BOOL};
    description.types.push_back({"_DShop",
                                 "Dispatch interface for Shop",
                                 MakeGuid("{5A1E2B3C-7777-4F10-9A3C-0000000000A1}"),
                                 TKIND_DISPATCH,
                                 "",
                                 {open},
                                 {}});
    description.types.push_back({"Shop",
                                 "Shop Control",
                                 MakeGuid("{5A1E2B3C-7777-4F10-9A3C-0000000000A2}"),
                                 TKIND_COCLASS,
                                 "",
                                 {},
                                 {{0, IMPLTYPEFLAG_FDEFAULT}}});
    CComPtr<ITypeLib> lib;
    ASSERT_EQ(CreateTypeLib(description, lib.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(lib->GetTypeInfoCount(), 2U);
    TLIBATTR attr;
    ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr.guid, description.guid);
    EXPECT_EQ(attr.wMajorVerNum, 1);

    CComPtr<ITypeInfo> shop;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(description.types[1].guid, shop.ReleaseAndGetAddressOf()),
              S_OK);
    HREFTYPE ref = 0;
    INT flags = 0;
    ASSERT_EQ(shop->GetRefTypeOfImplType(0, &ref), S_OK);
    ASSERT_EQ(shop->GetImplTypeFlags(0, &flags), S_OK);
    EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT);
    CComPtr<ITypeInfo> dispatch;
    ASSERT_EQ(shop->GetRefTypeInfo(ref, dispatch.ReleaseAndGetAddressOf()), S_OK);
    BSTR doc = nullptr;
    BSTR help = nullptr;
    ASSERT_EQ(dispatch->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, &help), S_OK);
    EXPECT_EQ(BstrView(doc), "Dispatch interface for Shop");
    EXPECT_EQ(BstrView(help), "Shop.hlp");
    SysFreeString(doc);
    SysFreeString(help);

    CComPtr<ITypeLib> container;
    UINT index = 9;
    ASSERT_EQ(dispatch->GetContainingTypeLib(container.ReleaseAndGetAddressOf(), &index), S_OK);
    EXPECT_EQ(index, 0U);
    EXPECT_EQ(lib->GetTypeInfoOfGuid(GUID_NULL, shop.ReleaseAndGetAddressOf()),
              TYPE_E_ELEMENTNOTFOUND);

    description.types[1].implTypes[0].typeIndex = 5;
    EXPECT_EQ(CreateTypeLib(description, lib.ReleaseAndGetAddressOf()), E_INVALIDARG);
}
