// The designer's undo history: each step records the item edits and the background change of
// one user action, so that it can be taken back and done again exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controls/common/design.h"
#include "designer/damaged_area.h"

// Items inserted into or erased from the list at once, each with its position in the longer of
// the two lists (after an insertion, before an erasure), in ascending order.
using PlacedItems = std::vector<std::pair<std::size_t, DesignItem>>;

// One edit of the item list within a step.
struct ItemEdit {
    enum class Kind { Insert, Erase, Replace };
    Kind kind = Kind::Replace;
    PlacedItems items;      // Insert and Erase
    std::size_t index = 0;  // Replace
    DesignItem before;      // Replace
    DesignItem after;       // Replace
};

struct EditStep {
    std::string name;
    std::vector<ItemEdit> edits;
    std::optional<std::pair<COLORREF, COLORREF>> background;  // before, after
    std::uint64_t serial = 0;
};

// Inserts the items at their positions, in one pass over the list.
void InsertPlaced(std::vector<DesignItem>& list, const PlacedItems& placed);
// Erases the items at the positions, in one pass over the list; the erased items are returned
// in the same order.
std::vector<DesignItem> ErasePlaced(std::vector<DesignItem>& list,
                                    const std::vector<std::size_t>& positions);
// Applies an edit forwards (redo) or backwards (undo) and adds every item it touched, as it
// was and as it is, to the damage.
void ApplyEdit(std::vector<DesignItem>& list, const ItemEdit& edit, bool forwards,
               CDamagedArea& damage);

// Undo and redo stacks of steps; a new step drops the steps that were undone.
class CEditHistory {
  public:
    void Push(EditStep step);
    void Clear();
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    const EditStep& NextUndo() const { return m_undo.back(); }
    const EditStep& NextRedo() const { return m_redo.back(); }
    // Moves the step between the stacks and returns it.
    const EditStep& Undo();
    const EditStep& Redo();
    // Names the state the steps have brought the design to: the serial of the last step done,
    // 0 for none.
    std::uint64_t Position() const { return m_undo.empty() ? 0 : m_undo.back().serial; }
    std::uint64_t NextSerial() { return ++m_serial; }

  private:
    std::vector<EditStep> m_undo;
    std::vector<EditStep> m_redo;
    std::uint64_t m_serial = 0;
};
