// CRowMarks: the rows a user marked, as bookmarks in the order they were marked, with an index
// beside them that finds a bookmark among a million marks without a scan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/com/com_variant.h"

// The marks read as an array in marking order: position i is the i-th mark still there, so
// removing a mark moves the later ones up by one, as closing up an array would. A bookmark is
// marked at most once. Finding, appending and removing take time logarithmic in the number of
// marks (removed marks are swept out once they outnumber the others). Every operation that
// compares bookmarks fails with the comparison's result (E_INVALIDARG for a bookmark type that
// cannot be compared) and then leaves the marks as they were.
class CRowMarks {
  public:
    std::size_t Count() const { return m_live; }
    bool Empty() const { return m_live == 0; }
    void Clear();

    // The position of the mark with an equal bookmark and its `selected` flag; -1 and false
    // when the bookmark is not marked.
    HRESULT Find(const VARIANT& bookmark, std::ptrdiff_t& position, bool& selected) const;
    // Marks the bookmark (selected) at the end.
    HRESULT Append(const VARIANT& bookmark);
    // Marks every bookmark that next gives (true) until it gives none (false), at the end in
    // that order, each at most once. Made for marking a whole result: the index grows once
    // and takes the new marks in a pass that fetches their slots ahead, where Append would wait
    // on each slot in turn.
    HRESULT AppendAll(const std::function<bool(CComVariant& bookmark)>& next);
    // Removes the mark at the position.
    void RemoveAt(std::size_t position);
    void SetSelected(std::size_t position, bool selected);
    // The bookmark of the mark at the position (below Count()).
    const CComVariant& BookmarkAt(std::size_t position) const;
    // Room for that many marks, so that marking a whole result grows nothing on the way.
    void Reserve(std::size_t count);

  private:
    struct Mark {
        CComVariant bookmark;
        bool selected = true;
        bool live = true;
    };
    // A slot of the index: the stored index of a mark in the low half, the high half of its
    // hash in the high half, so that a probe compares only bookmarks whose hashes agree.
    static constexpr std::uint64_t kEmptySlot = UINT64_MAX;
    static constexpr std::uint64_t kFreedSlot = UINT64_MAX - 1;
    static std::uint64_t SlotOf(std::size_t stored, std::uint64_t hash) {
        return (hash & 0xFFFFFFFF00000000ULL) | stored;
    }
    static std::size_t StoredIn(std::uint64_t slot) { return slot & 0xFFFFFFFFULL; }

    // The slot of the index holding the mark with an equal bookmark, or of the first slot it
    // would take.
    HRESULT Probe(const VARIANT& bookmark, std::uint64_t hash, std::size_t& slot,
                  bool& found) const;
    void Rehash(std::size_t capacity);
    // Puts the marks stored from first on into the index; an equal one already there, or
    // earlier among them, makes a mark removed.
    HRESULT IndexFrom(std::size_t first);
    // Puts one of them in and makes it live, or drops its bookmark when an equal one is there.
    HRESULT IndexOne(std::size_t stored, std::uint64_t hash);
    // Counts the live marks again into the tree.
    void RebuildTree();
    void Sweep();
    // Marks still there among the first `end` stored ones.
    std::size_t LiveBefore(std::size_t end) const;
    std::size_t StoredIndexOf(std::size_t position) const;
    void AddToTree(std::size_t stored, int delta);

    std::vector<Mark> m_marks;           // in marking order, removed ones until the next sweep
    std::vector<std::uint32_t> m_tree;   // counts of live marks (a Fenwick tree, from 1)
    std::vector<std::uint64_t> m_slots;  // open addressing (SlotOf)
    std::size_t m_live = 0;
    std::size_t m_usedSlots = 0;  // holding a mark or freed
};
