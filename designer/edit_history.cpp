// Applying recorded edits to the item list, and the undo and redo stacks.
#include "designer/edit_history.h"

#include <cassert>

void InsertPlaced(std::vector<DesignItem>& list, const PlacedItems& placed) {
    std::vector<DesignItem> merged;
    merged.reserve(list.size() + placed.size());
    auto next = placed.begin();
    auto old = list.begin();
    while (next != placed.end() || old != list.end()) {
        if (next != placed.end() && next->first == merged.size()) {
            merged.push_back(next->second);
            ++next;
        } else {
            assert(old != list.end() && "an inserted item's position lies past the list");
            if (old == list.end()) {
                break;
            }
            merged.push_back(std::move(*old));
            ++old;
        }
    }
    list = std::move(merged);
}

std::vector<DesignItem> ErasePlaced(std::vector<DesignItem>& list,
                                    const std::vector<std::size_t>& positions) {
    std::vector<DesignItem> erased;
    erased.reserve(positions.size());
    std::size_t kept = 0;
    auto next = positions.begin();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (next != positions.end() && *next == i) {
            erased.push_back(std::move(list[i]));
            ++next;
        } else {
            if (kept != i) {
                list[kept] = std::move(list[i]);
            }
            ++kept;
        }
    }
    assert(next == positions.end() && "an erased item's position lies past the list");
    list.resize(kept);
    return erased;
}

namespace {

void AddPlaced(const PlacedItems& placed, CDamagedArea& damage) {
    for (const auto& [index, item] : placed) {
        damage.Add(item);
    }
}

std::vector<std::size_t> Positions(const PlacedItems& placed) {
    std::vector<std::size_t> positions;
    positions.reserve(placed.size());
    for (const auto& entry : placed) {
        positions.push_back(entry.first);
    }
    return positions;
}

}  // namespace

void ApplyEdit(std::vector<DesignItem>& list, const ItemEdit& edit, bool forwards,
               CDamagedArea& damage) {
    switch (edit.kind) {
        case ItemEdit::Kind::Replace:
            assert(edit.index < list.size());
            if (edit.index < list.size()) {
                list[edit.index] = forwards ? edit.after : edit.before;
            }
            damage.Add(edit.before);
            damage.Add(edit.after);
            return;
        case ItemEdit::Kind::Insert:
        case ItemEdit::Kind::Erase:
            AddPlaced(edit.items, damage);
            if ((edit.kind == ItemEdit::Kind::Insert) == forwards) {
                InsertPlaced(list, edit.items);
            } else {
                ErasePlaced(list, Positions(edit.items));
            }
            return;
    }
}

void CEditHistory::Push(EditStep step) {
    m_undo.push_back(std::move(step));
    m_redo.clear();
}

void CEditHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
}

const EditStep& CEditHistory::Undo() {
    assert(CanUndo());
    m_redo.push_back(std::move(m_undo.back()));
    m_undo.pop_back();
    return m_redo.back();
}

const EditStep& CEditHistory::Redo() {
    assert(CanRedo());
    m_undo.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
    return m_undo.back();
}
