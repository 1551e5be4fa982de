// Automation values and Qt values converted both ways.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QSize>

#include "embed/variant_values_qt.h"
#include "platform/com/lcid.h"
#include "platform/com/ole_date.h"

namespace {

struct RoundTrip {
    const char* name;
    QVariant qt;
    CComVariant automation;
};

CComVariant Changed(const CComVariant& value, VARTYPE type) {
    CComVariant changed;
    VariantChangeTypeEx(&changed, &value, LOCALE_INVARIANT, 0, type);
    return changed;
}

}  // namespace

TEST(VariantValuesTest, ValuesGoBothWaysUnchanged) {
    const RoundTrip cases[] = {
        {"integer", QVariant(42), CComVariant(42)},
        {"real", QVariant(2.5), CComVariant(2.5)},
        {"true", QVariant(true), CComVariant(true)},
        {"text", QVariant(QString("Zürich")), CComVariant("Zürich")},
        {"empty text", QVariant(QString()), CComVariant("")},
        {"null", QVariant::fromValue(nullptr), CComVariant::Null()},
        {"date", QVariant(QDateTime(QDate(2024, 2, 29), QTime(13, 5, 9), Qt::LocalTime)),
         CComVariant::Date(45351.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0)},
        {"bytes", QVariant(QByteArray("\x01\x00\xFF", 3)),
         BytesFromQt(QByteArray("\x01\x00\xFF", 3))},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        QVariant qt;
        std::string error;
        ASSERT_TRUE(VariantToQt(c.automation, qt, error)) << error;
        EXPECT_EQ(qt, c.qt);
        CComVariant back;
        ASSERT_TRUE(VariantFromQt(c.qt, back, error)) << error;
        QVariant again;
        ASSERT_TRUE(VariantToQt(back, again, error)) << error;
        EXPECT_EQ(again, c.qt);
    }
}

TEST(VariantValuesTest, NumbersKeepEveryDigitAndFitTheirType) {
    const struct {
        const char* name;
        CComVariant automation;
        QVariant expected;
    } toQt[] = {
        {"exact decimal", Changed(CComVariant("12.5"), VT_DECIMAL), QVariant(12.5)},
        {"decimal past a double", Changed(CComVariant("12345678901234567.89"), VT_DECIMAL),
         QVariant(QString("12345678901234567.89"))},
        {"currency", Changed(CComVariant(19.99), VT_CY), QVariant(19.99)},
        {"unsigned long", Changed(CComVariant(2147483648.0), VT_UI4), QVariant(0x80000000U)},
    };
    for (const auto& c : toQt) {
        SCOPED_TRACE(c.name);
        QVariant qt;
        std::string error;
        ASSERT_TRUE(VariantToQt(c.automation, qt, error)) << error;
        EXPECT_EQ(qt, c.expected);
    }
    CComVariant wide;
    std::string error;
    ASSERT_TRUE(VariantFromQt(QVariant(qlonglong(5000000000)), wide, error));
    EXPECT_EQ(wide, CComVariant(5000000000.0));
    ASSERT_TRUE(VariantFromQt(QVariant(), wide, error));
    EXPECT_TRUE(wide.IsMissing());
}

TEST(VariantValuesTest, ListsBecomeVariantArraysAndBack) {
    const QVariantList list{1, QString("two"), QVariantList{3.5, true}};
    CComVariant array;
    std::string error;
    ASSERT_TRUE(VariantFromQt(list, array, error)) << error;
    EXPECT_EQ(array.vt, VT_ARRAY | VT_VARIANT);
    QVariant back;
    ASSERT_TRUE(VariantToQt(array, back, error)) << error;
    EXPECT_EQ(back, QVariant(list));
}

TEST(VariantValuesTest, ValuesWithoutAFormAreRefusedWithTheReason) {
    CComVariant out;
    std::string error;
    EXPECT_FALSE(VariantFromQt(QVariant(QSize(1, 2)), out, error));
    EXPECT_EQ(error, "a Qt value of type QSize cannot be passed as an automation value");
    EXPECT_FALSE(VariantFromQt(QDateTime(QDate(50, 1, 1), QTime(0, 0)), out, error));
    EXPECT_EQ(error, "the date is outside the range of automation dates");
}
