// Preview mode on a database: the columns filled from the record source, the record keys,
// every typed change written at once inside the preview's transaction, Save committing it,
// and leaving preview or closing the window rolling back what was not committed.
#include <gtest/gtest.h>

#include <memory>

#include "controls/common/data_recordset.h"
#include "designer/record_source_dlg.h"
#include "designer/record_source_file.h"
#include "platform/dialogs/dialog_driver.h"
#include "preview_test_support.h"
#include "tests/controls/common/data_test_support.h"

namespace {

// A second connection on the same database, which sees only what was committed.
class Observer {
  public:
    explicit Observer(const std::string& connectionString) {
        EXPECT_TRUE(connection.Attach(OpenHostConnection(connectionString)));
    }
    // The field of the record that the query gives first (last, with fromEnd).
    std::string Text(const std::string& sql, const std::string& field, bool fromEnd = false) {
        CDataRecordset recordset(connection);
        std::string text;
        if (!recordset.Open(sql) || (fromEnd && !recordset.MoveLast()) ||
            !recordset.GetFieldText(field, text)) {
            return "<unreadable>";
        }
        return text;
    }

    CDataConnection connection;
};

class PreviewDataTest : public ::testing::TestWithParam<Provider> {
  protected:
    void SetUp() override {
        connectionString = TestDatabase(GetParam(), sample);
        if (connectionString.empty()) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        sources = std::make_unique<ScopedDataSources>(connectionString);
        observer = std::make_unique<Observer>(connectionString);
        table = std::make_unique<OwnTable>(observer->connection, GetParam());
        ASSERT_TRUE(table->Created());
        view = std::make_unique<PreviewFrame>();
        view->Add(PreviewColumn("NAME", 1, RECT{100, 20, 300, 43}));
        view->Add(PreviewColumn("Note", 2, RECT{100, 60, 300, 83}));
        DesignItem unbound = PreviewColumn("NOSUCHFIELD", 3, RECT{100, 100, 300, 123});
        unbound.text = "kept";
        view->Add(unbound);
        view->SetRecordSource(table->SelectAll());
    }

    std::string Committed(const std::string& field = "name") {
        return observer->Text(table->SelectAll(), field);
    }
    CMainFrame& Frame() { return view->frame; }

    ScopedScriptedDialogs dialogs;
    std::unique_ptr<SampleCopy> sample;
    std::string connectionString;
    std::unique_ptr<ScopedDataSources> sources;
    std::unique_ptr<Observer> observer;
    std::unique_ptr<OwnTable> table;
    // Goes before the table is dropped, so that its transaction holds no lock on it then.
    std::unique_ptr<PreviewFrame> view;
};

}  // namespace

TEST_P(PreviewDataTest, ChangesAreSeenElsewhereOnlyAfterSaveAndUndoneByLeaving) {
    ASSERT_TRUE(view->TogglePreview());
    ASSERT_TRUE(dialogs->Shown().empty()) << dialogs->Shown()[0].text;
    ASSERT_TRUE(Frame().Preview().IsConnected());
    EXPECT_EQ(view->Named("NAME").text, "O'Brien");
    EXPECT_EQ(view->Named("Note").text, "padded text");  // trimmed, matched without case
    EXPECT_EQ(view->Named("NOSUCHFIELD").text, "kept");

    TypeText(Frame(), "s");
    EXPECT_EQ(view->Named("NAME").text, "O'Briens");
    EXPECT_EQ(Committed(), "O'Brien");

    ASSERT_TRUE(ClickMenuItem(Frame(), ID_FILE_SAVE));
    EXPECT_TRUE(dialogs->Shown().empty());
    EXPECT_EQ(Committed(), "O'Briens");

    // The next transaction runs on: this change is written, then undone by leaving preview.
    SendKey(Frame(), VK_BACK, 0, "\b");
    SendKey(Frame(), VK_BACK, 0, "\b");
    TypeText(Frame(), "X");
    EXPECT_EQ(view->Named("NAME").text, "O'BrieX");
    ASSERT_TRUE(view->TogglePreview());
    EXPECT_FALSE(Frame().Preview().IsConnected());
    EXPECT_EQ(Committed(), "O'Briens");
    // The column keeps the last text shown until the next switch-on fills it again.
    EXPECT_EQ(view->Named("NAME").text, "O'BrieX");
    ASSERT_TRUE(view->TogglePreview());
    EXPECT_EQ(view->Named("NAME").text, "O'Briens");
}

TEST_P(PreviewDataTest, ClosingTheWindowRollsBack) {
    ASSERT_TRUE(view->TogglePreview());
    SendKey(Frame(), VK_TAB);
    TypeText(Frame(), "y");
    EXPECT_EQ(view->Named("Note").text, "padded texty");
    SendClose(Frame());
    EXPECT_FALSE(Frame().Preview().IsConnected());
    EXPECT_EQ(Committed("note"), "padded text");
}

TEST_P(PreviewDataTest, RecordKeysRefillAndMayRunBeyondEitherEnd) {
    ASSERT_TRUE(view->TogglePreview());
    SendKey(Frame(), VK_NEXT);
    EXPECT_EQ(view->Named("NAME").text, "Müller");
    EXPECT_EQ(view->Named("Note").text, "");  // NULL shows as empty text
    SendKey(Frame(), VK_END);
    EXPECT_EQ(view->Named("NAME").text, "Plain");
    // Past the last record no fields can be read: the columns keep what they show, typing
    // changes the column but writes nothing, and the first Page Up comes back to the last record.
    SendKey(Frame(), VK_NEXT);
    EXPECT_EQ(view->Named("NAME").text, "Plain");
    TypeText(Frame(), "Z");
    EXPECT_EQ(view->Named("NAME").text, "PlainZ");
    SendKey(Frame(), VK_NEXT);
    SendKey(Frame(), VK_PRIOR);
    EXPECT_EQ(view->Named("NAME").text, "Plain");
    SendKey(Frame(), VK_PRIOR);
    EXPECT_EQ(view->Named("NAME").text, "Müller");
    SendKey(Frame(), VK_HOME);
    EXPECT_EQ(view->Named("NAME").text, "O'Brien");
    SendKey(Frame(), VK_PRIOR);
    SendKey(Frame(), VK_NEXT);
    EXPECT_EQ(view->Named("NAME").text, "O'Brien");
    EXPECT_TRUE(dialogs->Shown().empty());
    ASSERT_TRUE(ClickMenuItem(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(observer->Text(table->SelectAll(), "name", true), "Plain");
}

TEST_P(PreviewDataTest, NewKeepsTheConnectionForTheNextSwitchOn) {
    ASSERT_TRUE(view->TogglePreview());
    TypeText(Frame(), "q");
    ASSERT_TRUE(ClickMenuItem(Frame(), ID_FILE_NEW));
    EXPECT_FALSE(Frame().Preview().IsOn());
    EXPECT_TRUE(Frame().Preview().IsConnected());
    DesignItem unfilled = PreviewColumn("name", 1, RECT{100, 20, 300, 43});
    unfilled.text = "unfilled";
    view->Add(unfilled);
    ASSERT_TRUE(view->TogglePreview());
    EXPECT_TRUE(dialogs->Shown().empty());
    EXPECT_EQ(view->Named("name").text, "unfilled");
    SendKey(Frame(), VK_HOME);
    EXPECT_EQ(view->Named("name").text, "O'Brienq");
    ASSERT_TRUE(ClickMenuItem(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(Committed(), "O'Brienq");
}

TEST_P(PreviewDataTest, ADateIsTypedInTheMasksLayoutAndKeepsItsTimeOfDay) {
    DesignItem stamp = PreviewColumn("stamp", 0, RECT{100, 140, 300, 163}, 3);
    stamp.mask = "##/##/####";
    view->Add(stamp);
    ASSERT_TRUE(view->TogglePreview());
    EXPECT_EQ(view->Named("stamp").text, "03/05/2024");
    const auto committed = [&] {
        return observer->Text(
            "SELECT CAST(stamp AS TEXT) AS s FROM " + table->Name() + " WHERE id = 1", "s");
    };
    SendKey(Frame(), VK_BACK, 0, "\b");
    ASSERT_TRUE(ClickMenuItem(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(committed(), "2024-03-05 17:45:00");
    for (int i = 0; i < 3; ++i) {
        SendKey(Frame(), VK_BACK, 0, "\b");
    }
    TypeText(Frame(), "2020");
    ASSERT_TRUE(ClickMenuItem(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(committed(), "2020-03-05 17:45:00");

    // An incomplete date gives way to the record's value when the field is left.
    SendKey(Frame(), VK_BACK, 0, "\b");
    EXPECT_EQ(view->Named("stamp").text, "03/05/202");
    SendKey(Frame(), VK_TAB);
    EXPECT_EQ(view->Named("stamp").text, "03/05/2020");
    EXPECT_TRUE(dialogs->Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Providers, PreviewDataTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

// The whole round on the sample customers, with the record source chosen in its dialog and kept
// beside the design.
TEST(PreviewCustomers, RecordSourceFromItsDialogPagesEditsCommitsAndRollsBack) {
    ScopedScriptedDialogs dialogs;
    const SampleCopy sample;
    const ScopedDataSources sources(sample.ConnectionString());
    Observer observer(sample.ConnectionString());
    const std::string customers = "SELECT * FROM customers";
    const auto design = std::filesystem::temp_directory_path() /
                        ("qorform_customers_" + std::to_string(getpid()) + ".qor");
    {
        PreviewFrame view;
        view.Add(PreviewColumn("name", 1, RECT{100, 20, 300, 43}));
        view.Add(PreviewColumn("city", 2, RECT{100, 60, 300, 83}));
        std::string shownSource;
        dialogs->PushDialog([&](CDialogDriver& driver) {
            shownSource = driver.Text(IDC_DATA_SOURCE);
            driver.SetText(IDC_RECORD_SOURCE, "  " + customers + " ");
        });
        ASSERT_TRUE(ClickMenuItem(view.frame, ID_FORM_RECORDSOURCE));
        EXPECT_EQ(shownSource, "qorform");
        EXPECT_EQ(view.frame.Document().RecordSource(), customers);
        dialogs->PushFile(design.string());
        ASSERT_TRUE(ClickMenuItem(view.frame, ID_FILE_SAVE));
    }
    EXPECT_EQ(ReadRecordSource(design.string()), customers);

    PreviewFrame view;
    OpenDesignPath(view.frame, design.string());
    EXPECT_EQ(view.frame.Document().RecordSource(), customers);
    dialogs->ClearShown();
    ASSERT_TRUE(view.TogglePreview());
    ASSERT_TRUE(dialogs->Shown().empty()) << dialogs->Shown()[0].text;
    EXPECT_FALSE(view.frame.QueryCommand(ID_FORM_RECORDSOURCE).IsEnabled());
    EXPECT_EQ(view.Named("name").text, "Seán O'Brien");
    EXPECT_EQ(view.Named("city").text, "Dublin");
    SendKey(view.frame, VK_NEXT);
    EXPECT_EQ(view.Named("name").text, "Jürgen Müller");
    EXPECT_EQ(view.Named("city").text, "München");
    SendKey(view.frame, VK_END);
    EXPECT_EQ(view.Named("name").text, observer.Text(customers, "name", true));
    SendKey(view.frame, VK_HOME);

    SendKey(view.frame, VK_BACK, 0, "\b");
    TypeText(view.frame, "N");
    ASSERT_TRUE(ClickMenuItem(view.frame, ID_FILE_SAVE));
    TypeText(view.frame, "X");
    EXPECT_EQ(observer.Text(customers, "name"), "Seán O'BrieN");
    ASSERT_TRUE(view.TogglePreview());
    EXPECT_EQ(observer.Text(customers, "name"), "Seán O'BrieN");
    EXPECT_TRUE(view.frame.QueryCommand(ID_FORM_RECORDSOURCE).IsEnabled());

    // New forgets the record source; Save without one leaves no file beside the design.
    ASSERT_TRUE(ClickMenuItem(view.frame, ID_FILE_NEW));
    EXPECT_EQ(view.frame.Document().RecordSource(), "");
    dialogs->PushFile(design.string());
    ASSERT_TRUE(ClickMenuItem(view.frame, ID_FILE_SAVE));
    EXPECT_FALSE(std::filesystem::exists(RecordSourcePath(design.string())));
    std::filesystem::remove(design);
}

TEST(PreviewCustomers, AWriteTheDatabaseRefusesShowsTheRecordsValueWithABeep) {
    ScopedScriptedDialogs dialogs;
    const SampleCopy sample;
    const ScopedDataSources sources(sample.ConnectionString());
    Observer observer(sample.ConnectionString());
    PreviewFrame view;
    view.Add(PreviewColumn("city", 1, RECT{100, 20, 300, 43}));
    view.SetRecordSource("SELECT * FROM customers");
    ASSERT_TRUE(view.TogglePreview());
    ASSERT_TRUE(observer.connection.BeginTrans());
    ASSERT_TRUE(Execute(observer.connection, "UPDATE customers SET city = city"));
    const unsigned beeps = MessageBeepCount();
    TypeText(view.frame, "XY");
    EXPECT_EQ(MessageBeepCount(), beeps + 2);
    EXPECT_EQ(view.Named("city").text, "Dublin");
    ASSERT_TRUE(observer.connection.RollbackTrans());
    TypeText(view.frame, "Z");
    EXPECT_EQ(view.Named("city").text, "DublinZ");
    EXPECT_EQ(MessageBeepCount(), beeps + 2);
}

// A value longer than a column's record field is cut at a character boundary when the design
// is saved, and the design reads back whole.
TEST(PreviewCustomers, AFilledValueLongerThanItsFieldIsCutWhenSaved) {
    ScopedScriptedDialogs dialogs;
    const SampleCopy sample;
    const ScopedDataSources sources(sample.ConnectionString());
    Observer observer(sample.ConnectionString());
    std::string value = "a";
    for (int i = 0; i < 150; ++i) {
        value += "ü";  // two bytes each: byte 254 falls inside a character
    }
    ASSERT_TRUE(Execute(observer.connection,
                        "UPDATE customers SET address = '" + value + "' WHERE customer_id = 1"));
    const auto design = std::filesystem::temp_directory_path() /
                        ("qorform_long_" + std::to_string(getpid()) + ".qor");
    {
        PreviewFrame view;
        view.Add(PreviewColumn("address", 1, RECT{100, 20, 300, 43}));
        view.Add(PreviewColumn("city", 2, RECT{100, 60, 300, 83}));
        view.SetRecordSource("SELECT * FROM customers");
        ASSERT_TRUE(view.TogglePreview());
        EXPECT_EQ(view.Named("address").text, value);
        ASSERT_TRUE(view.TogglePreview());
        dialogs->PushFile(design.string());
        ASSERT_TRUE(ClickMenuItem(view.frame, ID_FILE_SAVE));
    }
    PreviewFrame view;
    OpenDesignPath(view.frame, design.string());
    ASSERT_EQ(view.frame.Document().GetDesign().Items().size(), 2U);
    EXPECT_EQ(view.Named("address").text, value.substr(0, 253));
    EXPECT_EQ(view.Named("city").text, "Dublin");
    std::filesystem::remove(design);
    std::filesystem::remove(RecordSourcePath(design.string()));
}
