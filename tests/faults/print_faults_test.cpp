// Every printing control printing to a PDF file that cannot be written whole (the file size
// limit reached, as on a full disk, or the full device itself), directly and after the print
// preview: the user is told, no partial file is left or taken for the document, and a file
// printed earlier under that name stays as it was.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <functional>

#include "platform/com/dispatch_call.h"
#include "platform/dialogs/print_dialog.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/ui/ole_object.h"
#include "tests/controls/common/data_test_support.h"
#include "tests/platform/com/temp_registry.h"
#include "tests/temp_folder.h"

namespace {

// A file size limit for the life of the object: a write past it fails (EFBIG) as a write to a
// full disk does (ENOSPC), instead of the signal ending the process.
class ScopedFileSizeLimit {
  public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        m_signal = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        ::signal(SIGXFSZ, m_signal);
    }
    bool Set() const { return m_set; }

  private:
    rlimit m_saved{};
    void (*m_signal)(int) = nullptr;
    bool m_set = false;
};

using Printing = std::function<void(IDispatch& control, _Connection& connection)>;

struct PrintingControl {
    const char* name;
    const char* module;
    const char* progId;
    Printing print;
};

void Invoke(IDispatch& control, const std::string& name,
            const std::vector<CComVariant>& args = {}) {
    CComVariant result;
    EXPECT_EQ(InvokeByName(&control, name, DISPATCH_METHOD, args, &result), S_OK) << name;
}

const std::vector<PrintingControl>& PrintingControls() {
    static const std::vector<PrintingControl> controls = {
        {"Grid", QOR_GRID_MODULE, "QORGRID.QORGridCtrl.1",
         [](IDispatch& grid, _Connection& connection) {
             Invoke(grid, "InsertColumn",
                    {CComVariant("name"), CComVariant("Name"), CComVariant(120), CComVariant(1),
                     CComVariant(40), CComVariant(""), CComVariant(true), CComVariant(true),
                     CComVariant(0U), CComVariant(0x00FFFFFFU)});
             Invoke(grid, "BindToDatabase",
                    {CComVariant(static_cast<IDispatch*>(&connection)),
                     CComVariant("SELECT name FROM customers")});
             Invoke(grid, "Print");
         }},
        {"Query", QOR_QUERY_MODULE, "QORQUERY.QORQueryCtrl.1",
         [](IDispatch& query, _Connection& connection) {
             Invoke(query, "BindToDatabase",
                    {CComVariant(static_cast<IDispatch*>(&connection)),
                     CComVariant("SELECT name, city FROM customers")});
             Invoke(query, "Print");
         }},
        {"Report", QOR_REPORT_MODULE, "QORREPORT.QORReportCtrl.1",
         [](IDispatch& report, _Connection& connection) {
             Invoke(report, "LoadReport", {CComVariant(QOR_SAMPLE_CUSTOMERS_REPORT)});
             Invoke(report, "BindReportToDatabase",
                    {CComVariant(static_cast<IDispatch*>(&connection))});
             Invoke(report, "BeginPrint");
             Invoke(report, "Print");
             Invoke(report, "EndPrint");
         }},
        {"Order", QOR_ORDER_MODULE, "QORORDER.QOROrderCtrl.1",
         [](IDispatch& order, _Connection& /*connection*/) {
             Invoke(order, "SetOrderNo", {CComVariant("A-1")});
             Invoke(order, "Print");
         }},
    };
    return controls;
}

enum class Target { FileSizeLimit, FullDevice };

struct PrintFault {
    const char* name;
    Target target;
    bool preview;
};

const std::vector<PrintFault> kPrintFaults = {
    {"DiskFull", Target::FileSizeLimit, false},
    {"DiskFullAfterThePreview", Target::FileSizeLimit, true},
    {"FullDevice", Target::FullDevice, false},
    {"FullDeviceAfterThePreview", Target::FullDevice, true},
};

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

bool IsCharacterDevice(const char* path) {
    struct stat status {};
    return ::stat(path, &status) == 0 && S_ISCHR(status.st_mode);
}

class PrintFaultTest : public ::testing::TestWithParam<std::tuple<PrintingControl, PrintFault>> {
  protected:
    void SetUp() override {
        const PrintingControl& control = std::get<0>(GetParam());
        ASSERT_TRUE(RegisterModule(control.module));
        UseClassRegistry();
        m_connection = OpenHostConnection(m_database.ConnectionString());
        ASSERT_TRUE(m_connection);
        ASSERT_TRUE(m_container.Create(nullptr, RECT{0, 0, 660, 520}));
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(control.progId, &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(
                      clsid, nullptr, CLSCTX_INPROC_SERVER, IDispatch::iid,
                      reinterpret_cast<void**>(m_control.ReleaseAndGetAddressOf())),  // NOLINT
                  S_OK);
        ASSERT_EQ(ComQueryInterface(m_control.Get(), m_ole), S_OK);
        ASSERT_EQ(m_ole->DoVerb(OLEIVERB_SHOW, &m_container, RECT{0, 0, 640, 500}), S_OK);
    }
    void TearDown() override {
        if (m_ole) {
            m_ole->Close();
        }
        m_ole.Release();
        m_control.Release();
        m_connection.Release();
        m_container.DestroyWindow();
        SetClassSource(nullptr);
        CoFreeUnusedLibraries();
    }

    // Prints to the path through the print dialog, and the preview when the fault asks for it.
    void PrintTo(ScopedScriptedDialogs& dialogs, const std::string& path) {
        const bool preview = std::get<1>(GetParam()).preview;
        dialogs->PushPrintToFile(path, PrinterPage::Letter(), preview);
        if (preview) {
            dialogs->PushButton(IDOK);
        }
        std::get<0>(GetParam()).print(*m_control.Get(), *m_connection.Get());
    }

    // The one loss the user was told of, naming the file.
    static void ExpectToldOnce(ScopedScriptedDialogs& dialogs, const std::string& path) {
        std::vector<const ShownDialog*> messages;
        for (const ShownDialog& shown : dialogs->Shown()) {
            if (shown.kind == ShownDialog::Kind::MessageBox) {
                messages.push_back(&shown);
            }
        }
        ASSERT_EQ(messages.size(), 1U);
        EXPECT_EQ(messages[0]->caption, kPrintFailureCaption);
        EXPECT_EQ(
            messages[0]->text.rfind("The document could not be written to '" + path + "': ", 0), 0U)
            << messages[0]->text;
    }

    CTempRegistry m_registry;
    SampleCopy m_database;
    CComPtr<_Connection> m_connection;
    CWnd m_container;
    CComPtr<IDispatch> m_control;
    CComPtr<IOleObject> m_ole;
};

TEST_P(PrintFaultTest, AnUnwrittenDocumentIsToldAndLeavesNoFileBehind) {
    const TempFolder folder;
    ScopedScriptedDialogs dialogs;
    if (std::get<1>(GetParam()).target == Target::FullDevice) {
        ASSERT_TRUE(IsCharacterDevice("/dev/full"));
        PrintTo(dialogs, "/dev/full");
        EXPECT_TRUE(IsCharacterDevice("/dev/full"));
        EXPECT_FALSE(std::filesystem::exists("/dev/full.part"));
        ExpectToldOnce(dialogs, "/dev/full");
        return;
    }
    const std::string earlier = folder.Write("out.pdf", "an earlier document");
    {
        const ScopedFileSizeLimit limit(1024);
        ASSERT_TRUE(limit.Set());
        PrintTo(dialogs, earlier);
    }
    EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::string>{"out.pdf"});
    EXPECT_EQ(Contents(earlier), "an earlier document");
    ExpectToldOnce(dialogs, earlier);
}

TEST_P(PrintFaultTest, TheSameDocumentPrintsWholeWhereItCanBeWritten) {
    const TempFolder folder;
    ScopedScriptedDialogs dialogs;
    const std::string path = folder.File("out.pdf");
    PrintTo(dialogs, path);
    EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::string>{"out.pdf"});
    EXPECT_EQ(Contents(path).rfind("%PDF-", 0), 0U);
    EXPECT_NE(Contents(path).find("%%EOF"), std::string::npos);
    for (const ShownDialog& shown : dialogs->Shown()) {
        EXPECT_NE(shown.kind, ShownDialog::Kind::MessageBox) << shown.text;
    }
}

std::string CaseName(
    const ::testing::TestParamInfo<std::tuple<PrintingControl, PrintFault>>& info) {
    return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Controls, PrintFaultTest,
                         ::testing::Combine(::testing::ValuesIn(PrintingControls()),
                                            ::testing::ValuesIn(kPrintFaults)),
                         CaseName);

}  // namespace
