// The connection object of Qt programs: made, opened on the sample database and handed to the
// grid in a few lines; a data source that cannot be opened says why.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "embed/qor_connection_qt.h"
#include "embed/qor_control_qt.h"
#include "tests/embed/embed_test_support.h"

using ::testing::HasSubstr;

using ConnectionTest = RegisteredControls;

TEST_F(ConnectionTest, AnOpenConnectionIsHandedToTheGrid) {
    for (const bool barePath : {false, true}) {
        SCOPED_TRACE(barePath ? "a bare file path" : "a connection string");
        const QString file = QString::fromStdString(SampleCopy());
        QorConnection connection;
        ASSERT_FALSE(connection.isNull()) << connection.lastError().toStdString();
        EXPECT_FALSE(connection.isOpen());
        ASSERT_TRUE(connection.open(barePath ? file : QorConnection::sqliteConnectionString(file)))
            << connection.lastError().toStdString();
        EXPECT_TRUE(connection.isOpen());

        QorControl grid("QORGrid.QORGridCtrl.1");
        grid.dynamicCall("InsertColumn", {"name", "Name", 120, 1, 40, "", true, true, 0, 0xFFFFFF});
        EXPECT_EQ(grid.dynamicCall("BindToDatabase",
                                   {connection.toVariant(), "SELECT name FROM customers"}),
                  QVariant(true))
            << grid.lastError().toStdString();
        QVariantList count;
        grid.dynamicCall("GetRowCount", count);
        EXPECT_GT(count.value(0).toInt(), 0);
        connection.close();
        EXPECT_FALSE(connection.isOpen());
    }
}

TEST_F(ConnectionTest, ADataSourceThatCannotBeOpenedSaysWhy) {
    QorConnection connection;
    EXPECT_FALSE(connection.open("Provider=NoSuchProvider;Data Source=x"));
    EXPECT_THAT(connection.lastError().toStdString(), HasSubstr("Open: "));
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(connection.open(QString::fromStdString(folder.File("missing/dir/none.db"))));
    EXPECT_FALSE(connection.isOpen());
}

TEST_F(ConnectionTest, SelectGivesTheRecordsAsMapsOrTheReason) {
    QorConnection connection;
    ASSERT_TRUE(connection.open(QString::fromStdString(SampleCopy())));
    const QList<QVariantMap> rows =
        connection.select("SELECT customer_no, credit_limit FROM customers ORDER BY customer_no");
    ASSERT_GT(rows.size(), 1);
    EXPECT_EQ(rows.front()["customer_no"], QVariant("C00001"));
    EXPECT_TRUE(rows.front()["credit_limit"].canConvert<double>());
    EXPECT_TRUE(connection.lastError().isEmpty());
    EXPECT_TRUE(connection.select("SELECT * FROM no_such_table").isEmpty());
    EXPECT_THAT(connection.lastError().toStdString(), HasSubstr("select: "));
}

TEST_F(ConnectionTest, StatementsRunInsideTransactionsThatCommitOrRollBack) {
    QorConnection connection;
    ASSERT_TRUE(connection.open(QString::fromStdString(SampleCopy())));
    const auto city = [&connection] {
        return connection.select("SELECT city FROM customers WHERE customer_id = 1")
            .front()["city"]
            .toString();
    };
    const QString before = city();
    const struct {
        const char* name;
        bool keep;
        QString expected;
    } cases[] = {{"rolled back", false, before}, {"committed", true, "Galway"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(connection.beginTransaction()) << connection.lastError().toStdString();
        ASSERT_TRUE(
            connection.execute("UPDATE customers SET city = 'Galway' WHERE customer_id = 1"))
            << connection.lastError().toStdString();
        ASSERT_TRUE(c.keep ? connection.commit() : connection.rollback());
        EXPECT_EQ(city(), c.expected);
    }
    EXPECT_FALSE(connection.execute("UPDATE no_such_table SET x = 1"));
    EXPECT_THAT(connection.lastError().toStdString(), HasSubstr("Execute: "));
}
