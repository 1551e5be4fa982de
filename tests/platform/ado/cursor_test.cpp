// Cursors on SQLite: which query gets which cursor, moves and BOF/EOF at both ends, record
// counts and positions, and bookmarks that survive moves, updates, adds and deletes; on both
// providers, steps past records deleted elsewhere.
#include <gmock/gmock.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/platform/ado/ado_test_support.h"

namespace {

class CursorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(SampleDatabase())) << kNoSampleDatabase;
        connection_ = Connect(SqliteString(CopySample(folder_)));
    }

    std::vector<std::string> Column(const CComPtr<_Recordset>& recordset, const std::string& name) {
        std::vector<std::string> values;
        EXPECT_HRESULT_SUCCEEDED(recordset->MoveFirst());
        while (!AtEof(recordset)) {
            values.push_back(Text(recordset, name));
            EXPECT_HRESULT_SUCCEEDED(recordset->MoveNext());
        }
        return values;
    }

    TempFolder folder_;
    CComPtr<_Connection> connection_;
};

LONG CursorType(const CComPtr<_Recordset>& recordset) {
    LONG type = -1;
    recordset->get_CursorType(&type);
    return type;
}

LONG LockType(const CComPtr<_Recordset>& recordset) {
    LONG type = -1;
    recordset->get_LockType(&type);
    return type;
}

TEST_F(CursorTest, SingleTableQueriesGetAnUpdatableKeyset) {
    for (const char* sql :
         {"SELECT * FROM customers", "select name, city from customers c where c.city <> 'x'",
          "SELECT customers.* FROM main.customers ORDER BY name DESC",
          "SELECT name FROM customers WHERE customer_id IN (SELECT customer_id FROM orders)"}) {
        const CComPtr<_Recordset> recordset = Query(connection_, sql);
        EXPECT_EQ(CursorType(recordset), adOpenKeyset) << sql;
        EXPECT_EQ(LockType(recordset), adLockOptimistic) << sql;
        EXPECT_TRUE(Supports(recordset, adAddNew | adUpdate | adDelete | adBookmark | adFind))
            << sql;
    }
}

TEST_F(CursorTest, EverythingElseOpensStaticAndReadOnly) {
    for (const char* sql :
         {"SELECT count(*) FROM customers", "SELECT DISTINCT city FROM customers",
          "SELECT c.name FROM customers c JOIN orders o ON o.customer_id = c.customer_id",
          "SELECT name FROM customers UNION SELECT description FROM products",
          "SELECT name AS n FROM customers ORDER BY n",
          "SELECT name, city FROM customers ORDER BY 2", "SELECT upper(name) FROM customers",
          "WITH x AS (SELECT 1) SELECT * FROM x", "SELECT * FROM (SELECT * FROM customers)"}) {
        const CComPtr<_Recordset> recordset = Query(connection_, sql);
        EXPECT_EQ(CursorType(recordset), adOpenStatic) << sql;
        EXPECT_EQ(LockType(recordset), adLockReadOnly) << sql;
        EXPECT_TRUE(Supports(recordset, adBookmark | adFind | adMovePrevious)) << sql;
        EXPECT_FALSE(Supports(recordset, adAddNew)) << sql;
        EXPECT_FALSE(Supports(recordset, adUpdate)) << sql;
        EXPECT_FALSE(Supports(recordset, adDelete)) << sql;
    }
}

TEST_F(CursorTest, QueriesTheKeysetCannotReadKeepTheirOrderAsStaticCursors) {
    const CComPtr<_Recordset> byAlias =
        Query(connection_, "SELECT name AS n, city FROM customers ORDER BY n");
    const CComPtr<_Recordset> byPosition =
        Query(connection_, "SELECT name, city FROM customers ORDER BY 1");
    const CComPtr<_Recordset> keyset =
        Query(connection_, "SELECT name FROM customers ORDER BY name");
    const std::vector<std::string> expected = Column(keyset, "name");
    EXPECT_EQ(Column(byAlias, "n"), expected);
    EXPECT_EQ(Column(byPosition, "name"), expected);
    EXPECT_NE(expected, Column(Query(connection_, "SELECT name FROM customers"), "name"));
}

TEST_F(CursorTest, RequestsAreDegradedTheWayDataAccessLayersDo) {
    const CComPtr<_Recordset> preview = NewRecordset();
    ASSERT_HRESULT_SUCCEEDED(OpenRecordset(preview, connection_, "SELECT * FROM orders",
                                           adOpenDynamic, adLockPessimistic, adCmdUnknown));
    EXPECT_EQ(CursorType(preview), adOpenKeyset);
    EXPECT_EQ(LockType(preview), adLockOptimistic);

    const CComPtr<_Recordset> readOnly =
        Query(connection_, "SELECT * FROM orders", adOpenKeyset, adLockReadOnly);
    EXPECT_EQ(CursorType(readOnly), adOpenKeyset);
    EXPECT_FALSE(Supports(readOnly, adUpdate));
    EXPECT_EQ(PutValue(readOnly, "remark", CComVariant("x")), adErrFeatureNotAvailable);

    const CComPtr<_Recordset> forward =
        Query(connection_, "SELECT * FROM orders", adOpenForwardOnly, adLockReadOnly);
    EXPECT_EQ(CursorType(forward), adOpenStatic);
    const CComPtr<_Recordset> forwardUpdating =
        Query(connection_, "SELECT * FROM orders", adOpenForwardOnly, adLockBatchOptimistic);
    EXPECT_EQ(CursorType(forwardUpdating), adOpenKeyset);
    EXPECT_EQ(LockType(forwardUpdating), adLockOptimistic);
    const CComPtr<_Recordset> snapshot =
        Query(connection_, "SELECT * FROM orders", adOpenStatic, adLockOptimistic);
    EXPECT_EQ(CursorType(snapshot), adOpenStatic);
    EXPECT_EQ(LockType(snapshot), adLockReadOnly);
}

TEST_F(CursorTest, StaticCursorRefusesEveryChange) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT count(*) AS n, 'a' AS t FROM customers");
    EXPECT_EQ(recordset->AddNew(Missing(), Missing()), adErrFeatureNotAvailable);
    EXPECT_EQ(PutValue(recordset, "t", CComVariant("b")), adErrFeatureNotAvailable);
    EXPECT_EQ(recordset->Update(Missing(), Missing()), adErrFeatureNotAvailable);
    EXPECT_EQ(recordset->Delete(adAffectCurrent), adErrFeatureNotAvailable);
    EXPECT_THAT(ErrorTexts(connection_), ::testing::HasSubstr("does not support updating"));
    EXPECT_EQ(IntValue(recordset, "n"), 200);
}

TEST_F(CursorTest, TableNamesOpenAsTables) {
    const CComPtr<_Recordset> unknown = NewRecordset();
    ASSERT_HRESULT_SUCCEEDED(OpenRecordset(unknown, connection_, "products", adOpenKeyset,
                                           adLockOptimistic, adCmdUnknown));
    EXPECT_EQ(Count(unknown), 60);
    EXPECT_EQ(CursorType(unknown), adOpenKeyset);
    const CComPtr<_Recordset> table = NewRecordset();
    ASSERT_HRESULT_SUCCEEDED(OpenRecordset(table, connection_, "order_lines", adOpenKeyset,
                                           adLockOptimistic, adCmdTable));
    EXPECT_EQ(Count(table), 877);
    const CComPtr<_Recordset> missing = NewRecordset();
    EXPECT_HRESULT_FAILED(
        OpenRecordset(missing, connection_, "nothing", adOpenKeyset, adLockOptimistic, adCmdTable));
    EXPECT_THAT(ErrorTexts(connection_), ::testing::HasSubstr("no such table"));
}

TEST_F(CursorTest, OpenFailsClearlyWithoutSourceOrConnection) {
    const CComPtr<_Recordset> recordset = NewRecordset();
    EXPECT_EQ(
        OpenRecordset(recordset, connection_, "", adOpenDynamic, adLockPessimistic, adCmdUnknown),
        adErrInvalidArgument);
    EXPECT_THAT(ErrorTexts(connection_), ::testing::HasSubstr("source is empty"));
    const CComPtr<_Connection> closed = NewConnection();
    EXPECT_EQ(OpenRecordset(recordset, closed, "SELECT 1"), adErrInvalidConnection);
    const CComVariant notAConnection(static_cast<IDispatch*>(NewRecordset().Get()));
    EXPECT_EQ(recordset->Open(CComVariant("SELECT 1"), notAConnection, adOpenKeyset,
                              adLockOptimistic, adCmdText),
              adErrInvalidConnection);
    EXPECT_HRESULT_FAILED(OpenRecordset(recordset, connection_, "UPDATE customers SET city = ''"));
    EXPECT_EQ(Scalar(connection_, "SELECT count(*) FROM customers WHERE city = ''"), 0);
    LONG state = adStateOpen;
    recordset->get_State(&state);
    EXPECT_EQ(state, adStateClosed);
}

TEST_F(CursorTest, ConnectionStringAsActiveConnectionGivesTheRecordsetItsOwnConnection) {
    const CComPtr<_Recordset> recordset = NewRecordset();
    ASSERT_HRESULT_SUCCEEDED(recordset->Open(CComVariant("SELECT * FROM products"),
                                             CComVariant(SqliteString(SampleDatabase())),
                                             adOpenKeyset, adLockOptimistic, adCmdText));
    EXPECT_EQ(Count(recordset), 60);
    EXPECT_HRESULT_SUCCEEDED(recordset->Close());
}

TEST_F(CursorTest, MovesStopAtBothEndsWithBofAndEof) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM customers WHERE customer_id <= 3 ORDER BY customer_id");
    EXPECT_FALSE(AtBof(recordset));
    EXPECT_EQ(IntValue(recordset, "customer_id"), 1);
    ASSERT_HRESULT_SUCCEEDED(recordset->MovePrevious());
    EXPECT_TRUE(AtBof(recordset));
    EXPECT_FALSE(AtEof(recordset));
    CComVariant value;
    EXPECT_EQ(FieldOf(recordset, CComVariant("name"))->get_Value(&value), adErrNoCurrentRecord);
    EXPECT_EQ(recordset->MovePrevious(), adErrNoCurrentRecord);
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    EXPECT_EQ(IntValue(recordset, "customer_id"), 1);
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveLast());
    EXPECT_EQ(IntValue(recordset, "customer_id"), 3);
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    EXPECT_TRUE(AtEof(recordset));
    EXPECT_FALSE(AtBof(recordset));
    EXPECT_EQ(recordset->MoveNext(), adErrNoCurrentRecord);
    ASSERT_HRESULT_SUCCEEDED(recordset->MovePrevious());
    EXPECT_EQ(IntValue(recordset, "customer_id"), 3);
    EXPECT_EQ(Count(recordset), 3);
}

TEST_F(CursorTest, EmptyResultIsAtBofAndEofAtOnce) {
    for (const LONG cursor : {adOpenKeyset, adOpenStatic}) {
        const CComPtr<_Recordset> recordset =
            Query(connection_, "SELECT * FROM customers WHERE customer_id < 0", cursor);
        EXPECT_TRUE(AtBof(recordset));
        EXPECT_TRUE(AtEof(recordset));
        EXPECT_EQ(Count(recordset), 0);
        EXPECT_HRESULT_SUCCEEDED(recordset->MoveFirst());
        EXPECT_HRESULT_SUCCEEDED(recordset->MoveLast());
        EXPECT_TRUE(AtEof(recordset));
        CComVariant bookmark;
        EXPECT_EQ(recordset->get_Bookmark(&bookmark), adErrNoCurrentRecord);
    }
}

TEST_F(CursorTest, KeysetReadsRowsBeyondItsCacheInQueryOrder) {
    const CComPtr<_Recordset> keyset = Query(
        connection_, "SELECT line_id, quantity FROM order_lines ORDER BY quantity, line_id DESC");
    const CComPtr<_Recordset> snapshot = Query(
        connection_, "SELECT line_id, quantity FROM order_lines ORDER BY quantity, line_id DESC",
        adOpenStatic, adLockReadOnly);
    EXPECT_EQ(Column(keyset, "line_id"), Column(snapshot, "line_id"));
    ASSERT_HRESULT_SUCCEEDED(keyset->MoveLast());
    ASSERT_HRESULT_SUCCEEDED(snapshot->MoveLast());
    for (int i = 0; i < 877 && !AtBof(keyset); ++i) {
        ASSERT_EQ(IntValue(keyset, "line_id"), IntValue(snapshot, "line_id")) << i;
        ASSERT_HRESULT_SUCCEEDED(keyset->MovePrevious());
        ASSERT_HRESULT_SUCCEEDED(snapshot->MovePrevious());
    }
    EXPECT_TRUE(AtBof(snapshot));
}

TEST_F(CursorTest, MoveAndAbsolutePositionCountRecords) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products ORDER BY product_id");
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(9, Missing()));
    EXPECT_EQ(IntValue(recordset, "product_id"), 10);
    LONG position = 0;
    recordset->get_AbsolutePosition(&position);
    EXPECT_EQ(position, 10);
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(-3, Missing()));
    EXPECT_EQ(IntValue(recordset, "product_id"), 7);
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(2, CComVariant(adBookmarkFirst)));
    EXPECT_EQ(IntValue(recordset, "product_id"), 3);
    CComVariant third;
    ASSERT_HRESULT_SUCCEEDED(recordset->get_Bookmark(&third));
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(100, Missing()));
    EXPECT_TRUE(AtEof(recordset));
    EXPECT_EQ(recordset->Move(1, Missing()), adErrNoCurrentRecord);
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(0, third));
    EXPECT_EQ(IntValue(recordset, "product_id"), 3);
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(100, Missing()));
    recordset->get_AbsolutePosition(&position);
    EXPECT_EQ(position, adPosEOF);
    ASSERT_HRESULT_SUCCEEDED(recordset->put_AbsolutePosition(60));
    EXPECT_EQ(IntValue(recordset, "product_id"), 60);
    EXPECT_EQ(recordset->put_AbsolutePosition(61), adErrInvalidArgument);
}

TEST_F(CursorTest, BookmarksSurviveMovesUpdatesAddsAndDeletes) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM customers ORDER BY name");
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(20, Missing()));
    const std::string name = Text(recordset, "name");
    CComVariant marked;
    ASSERT_HRESULT_SUCCEEDED(recordset->get_Bookmark(&marked));

    ASSERT_HRESULT_SUCCEEDED(recordset->MoveLast());
    ASSERT_HRESULT_SUCCEEDED(recordset->put_Bookmark(marked));
    EXPECT_EQ(Text(recordset, "name"), name);

    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "city", CComVariant("Galway")));
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveFirst());
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "name", CComVariant("AAA first")));
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    CComVariant deleted;
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    ASSERT_HRESULT_SUCCEEDED(recordset->get_Bookmark(&deleted));
    ASSERT_HRESULT_SUCCEEDED(recordset->Delete(adAffectCurrent));
    ASSERT_HRESULT_SUCCEEDED(recordset->AddNew(Missing(), Missing()));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "customer_no", CComVariant("C99999")));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "name", CComVariant("New one")));
    for (const char* column : {"address", "city", "country"}) {
        ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, column, CComVariant("x")));
    }
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "credit_limit", CComVariant(100)));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "discount", CComVariant(0.0)));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "active", CComVariant(true)));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "created_at", CComVariant("2024-05-06 07:08:09")));
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    CComVariant added;
    ASSERT_HRESULT_SUCCEEDED(recordset->get_Bookmark(&added));
    EXPECT_EQ(IntValue(recordset, "customer_id"), 201);

    ASSERT_HRESULT_SUCCEEDED(recordset->put_Bookmark(marked));
    EXPECT_EQ(Text(recordset, "name"), name);
    EXPECT_EQ(Text(recordset, "city"), "Galway");
    ASSERT_HRESULT_SUCCEEDED(recordset->put_Bookmark(added));
    EXPECT_EQ(Text(recordset, "name"), "New one");
    ASSERT_HRESULT_SUCCEEDED(recordset->put_Bookmark(deleted));
    CComVariant value;
    EXPECT_EQ(FieldOf(recordset, CComVariant("name"))->get_Value(&value), adErrNoCurrentRecord);
    EXPECT_EQ(Count(recordset), 200);

    EXPECT_EQ(recordset->put_Bookmark(CComVariant(0.0)), adErrInvalidArgument);
    EXPECT_EQ(recordset->put_Bookmark(CComVariant(202.0)), adErrInvalidArgument);
    EXPECT_EQ(recordset->put_Bookmark(CComVariant("x")), adErrInvalidArgument);
}

TEST_F(CursorTest, MovesSkipDeletedRecords) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products WHERE product_id <= 4 ORDER BY product_id");
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    ASSERT_HRESULT_SUCCEEDED(recordset->Delete(adAffectCurrent));
    EXPECT_FALSE(AtEof(recordset));
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    EXPECT_EQ(IntValue(recordset, "product_id"), 3);
    ASSERT_HRESULT_SUCCEEDED(recordset->MovePrevious());
    EXPECT_EQ(IntValue(recordset, "product_id"), 1);
    // Rows deleted by someone else are skipped too, once the cursor reads them again.
    const CComPtr<_Connection> other = Connect(SqliteString(folder_.File("sample.db")));
    ASSERT_HRESULT_SUCCEEDED(Execute(other, "DELETE FROM products WHERE product_id = 4"));
    const CComPtr<_Recordset> fresh =
        Query(connection_, "SELECT * FROM products WHERE product_id <= 4 ORDER BY product_id");
    ASSERT_HRESULT_SUCCEEDED(fresh->MoveLast());
    EXPECT_EQ(IntValue(fresh, "product_id"), 3);
    EXPECT_EQ(Count(fresh), 2);
}

struct MoveCase {
    std::string name;
    LONG records;
    std::string lands;  // from the fifth customer: "BOF", "EOF" or a customer_id
};

void PrintTo(const MoveCase& row, std::ostream* out) {
    *out << row.name;
}

class MoveCountTest : public SampleDataTest<MoveCase> {};

TEST_P(MoveCountTest, EveryCountLandsOnARecordOrAtAnEnd) {
    const CComPtr<_Recordset> customers =
        Query(connection_, "SELECT * FROM customers ORDER BY customer_id");
    ASSERT_HRESULT_SUCCEEDED(customers->Move(4, Missing()));
    ASSERT_HRESULT_SUCCEEDED(customers->Move(Row().records, Missing()));
    EXPECT_EQ(Where(customers, "customer_id"), Row().lands);
}

INSTANTIATE_TEST_SUITE_P(
    EachCount, MoveCountTest,
    OnEachProvider<MoveCase>({{"IntMin", std::numeric_limits<LONG>::min(), "BOF"},
                              {"IntMinPlusOne", std::numeric_limits<LONG>::min() + 1, "BOF"},
                              {"MinusFive", -5, "BOF"},
                              {"MinusFour", -4, "1"},
                              {"MinusOne", -1, "4"},
                              {"Zero", 0, "5"},
                              {"One", 1, "6"},
                              {"IntMax", std::numeric_limits<LONG>::max(), "EOF"}}),
    ProviderCaseName<MoveCase>);

// Walks that read no field tell records deleted by someone else by their keys alone, on both
// sides of a chunk of keys and in a chunk where none is gone, in key order and out of it.
struct DeletedElsewhereCase {
    std::string name;
    std::string order;
    LONG expected;  // the id of the 2048th record left
};

void PrintTo(const DeletedElsewhereCase& row, std::ostream* out) {
    *out << row.name;
}

class DeletedElsewhereTest : public SampleDataTest<DeletedElsewhereCase> {
  protected:
    void TearDown() override {
        if (connection_ != nullptr) {
            Execute(connection_, "DROP TABLE IF EXISTS " + table_);
        }
    }

    CComPtr<_Connection> Other() {
        return std::get<0>(GetParam()) == Provider::PostgreSQL
                   ? Connect(ServerString())
                   : Connect(SqliteString(folder_.File("sample.db")));
    }

    std::string table_ = "qor_walk_test_" + std::to_string(getpid());
};

TEST_P(DeletedElsewhereTest, StepsSkipThemAndTheCountDropsByThem) {
    ASSERT_HRESULT_SUCCEEDED(Execute(connection_, "DROP TABLE IF EXISTS " + table_));
    ASSERT_HRESULT_SUCCEEDED(Execute(
        connection_, "CREATE TABLE " + table_ + " (id integer PRIMARY KEY, name varchar(20))"));
    ASSERT_HRESULT_SUCCEEDED(Execute(connection_,
                                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                     "SELECT i + 1 FROM n WHERE i < 5000) INSERT "
                                     "INTO " +
                                         table_ + " SELECT i, 'r' || i FROM n"));
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM " + table_ + " ORDER BY " + Row().order);
    ASSERT_HRESULT_SUCCEEDED(
        Execute(Other(), "DELETE FROM " + table_ + " WHERE id IN (2, 2049, 2050, 2999, 3000)"));
    int forward = 0;
    for (; !AtEof(recordset); ++forward) {
        ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    }
    EXPECT_EQ(forward, 4995);
    EXPECT_EQ(Count(recordset), 4995);
    int back = 0;
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveLast());
    for (; !AtBof(recordset); ++back) {
        ASSERT_HRESULT_SUCCEEDED(recordset->MovePrevious());
    }
    EXPECT_EQ(back, 4995);
    // A record reached by steps alone still reads its fields.
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveFirst());
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(2047, Missing()));
    EXPECT_EQ(IntValue(recordset, "id"), Row().expected);
}

INSTANTIATE_TEST_SUITE_P(EachOrder, DeletedElsewhereTest,
                         OnEachProvider<DeletedElsewhereCase>({{"KeyOrder", "id", 2051},
                                                               {"NameOrder", "name DESC", 3656}}),
                         ProviderCaseName<DeletedElsewhereCase>);

}  // namespace
