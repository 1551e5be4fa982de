// The recordset wrapper on both providers: field descriptions, value texts, moves, bookmarks,
// adding, updating, deleting, searching, transactions and failures.
#include "controls/common/data_recordset.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/common/field_text.h"
#include "data_test_support.h"
#include "platform/com/error_message.h"

namespace {

std::string LastErrorOf(const CDataRecordset& recordset) {
    std::string text;
    recordset.GetLastError(text);
    return text;
}

class DataRecordsetTest : public ::testing::TestWithParam<Provider> {
  protected:
    void SetUp() override {
        connectionString_ = TestDatabase(GetParam(), sample_);
        if (connectionString_.empty()) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        ASSERT_TRUE(connection_.Open(connectionString_)) << LastErrorOf(connection_);
        table_ = std::make_unique<OwnTable>(connection_, GetParam());
        ASSERT_TRUE(table_->Created());
    }

    bool IsPostgres() const { return GetParam() == Provider::PostgreSQL; }

    // Opens the own table, on the first record.
    void OpenTable(CDataRecordset& recordset) {
        ASSERT_TRUE(recordset.Open(table_->SelectAll())) << LastErrorOf(recordset) << "\n"
                                                         << LastErrorOf(connection_);
    }

    static std::string Text(CDataRecordset& recordset, std::string_view field) {
        std::string text = "<unread>";
        EXPECT_TRUE(recordset.GetFieldText(field, text)) << field << ": " << LastErrorOf(recordset);
        return text;
    }

    // The text of a field of one record, read through a connection of its own.
    std::string TextSeenElsewhere(int id, std::string_view field) {
        CDataConnection other;
        EXPECT_TRUE(other.Open(connectionString_)) << LastErrorOf(other);
        CDataRecordset recordset(other);
        EXPECT_TRUE(
            recordset.Open("SELECT * FROM " + table_->Name() + " WHERE id = " + std::to_string(id)))
            << LastErrorOf(other);
        return Text(recordset, field);
    }

    std::unique_ptr<SampleCopy> sample_;
    std::string connectionString_;
    CDataConnection connection_;
    std::unique_ptr<OwnTable> table_;
};

TEST_P(DataRecordsetTest, FieldsAreDescribedInQueryOrder) {
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    int count = 0;
    ASSERT_TRUE(recordset.GetFieldCount(count));
    ASSERT_EQ(count, 8);
    const char* const names[] = {"id", "name", "amount", "paid", "day", "stamp", "code", "note"};
    const char* const types[] = {
        "INT",   "STRING", "CURRENCY", "BOOL", "DATE", "DATE", IsPostgres() ? "BINARY" : "BYTE",
        "STRING"};
    for (int i = 0; i < count; ++i) {
        std::string name;
        std::string typeName;
        int size = 0;
        ASSERT_TRUE(recordset.GetFieldInfo(i, name, typeName, size));
        EXPECT_EQ(name, names[i]);
        EXPECT_EQ(typeName, types[i]) << name;
        std::string nameOnly;
        ASSERT_TRUE(recordset.GetFieldName(i, nameOnly));
        EXPECT_EQ(nameOnly, name);
    }
    FieldInfo info;
    ASSERT_TRUE(recordset.GetFieldInfo(0, info));
    EXPECT_TRUE(info.key);
    ASSERT_TRUE(recordset.GetFieldInfo(1, info));
    EXPECT_EQ(info.definedSize, 40);
    EXPECT_TRUE(info.nullable);
    EXPECT_FALSE(info.key);
    EXPECT_FALSE(info.isLong);
    ASSERT_TRUE(recordset.GetFieldInfo(7, info));
    EXPECT_TRUE(info.isLong);

    std::string name = "unchanged";
    EXPECT_FALSE(recordset.GetFieldName(8, name));
    EXPECT_FALSE(recordset.GetFieldName(-1, name));
    EXPECT_FALSE(recordset.GetFieldInfo(8, info));
    EXPECT_EQ(name, "unchanged");
}

TEST_P(DataRecordsetTest, ValuesReadAsTextUnderTheLocale) {
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    {
        const ScopedLocale locale("en_US.UTF-8");
        EXPECT_EQ(Text(recordset, "id"), "1");
        EXPECT_EQ(Text(recordset, "name"), "O'Brien");
        EXPECT_EQ(Text(recordset, "amount"), "1234.5");
        EXPECT_EQ(Text(recordset, "paid"), kTrueText);
        EXPECT_EQ(Text(recordset, "day"), "3/5/2024");
        EXPECT_EQ(Text(recordset, "stamp"), "3/5/2024");
        EXPECT_EQ(Text(recordset, "code"), "");
        EXPECT_EQ(Text(recordset, "note"), "padded text");
        std::string byPosition;
        ASSERT_TRUE(recordset.GetFieldText(2, byPosition));
        EXPECT_EQ(byPosition, "1234.5");
        EXPECT_FALSE(recordset.GetFieldText(8, byPosition));
    }
    {
        const ScopedLocale locale("de_DE.UTF-8");
        EXPECT_EQ(Text(recordset, "amount"), "1234,5");
        EXPECT_EQ(Text(recordset, "day"), "05.03.2024");
    }
    ASSERT_TRUE(recordset.MoveNext());
    const ScopedLocale locale("en_US.UTF-8");
    EXPECT_EQ(Text(recordset, "name"), "Müller");
    EXPECT_EQ(Text(recordset, "amount"), "0.25");
    EXPECT_EQ(Text(recordset, "paid"), kFalseText);
    EXPECT_EQ(Text(recordset, "stamp"), "12/31/1999");
    EXPECT_EQ(Text(recordset, "code"), "");
    EXPECT_EQ(Text(recordset, "note"), "");
}

TEST_P(DataRecordsetTest, MovesStopAtBothEnds) {
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    EXPECT_FALSE(recordset.MovePrevious());
    EXPECT_EQ(Text(recordset, "id"), "1");
    EXPECT_TRUE(recordset.MoveNext());
    EXPECT_EQ(Text(recordset, "id"), "2");
    EXPECT_TRUE(recordset.MoveLast());
    EXPECT_EQ(Text(recordset, "id"), "3");
    EXPECT_FALSE(recordset.MoveNext());
    EXPECT_EQ(Text(recordset, "id"), "3");
    EXPECT_FALSE(recordset.MoveNext());
    EXPECT_EQ(Text(recordset, "id"), "3");
    EXPECT_TRUE(recordset.MovePrevious());
    EXPECT_EQ(Text(recordset, "id"), "2");
    EXPECT_TRUE(recordset.MoveFirst());
    EXPECT_EQ(Text(recordset, "id"), "1");
}

TEST_P(DataRecordsetTest, EmptyResultHasNoRecordToMoveTo) {
    CDataRecordset recordset(connection_);
    ASSERT_TRUE(recordset.Open("SELECT * FROM " + table_->Name() + " WHERE id > 100"));
    EXPECT_FALSE(recordset.MoveFirst());
    EXPECT_FALSE(recordset.MoveNext());
    LONG count = -1;
    ASSERT_TRUE(recordset.GetRecordCount(count)) << LastErrorOf(recordset);
    EXPECT_EQ(count, 0);
    std::string text;
    EXPECT_FALSE(recordset.GetFieldText("name", text));
}

TEST_P(DataRecordsetTest, BookmarksSurviveOtherMoves) {
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    ASSERT_TRUE(recordset.MoveNext());
    CComVariant second;
    ASSERT_TRUE(recordset.GetBookmark(second));
    ASSERT_TRUE(recordset.MoveLast());
    CComVariant third;
    ASSERT_TRUE(recordset.GetBookmark(third));
    ASSERT_TRUE(recordset.MoveFirst());
    ASSERT_TRUE(recordset.SetBookmark(second));
    EXPECT_EQ(Text(recordset, "id"), "2");
    ASSERT_TRUE(recordset.SetBookmark(third));
    EXPECT_EQ(Text(recordset, "id"), "3");

    ASSERT_TRUE(recordset.SetBookmark(second));
    LONG count = 0;
    ASSERT_TRUE(recordset.GetRecordCount(count));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Text(recordset, "id"), "2");
}

TEST_P(DataRecordsetTest, SecondAddNewAndDeleteWhileAddingAreRefused) {
    const std::string pending =
        "A new record is currently being edited..Call Update or CancelUpdate before calling this "
        "function again!";
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    EXPECT_FALSE(recordset.IsEditingNew());
    ASSERT_TRUE(recordset.AddNew()) << LastErrorOf(recordset);
    EXPECT_TRUE(recordset.IsEditingNew());
    EXPECT_FALSE(recordset.AddNew());
    EXPECT_EQ(LastErrorOf(recordset), pending);
    EXPECT_FALSE(recordset.Delete());
    EXPECT_EQ(LastErrorOf(recordset), pending);
    EXPECT_TRUE(recordset.CancelUpdate());
    EXPECT_FALSE(recordset.IsEditingNew());
    LONG count = 0;
    ASSERT_TRUE(recordset.GetRecordCount(count));
    EXPECT_EQ(count, 3);
}

TEST_P(DataRecordsetTest, AddedRecordIsStoredTrimmed) {
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    ASSERT_TRUE(recordset.AddNew());
    ASSERT_TRUE(recordset.SetFieldText("name", "  New one \t"));
    ASSERT_TRUE(recordset.SetFieldText("amount", "12.5"));
    ASSERT_TRUE(recordset.SetFieldText(3, kTrueText));
    ASSERT_TRUE(recordset.Update()) << LastErrorOf(recordset) << LastErrorOf(connection_);
    EXPECT_FALSE(recordset.IsEditingNew());
    LONG count = 0;
    ASSERT_TRUE(recordset.GetRecordCount(count));
    EXPECT_EQ(count, 4);

    CDataRecordset reopened(connection_);
    OpenTable(reopened);
    ASSERT_TRUE(reopened.MoveLast());
    EXPECT_EQ(Text(reopened, "name"), "New one");
    EXPECT_EQ(Text(reopened, "amount"), "12.5");
    EXPECT_EQ(Text(reopened, "paid"), kTrueText);
}

TEST_P(DataRecordsetTest, UpdateIsSeenByASecondConnection) {
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    ASSERT_TRUE(recordset.SetFieldText("name", "  Changed  "));
    ASSERT_TRUE(recordset.Update()) << LastErrorOf(recordset);
    EXPECT_EQ(TextSeenElsewhere(1, "name"), "Changed");
    EXPECT_EQ(TextSeenElsewhere(2, "name"), "Müller");
}

TEST_P(DataRecordsetTest, RollbackUndoesTheChanges) {
    ASSERT_TRUE(connection_.BeginTrans());
    {
        CDataRecordset recordset(connection_);
        OpenTable(recordset);
        ASSERT_TRUE(recordset.SetFieldText("amount", "1"));
        ASSERT_TRUE(recordset.Update());
        ASSERT_TRUE(recordset.MoveNext());
        ASSERT_TRUE(recordset.Delete());
    }
    ASSERT_TRUE(connection_.RollbackTrans()) << LastErrorOf(connection_);
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    const ScopedLocale locale("en_US.UTF-8");
    EXPECT_EQ(Text(recordset, "amount"), "1234.5");
    LONG count = 0;
    ASSERT_TRUE(recordset.GetRecordCount(count));
    EXPECT_EQ(count, 3);
}

TEST_P(DataRecordsetTest, DeleteRemovesTheCurrentRecord) {
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    ASSERT_TRUE(recordset.MoveNext());
    ASSERT_TRUE(recordset.Delete()) << LastErrorOf(recordset);
    ASSERT_TRUE(recordset.MoveFirst());
    EXPECT_EQ(Text(recordset, "id"), "1");
    ASSERT_TRUE(recordset.MoveNext());
    EXPECT_EQ(Text(recordset, "id"), "3");
    LONG count = 0;
    ASSERT_TRUE(recordset.GetRecordCount(count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(TextSeenElsewhere(3, "id"), "3");
}

TEST_P(DataRecordsetTest, FindTakesQuotesInTheValueLiterally) {
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    ASSERT_TRUE(recordset.MoveLast());
    ASSERT_TRUE(recordset.MoveFirst());
    EXPECT_TRUE(recordset.Find("name", "O'Brien")) << LastErrorOf(recordset);
    EXPECT_EQ(Text(recordset, "id"), "1");
    EXPECT_TRUE(recordset.Find("name", "Plain"));
    EXPECT_EQ(Text(recordset, "id"), "3");

    EXPECT_FALSE(recordset.Find("name", "O'Brien"));
    EXPECT_EQ(Text(recordset, "id"), "3");
    ASSERT_TRUE(recordset.MoveFirst());
    EXPECT_FALSE(recordset.Find("name", "x' OR name <> 'y"));
    EXPECT_FALSE(recordset.Find("name", "O'Brien' OR '1'='1"));
    EXPECT_FALSE(recordset.Find("name", "'"));
    EXPECT_EQ(Text(recordset, "id"), "1");
}

TEST_P(DataRecordsetTest, FailuresAreResultsWithTexts) {
    CDataRecordset recordset(connection_);
    EXPECT_FALSE(recordset.Open("SELECT * FROM no_such_table"));
    EXPECT_FALSE(recordset.IsOpen());
    EXPECT_FALSE(LastErrorOf(recordset).empty());
    EXPECT_NE(LastErrorOf(connection_).find("no_such_table"), std::string::npos)
        << LastErrorOf(connection_);

    std::string text = "unchanged";
    int count = -1;
    CComVariant bookmark;
    EXPECT_FALSE(recordset.MoveFirst());
    EXPECT_FALSE(recordset.MoveNext());
    EXPECT_FALSE(recordset.GetFieldText("name", text));
    EXPECT_FALSE(recordset.SetFieldText("name", "x"));
    EXPECT_FALSE(recordset.GetFieldCount(count));
    EXPECT_FALSE(recordset.GetBookmark(bookmark));
    EXPECT_FALSE(recordset.AddNew());
    EXPECT_FALSE(recordset.Update());
    EXPECT_FALSE(recordset.Delete());
    EXPECT_FALSE(recordset.Find("name", "x"));
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(count, -1);

    OpenTable(recordset);
    EXPECT_FALSE(recordset.Open(table_->SelectAll()));
    EXPECT_TRUE(recordset.IsOpen());
    // The result code's message, then what the failing call said of it.
    const std::string notFound =
        ComErrorMessage(adErrItemNotFound) +
        "\nItem cannot be found in the collection corresponding to the requested name or ordinal.";
    EXPECT_FALSE(recordset.GetFieldText("no_such_field", text));
    EXPECT_EQ(LastErrorOf(recordset), notFound);
    EXPECT_FALSE(LastErrorOf(connection_).empty());
    EXPECT_FALSE(recordset.SetFieldText("amount", "not a number"));
    EXPECT_FALSE(LastErrorOf(recordset).empty());
    EXPECT_FALSE(recordset.SetFieldText("no_such_field", "1"));
    EXPECT_EQ(LastErrorOf(recordset), notFound);
    EXPECT_FALSE(recordset.Find("no_such_field", "1"));
    EXPECT_FALSE(LastErrorOf(recordset).empty());

    recordset.Close();
    EXPECT_FALSE(recordset.IsOpen());
    EXPECT_FALSE(recordset.GetFieldCount(count));
    OpenTable(recordset);
    EXPECT_EQ(Text(recordset, "id"), "1");
}

TEST_P(DataRecordsetTest, QueryThatCannotChangeRefusesChanges) {
    CDataRecordset recordset(connection_);
    ASSERT_TRUE(recordset.Open("SELECT count(*) AS n FROM " + table_->Name()));
    EXPECT_EQ(Text(recordset, "n"), "3");
    EXPECT_FALSE(recordset.AddNew());
    EXPECT_EQ(LastErrorOf(recordset), "Recordset does not support adding new records.");
    EXPECT_FALSE(recordset.Update());
    EXPECT_EQ(LastErrorOf(recordset), "Recordset does not support updating records.");
    EXPECT_FALSE(recordset.Delete());
    EXPECT_EQ(LastErrorOf(recordset), "Recordset does not support deleting records.");
    EXPECT_FALSE(recordset.SetFieldText("n", "4"));
}

TEST_P(DataRecordsetTest, BooleanAndCurrencyTextsGoBackUnchanged) {
    for (const char* localeName : {"en_US.UTF-8", "de_DE.UTF-8"}) {
        const ScopedLocale locale(localeName);
        CDataRecordset recordset(connection_);
        OpenTable(recordset);
        const std::string paid = Text(recordset, "paid");
        const std::string amount = Text(recordset, "amount");
        ASSERT_TRUE(recordset.SetFieldText("paid", kFalseText));
        ASSERT_TRUE(recordset.Update()) << LastErrorOf(recordset);
        EXPECT_EQ(TextSeenElsewhere(1, "paid"), kFalseText);
        ASSERT_TRUE(recordset.SetFieldText("paid", paid));
        ASSERT_TRUE(recordset.SetFieldText("amount", amount));
        ASSERT_TRUE(recordset.Update()) << LastErrorOf(recordset);
        EXPECT_EQ(TextSeenElsewhere(1, "paid"), kTrueText) << localeName;
        EXPECT_EQ(TextSeenElsewhere(1, "amount"), amount) << localeName;
    }
    const ScopedLocale locale("en_US.UTF-8");
    EXPECT_EQ(TextSeenElsewhere(1, "amount"), "1234.5");
}

TEST_P(DataRecordsetTest, LongValueComesBackWhole) {
    std::string longText;
    for (int i = 0; longText.size() < 5000; ++i) {
        longText += "line " + std::to_string(i) + " with ü; ";
    }
    longText += "end";
    CDataRecordset recordset(connection_);
    OpenTable(recordset);
    ASSERT_TRUE(recordset.SetFieldText("note", longText));
    ASSERT_TRUE(recordset.Update()) << LastErrorOf(recordset);
    EXPECT_EQ(Text(recordset, "note"), longText);
    EXPECT_EQ(TextSeenElsewhere(1, "note"), longText);
}

INSTANTIATE_TEST_SUITE_P(Providers, DataRecordsetTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace
