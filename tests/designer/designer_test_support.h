// Shared pieces of the designer tests: opening a list of items as a design through a file, as
// a user would open one.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "designer/main_frame.h"
#include "designer/record_source_file.h"
#include "designer/resources.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

// Writes the list to a design file in the order that reads back as this very list, with the
// record source beside it, opens it through the frame and removes the files again. The frame
// then holds the list unchanged and with no history. The list must follow the ordering rule
// (texts, columns and lines before every frame).
// The designer's main frame shown, with a new design open unless told otherwise.
inline void ShowFrame(CMainFrame& frame, bool newDesign = true) {
    RegisterDesignerResources();
    ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    frame.ShowWindow(SW_SHOWNORMAL);
    if (newDesign) {
        ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    }
}

inline void OpenList(CMainFrame& frame, const std::vector<DesignItem>& list,
                     const std::string& recordSource = {}) {
    static std::atomic<int> counter{0};
    const auto path =
        std::filesystem::temp_directory_path() /
        ("qorform_list_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + ".qor");
    std::vector<DesignItem> fileOrder;
    for (auto item = list.rbegin(); item != list.rend(); ++item) {
        if (GoesToFront(*item)) {
            fileOrder.push_back(*item);
        }
    }
    for (const DesignItem& item : list) {
        if (!GoesToFront(item)) {
            fileOrder.push_back(item);
        }
    }
    Design design;
    design.Items() = fileOrder;
    ASSERT_TRUE(WriteDesignFile(path.string(), design));
    ASSERT_TRUE(WriteRecordSource(path.string(), recordSource));
    if (frame.Document().IsModified()) {
        // The edits so far are not kept.
        auto* scripted = dynamic_cast<CScriptedDialogService*>(&DialogService());
        ASSERT_NE(scripted, nullptr);
        scripted->PushButton(IDNO);
    }
    OpenDesignPath(frame, path.string());
    std::filesystem::remove(path);
    std::filesystem::remove(RecordSourcePath(path.string()));
    ASSERT_EQ(frame.Document().Items(), list) << "the list breaks the ordering rule";
}

// Inserts the item by the ordering rule into the frame's design, through a file.
inline void AddItem(CMainFrame& frame, const DesignItem& item) {
    Design design;
    design.Items() = frame.Document().Items();
    design.Insert(item);
    OpenList(frame, design.Items(), frame.Document().RecordSource());
}
