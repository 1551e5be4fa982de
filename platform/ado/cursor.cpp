// Static and keyset cursors: reading, caching, writing by key, and recovering from rollbacks.
#include "platform/ado/cursor.h"

#include <algorithm>

namespace {

// Records a scan, or a check of keys alone, reads with one statement.
constexpr std::size_t kScanChunk = 2048;
// Blocks read at once when reading on.
constexpr std::size_t kReadAhead = 4;
// Records reached by jumps that stay cached.
constexpr std::size_t kSoughtRows = 256;

}  // namespace

bool CStaticCursor::Open(std::vector<ColumnInfo>& columns) {
    StatementResult result;
    if (!session_.Execute(sql_, true, result)) {
        return false;
    }
    columns = std::move(result.columns);
    rows_ = std::move(result.rows);
    readLevel_ = transaction_.level;
    return true;
}

bool CStaticCursor::Scan(std::size_t from, bool forward, std::size_t field,
                         const std::function<bool(const DbValue&)>& test, bool& found,
                         std::size_t& position) {
    found = false;
    for (std::size_t p = from; p < rows_.size(); p = forward ? p + 1 : p - 1) {
        if (test(rows_[p][field])) {
            found = true;
            position = p;
            return true;
        }
        if (!forward && p == 0) {
            break;
        }
    }
    return true;
}

bool CStaticCursor::Requery() {
    std::vector<ColumnInfo> columns;
    return Open(columns);
}

bool CStaticCursor::AfterRollback(int level) {
    return readLevel_ < level || Requery();
}

void CStaticCursor::AfterCommit(int level) {
    readLevel_ = std::min(readLevel_, level - 1);
}

bool CKeysetCursor::Requery() {
    ClearCaches();
    touched_.clear();
    if (!table_->ReadKeys(keys_)) {
        return false;
    }
    deleted_.assign(keys_.Size(), 0);
    deletedCount_ = 0;
    return true;
}

bool CKeysetCursor::Row(std::size_t position, const DbRow*& row) {
    row = nullptr;
    if (deleted_[position] != 0) {
        return true;
    }
    const bool reading = position == lastPosition_ + 1 || position + 1 == lastPosition_;
    lastPosition_ = position;
    const std::size_t offset = position % blockSize_;
    const auto cached = blocks_.find(position / blockSize_);
    if (cached == blocks_.end() && !reading) {
        return SoughtRow(position, row);
    }
    Block* block = nullptr;
    if (!Load(position / blockSize_, block)) {
        return false;
    }
    if (offset < block->rows.size() && block->present[offset]) {
        row = &block->rows[offset];
    }
    return true;
}

bool CKeysetCursor::Present(std::size_t position, bool& present) {
    present = false;
    if (deleted_[position] != 0) {
        return true;
    }
    const auto cached = blocks_.find(position / blockSize_);
    if (cached != blocks_.end()) {
        const Block& block = cached->second;
        const std::size_t offset = position % blockSize_;
        present = offset < block.rows.size() && block.present[offset];
        return true;
    }
    const bool known =
        sought_.contains(position) || (position >= presenceFirst_ && position < presenceEnd_);
    if (!known && !LoadPresence(position)) {
        return false;
    }
    present = deleted_[position] == 0;
    return true;
}

bool CKeysetCursor::LoadPresence(std::size_t position) {
    const std::size_t first = position - position % kScanChunk;
    const std::size_t count = std::min(kScanChunk, keys_.Size() - first);
    std::vector<bool> found(count, false);
    if (!table_->FetchPresent(keys_, first, count, [&](std::size_t i) { found[i] = true; })) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!found[i]) {
            MarkDeleted(first + i);
        }
    }
    presenceFirst_ = first;
    presenceEnd_ = first + count;
    return true;
}

// A record reached by a jump is read alone: reading its whole block would cost a seek several
// times over, and a jump is seldom followed by the records around it.
bool CKeysetCursor::SoughtRow(std::size_t position, const DbRow*& row) {
    const auto cached = sought_.find(position);
    if (cached != sought_.end()) {
        soughtLru_.splice(soughtLru_.begin(), soughtLru_, cached->second.lru);
        row = &cached->second.row;
        return true;
    }
    DbRow found;
    bool present = false;
    if (!table_->FetchRows(keys_, position, 1, [&](std::size_t, DbRow& values) {
            found = std::move(values);
            present = true;
        })) {
        return false;
    }
    if (!present) {
        MarkDeleted(position);
        return true;
    }
    if (sought_.size() >= kSoughtRows) {
        sought_.erase(soughtLru_.back());
        soughtLru_.pop_back();
    }
    soughtLru_.push_front(position);
    SoughtEntry& entry = sought_[position];
    entry.row = std::move(found);
    entry.lru = soughtLru_.begin();
    row = &entry.row;
    return true;
}

void CKeysetCursor::Forget(std::size_t position) {
    const auto cached = sought_.find(position);
    if (cached != sought_.end()) {
        soughtLru_.erase(cached->second.lru);
        sought_.erase(cached);
    }
}

void CKeysetCursor::ClearCaches() {
    blocks_.clear();
    lru_.clear();
    sought_.clear();
    soughtLru_.clear();
    lastLoaded_ = kNoPosition;
    lastPosition_ = kNoPosition;
    presenceFirst_ = 0;
    presenceEnd_ = 0;
}

bool CKeysetCursor::Scan(std::size_t from, bool forward, std::size_t field,
                         const std::function<bool(const DbValue&)>& test, bool& found,
                         std::size_t& position) {
    found = false;
    if (from >= keys_.Size()) {
        return true;
    }
    if (forward) {
        for (std::size_t first = from; first < keys_.Size() && !found; first += kScanChunk) {
            const std::size_t count = std::min(kScanChunk, keys_.Size() - first);
            if (!ScanChunk(first, count, true, field, test, found, position)) {
                return false;
            }
        }
        return true;
    }
    for (std::size_t end = from + 1; end > 0 && !found;) {
        const std::size_t first = end > kScanChunk ? end - kScanChunk : 0;
        if (!ScanChunk(first, end - first, false, field, test, found, position)) {
            return false;
        }
        end = first;
    }
    return true;
}

bool CKeysetCursor::ScanChunk(std::size_t first, std::size_t count, bool forward, std::size_t field,
                              const std::function<bool(const DbValue&)>& test, bool& found,
                              std::size_t& position) {
    std::vector<DbValue> values(count);
    std::vector<bool> present(count, false);
    const bool fetched =
        table_->FetchField(keys_, first, count, field, [&](std::size_t i, DbValue& value) {
            values[i] = std::move(value);
            present[i] = true;
        });
    if (!fetched) {
        return false;
    }
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t i = forward ? n : count - 1 - n;
        if (!present[i]) {
            MarkDeleted(first + i);
        } else if (deleted_[first + i] == 0 && test(values[i])) {
            found = true;
            position = first + i;
            return true;
        }
    }
    return true;
}

bool CKeysetCursor::Load(std::size_t blockIndex, Block*& block) {
    const auto cached = blocks_.find(blockIndex);
    if (cached != blocks_.end()) {
        block = &cached->second;
        if (block->lru != lru_.begin()) {
            lru_.splice(lru_.begin(), lru_, block->lru);
        }
        return true;
    }
    // Reading on from the block before (or back from the one after) reads the next blocks too,
    // in the same statement; a jump reads its block alone, which keeps seeks cheap.
    const std::size_t blocks = (keys_.Size() + blockSize_ - 1) / blockSize_;
    std::size_t firstBlock = blockIndex;
    std::size_t lastBlock = blockIndex;
    if (blockIndex == lastLoaded_ + 1) {
        while (lastBlock + 1 < blocks && lastBlock - firstBlock + 1 < kReadAhead &&
               !blocks_.contains(lastBlock + 1)) {
            ++lastBlock;
        }
    } else if (blockIndex + 1 == lastLoaded_) {
        while (firstBlock > 0 && lastBlock - firstBlock + 1 < kReadAhead &&
               !blocks_.contains(firstBlock - 1)) {
            --firstBlock;
        }
    }
    const std::size_t first = firstBlock * blockSize_;
    const std::size_t count = std::min((lastBlock + 1) * blockSize_, keys_.Size()) - first;
    std::vector<DbRow> rows(count);
    std::vector<bool> present(count, false);
    const bool fetched = table_->FetchRows(keys_, first, count, [&](std::size_t i, DbRow& row) {
        rows[i] = std::move(row);
        present[i] = true;
    });
    if (!fetched) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!present[i]) {
            MarkDeleted(first + i);
        }
    }
    // The block asked for goes in last, as the most recent.
    for (std::size_t b = firstBlock; b <= lastBlock; ++b) {
        if (b != blockIndex) {
            Insert(b, rows, present, first);
        }
    }
    block = &Insert(blockIndex, rows, present, first);
    lastLoaded_ = blockIndex == firstBlock ? lastBlock : firstBlock;
    return true;
}

CKeysetCursor::Block& CKeysetCursor::Insert(std::size_t blockIndex, std::vector<DbRow>& rows,
                                            const std::vector<bool>& present, std::size_t first) {
    while (blocks_.size() >= maxBlocks_ && !lru_.empty()) {
        blocks_.erase(lru_.back());
        lru_.pop_back();
    }
    const std::size_t begin = blockIndex * blockSize_ - first;
    const std::size_t end = std::min(begin + blockSize_, rows.size());
    Block block;
    block.rows.assign(std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(begin)),
                      std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(end)));
    block.present.assign(present.begin() + static_cast<std::ptrdiff_t>(begin),
                         present.begin() + static_cast<std::ptrdiff_t>(end));
    lru_.push_front(blockIndex);
    block.lru = lru_.begin();
    return blocks_.insert_or_assign(blockIndex, std::move(block)).first->second;
}

// Fetches one record again into its cached block, if that block is cached.
bool CKeysetCursor::Reload(std::size_t position) {
    Forget(position);
    const auto cached = blocks_.find(position / blockSize_);
    if (cached == blocks_.end()) {
        return true;
    }
    Block& block = cached->second;
    const std::size_t offset = position % blockSize_;
    if (offset >= block.rows.size()) {
        Drop(position / blockSize_);
        return true;
    }
    block.present[offset] = false;
    const bool fetched = table_->FetchRows(keys_, position, 1, [&](std::size_t, DbRow& row) {
        block.rows[offset] = std::move(row);
        block.present[offset] = true;
    });
    if (fetched && !block.present[offset]) {
        MarkDeleted(position);
    }
    return fetched;
}

void CKeysetCursor::Drop(std::size_t blockIndex) {
    const auto cached = blocks_.find(blockIndex);
    if (cached != blocks_.end()) {
        lru_.erase(cached->second.lru);
        blocks_.erase(cached);
    }
}

void CKeysetCursor::MarkDeleted(std::size_t position) {
    if (deleted_[position] == 0) {
        Touch(position);
        deleted_[position] = 1;
        ++deletedCount_;
    }
}

void CKeysetCursor::Touch(std::size_t position) {
    if (transaction_.level <= 0) {
        return;
    }
    if (touched_.size() < static_cast<std::size_t>(transaction_.level)) {
        touched_.resize(static_cast<std::size_t>(transaction_.level));
    }
    touched_[static_cast<std::size_t>(transaction_.level) - 1].emplace(position,
                                                                       keys_.Value(position));
}

void CKeysetCursor::AfterCommit(int level) {
    if (touched_.size() < static_cast<std::size_t>(level)) {
        return;
    }
    // The changes now belong to the enclosing transaction, whose rollback undoes them too.
    std::map<std::size_t, DbValue> ended = std::move(touched_.back());
    touched_.pop_back();
    if (level > 1) {
        touched_.resize(static_cast<std::size_t>(level) - 1);
        touched_.back().merge(ended);
    }
}

bool CKeysetCursor::Insert(const std::vector<std::size_t>& columns, const DbRow& values,
                           std::size_t& position) {
    DbValue key;
    if (!table_->Insert(columns, values, key)) {
        return false;
    }
    position = keys_.Size();
    keys_.Add(key);
    deleted_.push_back(0);
    Touch(position);
    // The last block grew: it is read again with the new record in it.
    Drop(position / blockSize_);
    return true;
}

bool CKeysetCursor::Update(std::size_t position, const std::vector<std::size_t>& columns,
                           const DbRow& values, bool& found) {
    DbValue newKey;
    if (!table_->Update(keys_.Value(position), columns, values, found, newKey)) {
        return false;
    }
    if (!found) {
        MarkDeleted(position);
        return true;
    }
    Touch(position);
    keys_.Set(position, newKey);
    return Reload(position);
}

bool CKeysetCursor::Delete(std::size_t position, bool& found) {
    Forget(position);
    if (!table_->Delete(keys_.Value(position), found)) {
        return false;
    }
    MarkDeleted(position);
    const auto cached = blocks_.find(position / blockSize_);
    if (cached != blocks_.end() && position % blockSize_ < cached->second.present.size()) {
        cached->second.present[position % blockSize_] = false;
    }
    return true;
}

bool CKeysetCursor::AfterRollback(int level) {
    ClearCaches();
    std::map<std::size_t, DbValue> undone;
    // From the innermost level out, so that each record gets the key it had when the level
    // began.
    while (touched_.size() >= static_cast<std::size_t>(level) && !touched_.empty()) {
        for (auto& [position, key] : touched_.back()) {
            undone.insert_or_assign(position, std::move(key));
        }
        touched_.pop_back();
    }
    for (const auto& [position, key] : undone) {
        keys_.Set(position, key);
        if (deleted_[position] != 0) {
            deleted_[position] = 0;
            --deletedCount_;
        }
    }
    // Whether each record exists again is read now, so that counts are right at once.
    for (const auto& entry : undone) {
        const DbRow* row = nullptr;
        if (!Row(entry.first, row)) {
            return false;
        }
    }
    return true;
}
