// What the interactive host shows of members and reads from typed argument texts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "embed/member_call.h"
#include "embed/member_list.h"
#include "platform/ado/ado.h"

TEST(ArgumentTextTest, VariantTextsTakeTheTypeTheirFormSays) {
    CComVariant value;
    std::string error;
    ASSERT_TRUE(ArgumentFromText("42", VT_VARIANT, value, error));
    EXPECT_EQ(value, CComVariant(42));
    ASSERT_TRUE(ArgumentFromText("3000000000", VT_VARIANT, value, error));
    EXPECT_EQ(value, CComVariant(3000000000.0));
    ASSERT_TRUE(ArgumentFromText("2.5", VT_VARIANT, value, error));
    EXPECT_EQ(value, CComVariant(2.5));
    ASSERT_TRUE(ArgumentFromText("TRUE", VT_VARIANT, value, error));
    EXPECT_EQ(value, CComVariant(true));
    ASSERT_TRUE(ArgumentFromText("(null)", VT_VARIANT, value, error));
    EXPECT_EQ(value.vt, VT_NULL);
    ASSERT_TRUE(ArgumentFromText("\"42\"", VT_VARIANT, value, error));
    EXPECT_EQ(value, CComVariant("42"));
    ASSERT_TRUE(ArgumentFromText("SELECT * FROM orders", VT_VARIANT, value, error));
    EXPECT_EQ(value, CComVariant("SELECT * FROM orders"));
    ASSERT_TRUE(ArgumentFromText("  ", VT_BSTR, value, error));
    EXPECT_TRUE(value.IsMissing());
}

TEST(ArgumentTextTest, TypedTextsConvertOrSayWhyNot) {
    CComVariant value;
    std::string error;
    ASSERT_TRUE(ArgumentFromText(" 17 ", VT_I4, value, error));
    EXPECT_EQ(value, CComVariant(17));
    ASSERT_TRUE(ArgumentFromText(" keep blanks ", VT_BSTR, value, error));
    EXPECT_EQ(value, CComVariant(" keep blanks "));
    EXPECT_FALSE(ArgumentFromText("seventeen", VT_I4, value, error));
    EXPECT_EQ(error, "\"seventeen\" is not a Long");
    EXPECT_FALSE(ArgumentFromText("99999999999", VT_I4, value, error));
}

TEST(MemberTextTest, SignaturesAndValuesReadAsTheyWouldInABasicBrowser) {
    MemberDescription open{"OpenForm",
                           1,
                           DispKind::Method,
                           {{"adoConn", VT_DISPATCH, false, false},
                            {"ls_sql", VT_BSTR, false, false},
                            {"sText", VT_BSTR, true, true}},
                           VT_BOOL};
    EXPECT_EQ(Signature(open),
              "OpenForm(adoConn As Object, ls_sql As String, [[out] sText As String]) As Boolean");
    const MemberDescription put{
        "Caption", 2, DispKind::PropertyPut, {{"value", VT_BSTR, false, false}}, VT_EMPTY};
    EXPECT_EQ(Signature(put), "Caption = value As String");
    const MemberDescription get{"Count", 3, DispKind::PropertyGet, {}, VT_I4};
    EXPECT_EQ(Signature(get), "Count As Long");

    EXPECT_EQ(ValueText(CComVariant()), "(empty)");
    EXPECT_EQ(ValueText(CComVariant::Null()), "(null)");
    EXPECT_EQ(ValueText(CComVariant("text")), "\"text\"");
    EXPECT_EQ(ValueText(CComVariant(true)), "True");
    EXPECT_EQ(ValueText(CComVariant(12)), "12");
    CComVariant target(5);
    EXPECT_EQ(ValueText(CComVariant::ByReference(&target)), "5");
}

TEST(MemberTextTest, TheMembersOfADataAccessObjectComeFromItsTypeInformation) {
    RegisterAdoClasses();
    CComPtr<IDispatch> connection;
    ASSERT_TRUE(CreateDispatchObject("ADODB.Connection", connection).Succeeded());
    const std::vector<MemberDescription> members = DescribeMembers(connection.Get());
    const auto execute = std::find_if(members.begin(), members.end(),
                                      [](const auto& m) { return m.name == "Execute"; });
    ASSERT_NE(execute, members.end());
    EXPECT_EQ(execute->kind, DispKind::Method);
    ASSERT_GE(execute->params.size(), 2U);
    EXPECT_EQ(execute->params[0].type, VT_BSTR);
    EXPECT_TRUE(execute->params[1].out);
    EXPECT_TRUE(execute->params[1].optional);
}
