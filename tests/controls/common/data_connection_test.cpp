// The connection holder: attached and owned connections, transactions and the provider
// messages of failures.
#include "controls/common/data_connection.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "controls/common/data_recordset.h"
#include "data_test_support.h"

namespace {

class DataConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host_ = OpenHostConnection(sample_.ConnectionString());
        ASSERT_TRUE(host_) << "the host's connection did not open";
    }

    SampleCopy sample_;
    CComPtr<_Connection> host_;
};

TEST_F(DataConnectionTest, AttachedConnectionIsUsedButNeverClosed) {
    {
        CDataConnection holder;
        ASSERT_TRUE(holder.Attach(host_));
        EXPECT_TRUE(holder.IsOpen());
        EXPECT_TRUE(holder.IsAttached());
        EXPECT_EQ(holder.GetConnection(), host_.Get());
        CDataRecordset recordset(holder);
        EXPECT_TRUE(recordset.Open("SELECT * FROM customers"));
        recordset.Close();
        holder.Close();
        EXPECT_FALSE(holder.IsOpen());
        EXPECT_FALSE(holder.IsAttached());
        EXPECT_EQ(StateOf(host_.Get()), adStateOpen);
        ASSERT_TRUE(holder.Attach(host_));
    }
    EXPECT_EQ(StateOf(host_.Get()), adStateOpen);
}

TEST_F(DataConnectionTest, OwnedConnectionIsClosedWhenTheHolderGoes) {
    CComPtr<_Connection> owned;
    {
        CDataConnection holder;
        ASSERT_TRUE(holder.Open(sample_.ConnectionString())) << LastErrorOf(holder);
        EXPECT_TRUE(holder.IsOpen());
        EXPECT_FALSE(holder.IsAttached());
        owned = holder.GetConnection();
        EXPECT_EQ(StateOf(owned.Get()), adStateOpen);
    }
    EXPECT_EQ(StateOf(owned.Get()), adStateClosed);
}

TEST_F(DataConnectionTest, AttachingReplacesAnOwnedConnectionAndClosesIt) {
    CDataConnection holder;
    ASSERT_TRUE(holder.Open(sample_.ConnectionString()));
    const CComPtr<_Connection> owned(holder.GetConnection());
    ASSERT_TRUE(holder.Attach(host_));
    EXPECT_EQ(StateOf(owned.Get()), adStateClosed);
    EXPECT_EQ(holder.GetConnection(), host_.Get());
    EXPECT_TRUE(holder.IsAttached());
}

TEST_F(DataConnectionTest, NoConnectionAttachedLeavesNothingToUse) {
    CDataConnection holder;
    EXPECT_TRUE(holder.Attach(nullptr));
    EXPECT_FALSE(holder.IsOpen());
    EXPECT_FALSE(holder.CommitTrans());
    EXPECT_FALSE(holder.BeginTrans());
    holder.Close();
    CDataRecordset recordset(holder);
    EXPECT_FALSE(recordset.Open("SELECT * FROM customers"));
}

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

TEST_F(DataConnectionTest, FailedComInitialisationGivesTheReferenceBack) {
    bool attached = true;
    bool open = true;
    ULONG before = 0;
    ULONG after = 0;
    std::thread([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CDataConnection holder;
        before = References(host_.Get());
        attached = holder.Attach(host_);
        after = References(host_.Get());
        open = holder.IsOpen();
        CoUninitialize();
    }).join();
    EXPECT_FALSE(attached);
    EXPECT_FALSE(open);
    EXPECT_EQ(after, before);
}

TEST_F(DataConnectionTest, FailedCallLeavesTheProvidersMessages) {
    CDataConnection holder;
    ASSERT_TRUE(holder.Attach(host_));
    EXPECT_FALSE(holder.CommitTrans());
    const std::string text = LastErrorOf(holder);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');

    CComPtr<Errors> errors;
    ASSERT_EQ(host_->get_Errors(errors.ReleaseAndGetAddressOf()), S_OK);
    LONG count = 0;
    ASSERT_EQ(errors->get_Count(&count), S_OK);
    std::string expected;
    std::string source;
    for (int i = 0; i < count; ++i) {
        CComPtr<Error> error;
        CComBSTR description;
        CComBSTR errorSource;
        ASSERT_EQ(errors->get_Item(Position(i), error.ReleaseAndGetAddressOf()), S_OK);
        error->get_Description(description.ReleaseAndGetAddressOf());
        error->get_Source(errorSource.ReleaseAndGetAddressOf());
        expected += description.ToString() + "\n";
        source = errorSource.ToString();
    }
    EXPECT_EQ(text, expected);
    std::string lastSource;
    holder.GetLastErrorSource(lastSource);
    EXPECT_EQ(lastSource, source);
}

TEST_F(DataConnectionTest, FailedOpensLeaveTheProvidersMessages) {
    CDataConnection holder;
    ASSERT_TRUE(holder.Attach(host_));
    CDataRecordset recordset(holder);
    EXPECT_FALSE(recordset.Open("SELECT * FROM no_such_table"));
    EXPECT_NE(LastErrorOf(holder).find("no_such_table"), std::string::npos) << LastErrorOf(holder);

    EXPECT_FALSE(holder.Open("Provider=SQLite;Data Source=/nonexistent/folder/none.db"));
    EXPECT_FALSE(holder.IsOpen());
    EXPECT_EQ(holder.GetConnection(), nullptr);
    EXPECT_EQ(StateOf(host_.Get()), adStateOpen);
    const std::string text = LastErrorOf(holder);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
}

}  // namespace
