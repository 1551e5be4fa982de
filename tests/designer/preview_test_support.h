// Shared pieces of the preview tests: a frame with a new design of the test's columns, and a
// data-source file whose "qorform" entry points where the test wants.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "designer/main_frame.h"
#include "designer/resources.h"
#include "designer_test_support.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

inline DesignItem PreviewColumn(const std::string& name, std::int32_t tabOrder, RECT rect,
                                std::int32_t editStyle = 1) {
    DesignItem item;
    item.kind = kColumn;
    item.name = name;
    item.tabOrder = tabOrder;
    item.rect = rect;
    item.editStyle = editStyle;
    item.backColor = 0x00FFFFFF;
    item.border = true;
    return item;
}

// Points QOR_DATASOURCES at a file of the test's own for the life of the object. The entry
// "qorform" takes the pairs of the connection string, one a line; without one the file has no
// such entry.
class ScopedDataSources {
  public:
    explicit ScopedDataSources(const std::string& connectionString = {}) {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("qorform_sources_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
        std::ofstream out(path_);
        out << "[other]\nProvider=SQLite\nData Source=/nonexistent.db\n";
        if (!connectionString.empty()) {
            out << "[qorform]\n";
            std::istringstream pairs(connectionString);
            for (std::string pair; std::getline(pairs, pair, ';');) {
                out << pair << '\n';
            }
        }
        if (const char* old = std::getenv("QOR_DATASOURCES")) {  // NOLINT(concurrency-mt-unsafe)
            saved_ = old;
        }
        setenv("QOR_DATASOURCES", path_.c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
    }
    ScopedDataSources(const ScopedDataSources&) = delete;
    ScopedDataSources& operator=(const ScopedDataSources&) = delete;
    ~ScopedDataSources() {
        if (saved_) {
            setenv("QOR_DATASOURCES", saved_->c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
        } else {
            unsetenv("QOR_DATASOURCES");  // NOLINT(concurrency-mt-unsafe)
        }
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

  private:
    std::filesystem::path path_;
    std::optional<std::string> saved_;
};

// A shown frame holding a new design.
class PreviewFrame {
  public:
    PreviewFrame() {
        RegisterDesignerResources();
        EXPECT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        frame.ShowWindow(SW_SHOWNORMAL);
        EXPECT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    }

    void Add(const DesignItem& item) { AddItem(frame, item); }
    // Opens the design again with the query preview mode opens.
    void SetRecordSource(const std::string& recordSource) {
        OpenList(frame, frame.Document().Items(), recordSource);
    }
    const DesignItem& Item(int index) {
        return frame.Document().Items()[static_cast<size_t>(index)];
    }
    // The item with the name, which the tests keep unique.
    const DesignItem& Named(const std::string& name) {
        for (const DesignItem& item : frame.Document().Items()) {
            if (item.name == name) {
                return item;
            }
        }
        ADD_FAILURE() << "no item " << name;
        return frame.Document().Items().front();
    }
    const std::string& Current() { return Item(frame.Preview().CurrentField()).name; }
    bool TogglePreview() { return ClickMenuItem(frame, ID_FORM_PREVIEW); }

    CMainFrame frame;
};
