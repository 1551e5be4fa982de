// Thousands of random user actions in a grid bound to a PostgreSQL table: moves, page keys,
// typing, clicks, new rows and deletes, from a seed that is printed and can be set again. After
// every action that leaves a cell a connection of the checker's own reads the table back: it
// must hold every edit the clerk left and the rows added, none deleted and nothing else, and the
// grid's loaded rows must show what the table holds.
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "controls/grid/input_dialog_wnd.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "platform/ui/modal_loop.h"
#include "tests/controls/grid/grid_test_support.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define QOR_SOAK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QOR_SOAK_SANITIZED 1
#endif
#endif

// The sanitized build runs every action several times slower: it soaks with fewer, which still
// pass through every kind of action hundreds of times.
#ifdef QOR_SOAK_SANITIZED
constexpr int kDefaultActions = 2000;
#else
constexpr int kDefaultActions = 10000;
#endif
constexpr unsigned kDefaultSeed = 20261208;
constexpr int kInitialRecords = 120;
constexpr int kIdWidth = 40;
constexpr int kTextWidth = 120;
// Letters and digits only: the text columns take them all, and no blank is trimmed away.
constexpr std::string_view kTypedCharacters = "abcdefghijklmnopqrstuvwxyz0123456789";

unsigned EnvNumber(const char* name, unsigned fallback) {
    const std::string text = EnvironmentValue(name);
    return text.empty() ? fallback : static_cast<unsigned>(std::stoul(text));
}

struct Record {
    std::string name;
    std::string note;
    friend bool operator==(const Record&, const Record&) = default;
};
using Table = std::map<long, Record>;

std::string Describe(const Table& table) {
    std::ostringstream out;
    for (const auto& [id, record] : table) {
        out << id << ":" << record.name << "/" << record.note << " ";
    }
    return out.str();
}

class GridSoakTest : public GridTest {
  protected:
    void SetUp() override {
        if (!m_db.Choose(Provider::PostgreSQL)) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        ASSERT_NO_FATAL_FAILURE(GridTest::SetUp());
        ASSERT_TRUE(m_db.Create("qor_grid_soak_", "name VARCHAR(20), note VARCHAR(20)",
                                "(name, note) SELECT 'n' || g, 'm' || g FROM generate_series(1, " +
                                    std::to_string(kInitialRecords) + ") AS g",
                                true));
        InsertColumn("id", kIdWidth, false);
        InsertColumn("name", kTextWidth, true);
        InsertColumn("note", kTextWidth, true);
        ASSERT_TRUE(
            Bool("BindToDatabase", {CComVariant(m_db.connection.Get()),
                                    CComVariant("SELECT * FROM " + m_db.table + " ORDER BY id")}));
        ActivateWindow(container_);
        window_->SetFocus();
        m_expected = ReadTable();
        ASSERT_EQ(m_expected.size(), static_cast<std::size_t>(kInitialRecords));
    }
    void TearDown() override {
        SetModalLoopHook({});
        GridTest::TearDown();
    }

    void InsertColumn(const std::string& name, int width, bool editable) {
        CComVariant result;
        ASSERT_EQ(InvokeDispatch(control_.Get(), 1, DISPATCH_METHOD,
                                 {CComVariant(name), CComVariant(name), CComVariant(width),
                                  CComVariant(CodeOf(EditStyle::Text)), CComVariant(20),
                                  CComVariant(""), CComVariant(editable), CComVariant(true),
                                  CComVariant(static_cast<unsigned>(kBlack)),
                                  CComVariant(static_cast<unsigned>(kWhite))},
                                 &result),
                  S_OK);
    }

    // The table as the checker's connection reads it.
    Table ReadTable() {
        Table table;
        CDataRecordset rows(m_db.setup);
        if (!rows.Open("SELECT id, COALESCE(name, '') AS name, COALESCE(note, '') AS note FROM " +
                       m_db.table + " ORDER BY id")) {
            ADD_FAILURE() << "the table cannot be read";
            return table;
        }
        std::string id;
        std::string name;
        std::string note;
        for (bool more = rows.MoveFirst(); more; more = rows.MoveNext()) {
            rows.GetFieldText(0, id);
            rows.GetFieldText(1, name);
            rows.GetFieldText(2, note);
            table[std::stol(id)] = Record{name, note};
        }
        return table;
    }

    int CurrentRow() { return Long("GetCurrentRow"); }
    int CurrentColumn() { return Member(&GridState::m_currentColumn); }
    long IdOfRow(int row) {
        const std::string id = Item(row, CComVariant(0));
        return id.empty() || id == "-1" ? -1 : std::stol(id);
    }
    std::string RandomText(int most) {
        std::string text;
        const int length = Pick(1, most);
        for (int i = 0; i < length; ++i) {
            text += kTypedCharacters[static_cast<std::size_t>(
                Pick(0, static_cast<int>(kTypedCharacters.size()) - 1))];
        }
        return text;
    }
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    // One random action, described in the log; true when it is a point after which the grid has
    // written what it will write.
    bool Act() {
        const int roll = Pick(0, 99);
        if (roll < 30) {
            Type();
            return false;
        }
        if (roll < 38) {
            Backspaces();
            return false;
        }
        if (roll < 85) {
            MoveKey();
        } else if (roll < 93) {
            ClickCell();
        } else if (roll < 97) {
            AddRecord();
        } else {
            DeleteRecord();
        }
        return true;
    }

    void Type() {
        const std::string text = RandomText(3);
        Log("type " + text);
        TypeText(*window_, text);
        NoteTyping();
    }
    void Backspaces() {
        const int times = Pick(1, 4);
        Log("backspace x" + std::to_string(times));
        for (int i = 0; i < times; ++i) {
            SendKey(*window_, VK_BACK, 0, "\b");
        }
        NoteTyping();
    }
    // What the current cell shows now is what leaving it must store.
    void NoteTyping() {
        const int row = CurrentRow();
        const int col = CurrentColumn();
        if (row < 0 || col < 1 || col > 2) {
            return;
        }
        const long id = IdOfRow(row);
        const std::string text = Item(row, CComVariant(col));
        if (id < 0 || m_expected.count(id) == 0) {
            ADD_FAILURE() << "typed into a row of no record: " << id;
            return;
        }
        Record& record = m_expected[id];
        (col == 1 ? record.name : record.note) = text;
    }
    void MoveKey() {
        static constexpr std::array<std::pair<UINT, const char*>, 9> kKeys = {{
            {VK_UP, "up"},
            {VK_DOWN, "down"},
            {VK_PRIOR, "page up"},
            {VK_NEXT, "page down"},
            {VK_HOME, "home"},
            {VK_END, "end"},
            {VK_TAB, "tab"},
            {VK_TAB, "shift+tab"},
            {VK_DOWN, "down"},
        }};
        const std::size_t which = static_cast<std::size_t>(Pick(0, kKeys.size() - 1));
        Log(kKeys[which].second);
        SendKey(*window_, kKeys[which].first, which == 7 ? FSHIFT : 0);
    }
    void ClickCell() {
        const int row =
            Pick(0, Member(&GridState::m_lastVisibleRow) - Member(&GridState::m_firstVisibleRow));
        const int col = Pick(0, 2);
        const int x = col == 0 ? kIdWidth / 2 : kIdWidth + (col - 1) * kTextWidth + kTextWidth / 2;
        Log("click row " + std::to_string(row) + " column " + std::to_string(col));
        SendClick(*window_, POINT{x, kBodyTop + row * kGridRowHeight + kGridRowHeight / 2});
    }
    // The new-row window filled with random texts; the record added holds what it showed.
    void AddRecord() {
        Record typed;
        SetModalLoopHook([&](CWnd& shown) {
            auto& window = static_cast<CInputDialogWnd&>(shown);  // NOLINT: the module's class
            for (const InputField& field : window.GetFields()) {
                if (!field.editable) {
                    continue;
                }
                const RECT& line = field.lineRect;
                SendClick(window,
                          POINT{(line.left + line.right) / 2, (line.top + line.bottom) / 2});
                TypeText(window, RandomText(3));
            }
            window.GetValue("name", typed.name);
            window.GetValue("note", typed.note);
            const RECT ok = window.GetOkRect();
            SendClick(window, POINT{(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2});
            return true;
        });
        const int row = AddRow();
        SetModalLoopHook({});
        Log("add row " + typed.name + "/" + typed.note + " at " + std::to_string(row));
        const Table now = ReadTable();
        long added = -1;
        for (const auto& [id, record] : now) {
            if (m_expected.count(id) == 0) {
                EXPECT_EQ(added, -1) << "a second new record " << id;
                added = id;
            }
        }
        ASSERT_NE(added, -1) << "no record added";
        m_expected[added] = typed;
        EXPECT_EQ(IdOfRow(row), added) << "the new record's row is not current";
    }
    void DeleteRecord() {
        const int row = CurrentRow();
        const long id = IdOfRow(row);
        Log("delete row " + std::to_string(row) + " id " + std::to_string(id));
        if (Bool("DeleteCurrentRow")) {
            m_expected.erase(id);
        }
    }

    void Log(std::string line) {
        m_log.push_back(std::move(line));
        if (m_log.size() > 25) {
            m_log.pop_front();
        }
    }
    std::string Trail() const {
        std::string trail;
        for (const std::string& line : m_log) {
            trail += "\n  " + line;
        }
        return trail;
    }

    // The table holds what the clerk left, and the grid shows what the table holds.
    ::testing::AssertionResult Agree() {
        const Table stored = ReadTable();
        if (stored != m_expected) {
            return ::testing::AssertionFailure() << "the table holds " << Describe(stored)
                                                 << "\nbut the edits made " << Describe(m_expected);
        }
        for (std::size_t r = 0; r < Member(&GridState::m_rows).size(); ++r) {
            const int row = static_cast<int>(r);
            const long id = IdOfRow(row);
            const auto found = stored.find(id);
            if (found == stored.end()) {
                return ::testing::AssertionFailure() << "row " << row << " shows no record: " << id;
            }
            const Record shown{Item(row, CComVariant(1)), Item(row, CComVariant(2))};
            if (!(shown == found->second)) {
                return ::testing::AssertionFailure()
                       << "row " << row << " (id " << id << ") shows " << shown.name << "/"
                       << shown.note << ", the table " << found->second.name << "/"
                       << found->second.note;
            }
        }
        return ::testing::AssertionSuccess();
    }

    GridDatabase m_db;
    Table m_expected;
    std::mt19937 m_random;
    std::deque<std::string> m_log;
};

TEST_F(GridSoakTest, EveryEditLeftIsStoredAndNothingElse) {
    const unsigned seed = EnvNumber("QOR_SOAK_SEED", kDefaultSeed);
    const int actions = static_cast<int>(EnvNumber("QOR_SOAK_ACTIONS", kDefaultActions));
    std::cout << "grid soak: seed " << seed << " (QOR_SOAK_SEED), " << actions
              << " actions (QOR_SOAK_ACTIONS)\n";
    RecordProperty("seed", static_cast<int>(seed));
    m_random.seed(seed);
    ScopedScriptedDialogs dialogs;
    for (int action = 0; action < actions; ++action) {
        if (!Act()) {
            continue;
        }
        ASSERT_TRUE(dialogs->Shown().empty())
            << "action " << action << " (seed " << seed << ") showed \"" << dialogs->Shown()[0].text
            << "\"" << Trail();
        ASSERT_TRUE(Agree()) << "after action " << action << " (seed " << seed << ")" << Trail();
    }
}

}  // namespace
