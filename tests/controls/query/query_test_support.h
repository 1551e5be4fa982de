// The query list as a host drives it: the module registered into a registry of the test's own,
// the control created by ProgID inside a container window and invoked by dispatch id and by
// name, over a table of the test's own on either provider; its state read through the class
// the module is built from.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/query/query_ctrl.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/testing/input.h"
#include "platform/ui/ole_object.h"
#include "tests/controls/common/control_state.h"
#include "tests/controls/common/data_test_support.h"
#include "tests/platform/com/temp_registry.h"

inline constexpr const char* kQueryProgId = "QORQUERY.QORQueryCtrl.1";
inline constexpr COLORREF kWhite = 0x00FFFFFF;
inline constexpr COLORREF kBlack = 0x00000000;

// The list's state, seen by the tests of its layout and moves.
class QueryState : public CQORQueryCtrl {
  public:
    using CQORQueryCtrl::m_bottomBookmark;
    using CQORQueryCtrl::m_currentBookmark;
    using CQORQueryCtrl::m_currentSlot;
    using CQORQueryCtrl::m_recordset;
    using CQORQueryCtrl::m_rowHeight;
    using CQORQueryCtrl::m_scrollBar;
    using CQORQueryCtrl::m_scrollBarWidth;
    using CQORQueryCtrl::m_topBookmark;
    using CQORQueryCtrl::m_visibleRowCount;
    using CQORQueryCtrl::m_visibleRows;
    using CQORQueryCtrl::RepaintSlot;
};

inline bool RegisterQueryModule() {
    return RegisterModule(QOR_QUERY_MODULE);
}

// A table of the test's own on one provider: id (the key, 1 to rows), name "N<id>" in 8
// characters, order_no 100 + id, city "City <id>" in 12; dropped at the end.
struct QueryTable {
    QueryTable() = default;
    QueryTable(const QueryTable&) = delete;
    QueryTable& operator=(const QueryTable&) = delete;
    ~QueryTable() {
        connection.Release();
        if (!name.empty()) {
            static_cast<void>(Execute(setup, "DROP TABLE " + name));
        }
    }

    // False when the provider's server is not set, so the test is skipped.
    bool Choose(Provider chosen) {
        provider = chosen;
        connectionString = TestDatabase(provider, sample);
        return !connectionString.empty();
    }
    ::testing::AssertionResult Create(int rows, const std::string& prefix = "qry_") {
        if (!setup.Open(connectionString)) {
            return ::testing::AssertionFailure() << "the set-up connection does not open";
        }
        static int counter = 0;
        name = prefix + std::to_string(getpid()) + "_" + std::to_string(++counter);
        const std::string key =
            provider == Provider::PostgreSQL ? "integer PRIMARY KEY" : "INTEGER PRIMARY KEY";
        ::testing::AssertionResult made =
            Execute(setup, "CREATE TABLE " + name + " (id " + key +
                               ", name VARCHAR(8), order_no INTEGER, city VARCHAR(12))");
        for (int id = 1; made && id <= rows; ++id) {
            const std::string n = std::to_string(id);
            std::string insert = "INSERT INTO " + name;
            insert += " VALUES (" + n;
            insert += ", 'N" + n;
            insert += "', " + std::to_string(100 + id);
            insert += ", 'City " + n + "')";
            made = Execute(setup, insert);
        }
        if (made) {
            connection = OpenHostConnection(connectionString);
        }
        return made && connection ? made : ::testing::AssertionFailure() << "no table " << name;
    }
    std::string SelectAll() const { return "SELECT * FROM " + name + " ORDER BY id"; }

    Provider provider = Provider::SQLite;
    std::unique_ptr<SampleCopy> sample;
    std::string connectionString;
    CDataConnection setup;
    std::string name;
    CComPtr<_Connection> connection;
};

// A list of the given size in a container window.
class QueryHost : public CControlState<CQORQueryCtrl> {
  public:
    void Create(int width, int height) {
        ASSERT_TRUE(RegisterQueryModule());
        ASSERT_NO_FATAL_FAILURE(Show(kQueryProgId, width, height));
    }

    bool Bind(_Connection* connection, const std::string& sql) {
        CComPtr<IDispatch> dispatch;
        if (connection != nullptr) {
            ComQueryInterface(connection, dispatch);
        }
        return Bool("BindToDatabase", {CComVariant(dispatch.Get()), CComVariant(sql)});
    }
    // GetFieldValue: the text, or "(false)" when it answers false.
    std::string Field(const std::string& name) {
        CComVariant text("untouched");
        return Bool("GetFieldValue", {CComVariant(name), CComVariant::ByReference(&text)})
                   ? std::string(text.Text())
                   : "(false)";
    }
    // The ids MoveToFirstSelected and then `count - 1` MoveToNextSelected reach.
    std::vector<int> Walk(int count) {
        std::vector<int> ids;
        for (int i = 0; i < count; ++i) {
            if (!Bool(i == 0 ? "MoveToFirstSelected" : "MoveToNextSelected")) {
                ids.push_back(-1);
                continue;
            }
            ids.push_back(std::stoi(Field("id")));
        }
        return ids;
    }

    CWnd& Window() { return *window_; }
    // Paints what is pending.
    void Paint() { window_->UpdateWindow(); }
    COLORREF Pixel(int x, int y) { return ReadPixel(*window_, x, y); }
    // The id of the record a bookmark of the list stands for.
    int IdOf(const VARIANT& bookmark) {
        std::string text;
        if (!Member(&QueryState::m_recordset)->SetBookmark(bookmark) ||
            !Member(&QueryState::m_recordset)->GetFieldText("id", text)) {
            return -1;
        }
        return std::stoi(text);
    }
    int TopId() { return IdOf(Member(&QueryState::m_topBookmark)); }
    int CurrentId() { return IdOf(Member(&QueryState::m_currentBookmark)); }
    // The middle of a row slot.
    POINT SlotPoint(int slot) {
        const RECT& rect =
            Member(&QueryState::m_visibleRows).at(static_cast<std::size_t>(slot)).rect;
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    void CtrlClick(int slot) { SendClick(*window_, SlotPoint(slot), FCONTROL); }

    CComPtr<IDispatch>& Query() { return control_; }
};

// A list over a table of the test's own, on the test's provider.
class QueryProviderTest : public ::testing::TestWithParam<Provider> {
  protected:
    // A skip here, unlike one in a helper, keeps the test's body from running.
    void SetUp() override {
        if (!table_.Choose(GetParam())) {
            GTEST_SKIP() << kNoPostgresServer;
        }
    }

    // The list of that size bound to a table of that many rows.
    void BindTable(int rows, int width = 400, int height = 300) {
        ASSERT_TRUE(table_.Create(rows));
        ASSERT_NO_FATAL_FAILURE(host_.Create(width, height));
        ASSERT_TRUE(host_.Bind(table_.connection.Get(), table_.SelectAll()));
        host_.Paint();
    }

    CTempRegistry registry_;
    QueryTable table_;
    QueryHost host_;
};
