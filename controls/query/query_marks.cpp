// The ordered marks of the query list and the index that finds a bookmark among them.
#include "controls/query/query_marks.h"

#include <array>
#include <bit>
#include <cassert>

#include "controls/common/bookmark_compare.h"

namespace {

constexpr std::size_t kSmallestIndex = 16;
// Removed marks are swept out when there are more of them than this and than marks left.
constexpr std::size_t kSweepThreshold = 1024;

// The index's size for that many marks: a power of two at least twice as large.
std::size_t IndexCapacityFor(std::size_t marks) {
    return std::max(kSmallestIndex, std::bit_ceil(2 * marks + 2));
}

}  // namespace

void CRowMarks::Clear() {
    std::vector<Mark>().swap(m_marks);
    std::vector<std::uint32_t>().swap(m_tree);
    std::vector<std::uint64_t>().swap(m_slots);
    m_live = 0;
    m_usedSlots = 0;
}

void CRowMarks::Reserve(std::size_t count) {
    m_marks.reserve(count);
    m_tree.reserve(count + 1);
    if (IndexCapacityFor(count) > m_slots.size()) {
        Rehash(IndexCapacityFor(count));
    }
}

HRESULT CRowMarks::Probe(const VARIANT& bookmark, std::uint64_t hash, std::size_t& slot,
                         bool& found) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t freed = m_slots.size();
    found = false;
    const std::uint64_t fingerprint = SlotOf(0, hash);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint64_t held = m_slots[i];
        if (held == kEmptySlot) {
            slot = freed < m_slots.size() ? freed : i;
            return S_OK;
        }
        if (held == kFreedSlot) {
            freed = std::min(freed, i);
            continue;
        }
        if (SlotOf(0, held) != fingerprint) {
            continue;
        }
        bool equal = false;
        const HRESULT hr = CompareBookmarks(m_marks[StoredIn(held)].bookmark, bookmark, equal);
        if (FAILED(hr)) {
            return hr;
        }
        if (equal) {
            slot = i;
            found = true;
            return S_OK;
        }
    }
}

HRESULT CRowMarks::Find(const VARIANT& bookmark, std::ptrdiff_t& position, bool& selected) const {
    position = -1;
    selected = false;
    if (m_live == 0) {
        return S_OK;
    }
    std::uint64_t hash = 0;
    HRESULT hr = HashBookmark(bookmark, hash);
    std::size_t slot = 0;
    bool found = false;
    if (SUCCEEDED(hr)) {
        hr = Probe(bookmark, hash, slot, found);
    }
    if (SUCCEEDED(hr) && found) {
        const std::size_t stored = StoredIn(m_slots[slot]);
        position = static_cast<std::ptrdiff_t>(LiveBefore(stored));
        selected = m_marks[stored].selected;
    }
    return hr;
}

HRESULT CRowMarks::Append(const VARIANT& bookmark) {
    std::uint64_t hash = 0;
    HRESULT hr = HashBookmark(bookmark, hash);
    if (FAILED(hr)) {
        return hr;
    }
    if (2 * (m_usedSlots + 1) > m_slots.size()) {
        Rehash(IndexCapacityFor(m_live + 1));
    }
    std::size_t slot = 0;
    bool found = false;
    hr = Probe(bookmark, hash, slot, found);
    if (FAILED(hr) || found) {
        return hr;
    }
    Mark mark;
    hr = mark.bookmark.Copy(&bookmark);
    if (FAILED(hr)) {
        return hr;
    }
    m_marks.push_back(std::move(mark));
    // A new last node of the tree covers the marks since the one below its lowest bit.
    const std::size_t node = m_marks.size();
    if (m_tree.empty()) {
        m_tree.push_back(0);
    }
    m_tree.push_back(
        static_cast<std::uint32_t>(1 + LiveBefore(node - 1) - LiveBefore(node - (node & -node))));
    if (m_slots[slot] == kEmptySlot) {
        ++m_usedSlots;
    }
    m_slots[slot] = SlotOf(node - 1, hash);
    ++m_live;
    return S_OK;
}

HRESULT CRowMarks::AppendAll(const std::function<bool(CComVariant& bookmark)>& next) {
    const std::size_t first = m_marks.size();
    // Live once indexed, so that growing the index leaves the new marks to the pass.
    for (Mark mark; next(mark.bookmark); mark = Mark{}) {
        mark.live = false;
        m_marks.push_back(std::move(mark));
    }
    const HRESULT hr = IndexFrom(first);
    if (FAILED(hr)) {
        m_marks.resize(first);
        Rehash(IndexCapacityFor(m_live));
        return hr;
    }
    RebuildTree();
    if (m_live == 0) {
        Clear();
    }
    return S_OK;
}

HRESULT CRowMarks::IndexFrom(std::size_t first) {
    // Slots are fetched this many marks ahead of the one being put in; the hashes of the marks
    // in between wait in a ring.
    constexpr std::size_t kAhead = 16;
    const std::size_t count = m_marks.size() - first;
    if (2 * (m_usedSlots + count) > m_slots.size()) {
        Rehash(IndexCapacityFor(m_live + count));
    }
    const std::size_t mask = m_slots.size() - 1;
    std::array<std::uint64_t, kAhead> ahead{};
    for (std::size_t i = 0; i < count + kAhead; ++i) {
        if (i >= kAhead) {
            const HRESULT hr = IndexOne(first + i - kAhead, ahead[i % kAhead]);
            if (FAILED(hr)) {
                return hr;
            }
        }
        if (i < count) {
            std::uint64_t& hash = ahead[i % kAhead];
            const HRESULT hr = HashBookmark(m_marks[first + i].bookmark, hash);
            if (FAILED(hr)) {
                return hr;
            }
            __builtin_prefetch(&m_slots[hash & mask], 1);
        }
    }
    return S_OK;
}

HRESULT CRowMarks::IndexOne(std::size_t stored, std::uint64_t hash) {
    Mark& mark = m_marks[stored];
    std::size_t slot = 0;
    bool found = false;
    const HRESULT hr = Probe(mark.bookmark, hash, slot, found);
    if (FAILED(hr)) {
        return hr;
    }
    if (found) {
        mark.bookmark.Clear();
        return S_OK;
    }
    if (m_slots[slot] == kEmptySlot) {
        ++m_usedSlots;
    }
    m_slots[slot] = SlotOf(stored, hash);
    mark.live = true;
    return S_OK;
}

void CRowMarks::RebuildTree() {
    const std::size_t count = m_marks.size();
    m_tree.assign(count + 1, 0);
    m_live = 0;
    for (std::size_t node = 1; node <= count; ++node) {
        const std::uint32_t live = m_marks[node - 1].live ? 1 : 0;
        m_live += live;
        m_tree[node] += live;
        const std::size_t parent = node + (node & -node);
        if (parent <= count) {
            m_tree[parent] += m_tree[node];
        }
    }
}

void CRowMarks::RemoveAt(std::size_t position) {
    assert(position < m_live);
    const std::size_t stored = StoredIndexOf(position);
    Mark& mark = m_marks[stored];
    std::uint64_t hash = 0;
    std::size_t slot = 0;
    bool found = false;
    // Both succeeded when the mark was appended, and the index still holds it.
    static_cast<void>(HashBookmark(mark.bookmark, hash));
    static_cast<void>(Probe(mark.bookmark, hash, slot, found));
    assert(found && StoredIn(m_slots[slot]) == stored);
    m_slots[slot] = kFreedSlot;
    mark.live = false;
    mark.bookmark.Clear();
    AddToTree(stored, -1);
    --m_live;
    if (m_live == 0) {
        Clear();
    } else if (m_marks.size() - m_live > std::max(kSweepThreshold, m_live)) {
        Sweep();
    }
}

void CRowMarks::SetSelected(std::size_t position, bool selected) {
    m_marks[StoredIndexOf(position)].selected = selected;
}

const CComVariant& CRowMarks::BookmarkAt(std::size_t position) const {
    return m_marks[StoredIndexOf(position)].bookmark;
}

void CRowMarks::Rehash(std::size_t capacity) {
    m_slots.assign(capacity, kEmptySlot);
    m_usedSlots = 0;
    const std::size_t mask = capacity - 1;
    for (std::size_t stored = 0; stored < m_marks.size(); ++stored) {
        if (!m_marks[stored].live) {
            continue;
        }
        std::uint64_t hash = 0;
        static_cast<void>(HashBookmark(m_marks[stored].bookmark, hash));
        std::size_t i = hash & mask;
        while (m_slots[i] != kEmptySlot) {
            i = (i + 1) & mask;
        }
        m_slots[i] = SlotOf(stored, hash);
        ++m_usedSlots;
    }
}

void CRowMarks::Sweep() {
    std::erase_if(m_marks, [](const Mark& mark) { return !mark.live; });
    RebuildTree();
    Rehash(IndexCapacityFor(m_marks.size()));
}

std::size_t CRowMarks::LiveBefore(std::size_t end) const {
    std::size_t sum = 0;
    for (std::size_t node = end; node > 0; node -= node & -node) {
        sum += m_tree[node];
    }
    return sum;
}

std::size_t CRowMarks::StoredIndexOf(std::size_t position) const {
    assert(position < m_live);
    std::size_t node = 0;
    std::size_t remaining = position + 1;
    for (std::size_t step = std::bit_floor(m_tree.size() - 1); step > 0; step >>= 1) {
        if (node + step < m_tree.size() && m_tree[node + step] < remaining) {
            node += step;
            remaining -= m_tree[node];
        }
    }
    return node;
}

void CRowMarks::AddToTree(std::size_t stored, int delta) {
    for (std::size_t node = stored + 1; node < m_tree.size(); node += node & -node) {
        m_tree[node] = static_cast<std::uint32_t>(static_cast<int>(m_tree[node]) + delta);
    }
}
