// CDesignDocument: the design being edited, with its background colour, the file it came from,
// its record source, the undo history and the modified flag.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/common/design.h"
#include "designer/damaged_area.h"
#include "designer/edit_history.h"

// What an undo or redo changed on the canvas.
struct EditDamage {
    CDamagedArea area;
    bool background = false;
};

// Every change of the items or the background is recorded in a step (BeginStep ... EndStep) and
// can be undone and redone; selection and the texts preview mode shows are kept outside it.
class CDesignDocument {
  public:
    static constexpr COLORREF kDefaultBackground = 0x00C0C0C0;

    const Design& GetDesign() const { return m_design; }
    const std::vector<DesignItem>& Items() const { return m_design.Items(); }
    const DesignItem& Item(std::size_t index) const { return m_design.Items().at(index); }
    std::size_t Count() const { return m_design.Items().size(); }
    // Whether that many more items still make a design file that opens again.
    bool HasRoomFor(std::size_t count) const {
        return count <= kMaxDesignRecords && Count() <= kMaxDesignRecords - count;
    }
    bool IsLoaded() const { return m_loaded; }
    // Changed since it was made, opened or saved.
    bool IsModified() const;
    COLORREF BackgroundColor() const { return m_background; }
    const std::string& Path() const { return m_path; }
    const std::string& RecordSource() const { return m_recordSource; }
    // The name of the file the design was opened from or saved to, or "Untitled".
    std::string DisplayName() const;

    // Called whenever the modified flag or the path may have changed.
    void SetChangeListener(std::function<void()> listener) { m_onChange = std::move(listener); }

    // An empty design with no path and no history; the background colour stays.
    void New();
    // The design read from the file at the path, with no history.
    void Open(Design design, std::string recordSource, std::string path);
    // Remembers the path last chosen in a file dialog, accepted or not.
    void SetPath(std::string path);
    // The design now matches the file at the path.
    void MarkSaved(std::string path);
    // The record source is kept beside the design: changing it modifies the design, though
    // it is no step of its own.
    void SetRecordSource(std::string recordSource);

    // Opens a step of the name ("Move"); a step still open is ended first.
    void BeginStep(std::string name);
    // Ends the open step; a step that changed nothing is dropped. True when one was recorded.
    bool EndStep();
    // Recorded edits, only inside a step. Insert places the item by the ordering rule of the
    // item kinds and returns its position.
    std::size_t Insert(DesignItem item);
    // Inserts the items at once, keeping their order among themselves: front kinds before every
    // item of the list, the others after it. Returns the items' positions.
    std::vector<std::size_t> InsertAll(std::vector<DesignItem> items);
    // Inserts the item at the position (Duplicate's own rule).
    void InsertAt(std::size_t index, DesignItem item);
    // Erases the items at the positions, ascending, at once.
    void Erase(const std::vector<std::size_t>& positions);
    void Replace(std::size_t index, const DesignItem& item);
    void SetBackgroundColor(COLORREF color);

    // Not recorded: selection and resize marks, and the text preview mode shows in a column.
    // Each returns whether the item changed.
    bool SetSelected(std::size_t index, bool selected);
    void SetResizeTarget(std::size_t index, bool target);
    void SetColumnText(std::size_t index, std::string text);

    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    // Names of the steps Undo and Redo would take; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    EditDamage Undo();
    EditDamage Redo();

  private:
    // The open step, which every recorded edit requires.
    EditStep& OpenStep();
    EditDamage Apply(const EditStep& step, bool forwards);
    void Changed();

    Design m_design;
    COLORREF m_background = kDefaultBackground;
    std::string m_path;
    // The file the design belongs to; a path refused by a file command is no such file.
    std::string m_designPath;
    std::string m_recordSource;
    bool m_loaded = false;
    bool m_changedBesideSteps = false;
    std::uint64_t m_savedPosition = 0;
    CEditHistory m_history;
    std::optional<EditStep> m_open;
    // Position of each item's Replace in the open step, while no insertion or erasure has moved
    // the items since; later changes of the item go into the same edit.
    std::unordered_map<std::size_t, std::size_t> m_replaced;
    std::function<void()> m_onChange;
};

// Records one step over a scope: the edits of a single command.
class CEditStep {
  public:
    CEditStep(CDesignDocument& document, std::string name) : m_document(document) {
        m_document.BeginStep(std::move(name));
    }
    ~CEditStep() { m_document.EndStep(); }
    CEditStep(const CEditStep&) = delete;
    CEditStep& operator=(const CEditStep&) = delete;

  private:
    CDesignDocument& m_document;
};
