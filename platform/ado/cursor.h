// The rows behind a recordset: a static cursor holds every row of a query, a keyset cursor
// holds the keys and fetches rows in blocks by key through a bounded cache.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ado/session.h"

// The connection's transaction depth, which cursors look at when they change or lose rows.
struct TransactionState {
    int level = 0;
};

// Positions run from 0 to Size() - 1 and never move: a deleted record keeps its position and
// added records get new positions at the end. Methods returning bool fail only when the
// provider does (its session's LastError tells why).
class CCursor {
  public:
    virtual ~CCursor() = default;
    CCursor() = default;
    CCursor(const CCursor&) = delete;
    CCursor& operator=(const CCursor&) = delete;

    virtual bool Keyset() const = 0;
    virtual std::size_t Size() const = 0;
    // Deleted records known so far.
    virtual std::size_t DeletedCount() const = 0;
    virtual bool IsKnownDeleted(std::size_t position) const = 0;
    // The row, or null when the record is deleted (here or elsewhere).
    virtual bool Row(std::size_t position, const DbRow*& row) = 0;
    // Whether the record exists, as Row would tell, without reading its row when the cursor
    // does not hold it: a move that reads no field reads no row.
    virtual bool Present(std::size_t position, bool& present) = 0;
    // Looks from position from on (forward) or back from it for a record whose value of field
    // passes test; found tells whether one did, position which.
    virtual bool Scan(std::size_t from, bool forward, std::size_t field,
                      const std::function<bool(const DbValue&)>& test, bool& found,
                      std::size_t& position) = 0;
    // Reads the records again.
    virtual bool Requery() = 0;
    // The transaction of that level ended; after a rollback no row it changed may show.
    virtual bool AfterRollback(int level) = 0;
    virtual void AfterCommit(int level) = 0;
};

class CStaticCursor final : public CCursor {
  public:
    CStaticCursor(CSession& session, std::string sql, const TransactionState& transaction)
        : session_(session), sql_(std::move(sql)), transaction_(transaction) {}

    // Runs the query; the columns come back for the fields.
    bool Open(std::vector<ColumnInfo>& columns);
    // Takes rows the query already gave.
    void Adopt(std::vector<DbRow> rows) {
        rows_ = std::move(rows);
        readLevel_ = transaction_.level;
    }

    bool Keyset() const override { return false; }
    std::size_t Size() const override { return rows_.size(); }
    std::size_t DeletedCount() const override { return 0; }
    bool IsKnownDeleted(std::size_t /*position*/) const override { return false; }
    bool Row(std::size_t position, const DbRow*& row) override {
        row = &rows_[position];
        return true;
    }
    bool Present(std::size_t /*position*/, bool& present) override {
        present = true;
        return true;
    }
    bool Scan(std::size_t from, bool forward, std::size_t field,
              const std::function<bool(const DbValue&)>& test, bool& found,
              std::size_t& position) override;
    bool Requery() override;
    bool AfterRollback(int level) override;
    void AfterCommit(int level) override;

  private:
    CSession& session_;
    std::string sql_;
    const TransactionState& transaction_;
    std::vector<DbRow> rows_;
    // The transaction the rows were read in (0: none): its rollback may undo what they show.
    int readLevel_ = 0;
};

class CKeysetCursor final : public CCursor {
  public:
    // Rows are fetched blockSize at a time; at most maxBlocks blocks stay cached.
    CKeysetCursor(std::unique_ptr<CTableAccess> table, bool textualKeys,
                  const TransactionState& transaction, std::size_t blockSize, std::size_t maxBlocks)
        : table_(std::move(table)),
          keys_(textualKeys),
          transaction_(transaction),
          blockSize_(blockSize),
          maxBlocks_(maxBlocks) {}

    bool Open() { return Requery(); }

    bool Keyset() const override { return true; }
    std::size_t Size() const override { return keys_.Size(); }
    std::size_t DeletedCount() const override { return deletedCount_; }
    bool IsKnownDeleted(std::size_t position) const override { return deleted_[position] != 0; }
    bool Row(std::size_t position, const DbRow*& row) override;
    // Reads the keys of a chunk around a record it holds no row of.
    bool Present(std::size_t position, bool& present) override;
    // Reads the one field in large chunks past the cache, which it would only flush.
    bool Scan(std::size_t from, bool forward, std::size_t field,
              const std::function<bool(const DbValue&)>& test, bool& found,
              std::size_t& position) override;
    bool Requery() override;
    bool AfterRollback(int level) override;
    void AfterCommit(int level) override;

    std::ptrdiff_t KeyField() const { return table_->KeyField(); }
    // Writes by key. found is false when no row has the record's key any more: the record is
    // then taken as deleted.
    bool Insert(const std::vector<std::size_t>& columns, const DbRow& values,
                std::size_t& position);
    bool Update(std::size_t position, const std::vector<std::size_t>& columns, const DbRow& values,
                bool& found);
    bool Delete(std::size_t position, bool& found);

    std::size_t CachedBlocks() const { return blocks_.size(); }
    std::size_t KeyMemoryBytes() const { return keys_.MemoryBytes() + deleted_.capacity(); }

  private:
    struct Block {
        std::vector<DbRow> rows;
        std::vector<bool> present;
        std::list<std::size_t>::iterator lru;
    };

    struct SoughtEntry {
        DbRow row;
        std::list<std::size_t>::iterator lru;
    };

    bool SoughtRow(std::size_t position, const DbRow*& row);
    void Forget(std::size_t position);
    void ClearCaches();
    bool Load(std::size_t blockIndex, Block*& block);
    // Finds which records of the chunk holding the position still exist.
    bool LoadPresence(std::size_t position);
    // Caches the part of rows (read from position first on) that belongs to the block.
    Block& Insert(std::size_t blockIndex, std::vector<DbRow>& rows,
                  const std::vector<bool>& present, std::size_t first);
    // Tests the existing records of one chunk, in the direction of the scan.
    bool ScanChunk(std::size_t first, std::size_t count, bool forward, std::size_t field,
                   const std::function<bool(const DbValue&)>& test, bool& found,
                   std::size_t& position);
    bool Reload(std::size_t position);
    void Drop(std::size_t blockIndex);
    void MarkDeleted(std::size_t position);
    // Remembers the record's key before its first change inside the current transaction.
    void Touch(std::size_t position);

    std::unique_ptr<CTableAccess> table_;
    KeyList keys_;
    std::vector<unsigned char> deleted_;
    std::size_t deletedCount_ = 0;
    const TransactionState& transaction_;
    std::size_t blockSize_;
    std::size_t maxBlocks_;
    std::unordered_map<std::size_t, Block> blocks_;
    std::list<std::size_t> lru_;  // most recent first
    static constexpr std::size_t kNoPosition = static_cast<std::size_t>(-2);
    std::size_t lastLoaded_ = kNoPosition;    // the block read last
    std::size_t lastPosition_ = kNoPosition;  // the record read last
    // The records whose existence was read last by key alone: those of them not deleted exist.
    std::size_t presenceFirst_ = 0;
    std::size_t presenceEnd_ = 0;
    std::unordered_map<std::size_t, SoughtEntry> sought_;
    std::list<std::size_t> soughtLru_;  // most recent first
    // By transaction level - 1: the records changed (or found gone) in it, with their keys
    // from before.
    std::vector<std::map<std::size_t, DbValue>> touched_;
};
