// Values as providers hand them over and take them back, the keys of a keyset, and the error
// record a provider fills when a call fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/com/hresult.h"

// Binary data, kept apart from text so that a provider binds it as such.
struct DbBlob {
    std::string bytes;
    friend bool operator==(const DbBlob&, const DbBlob&) = default;
};

// An exact number in plain decimal notation ("-12.3400"), for currency and numeric columns:
// PostgreSQL takes the text as it is, SQLite stores it as an integer or a real.
struct DbDecimal {
    std::string text;
    friend bool operator==(const DbDecimal&, const DbDecimal&) = default;
};

// std::monostate is NULL; text is UTF-8.
using DbValue = std::variant<std::monostate, std::int64_t, double, std::string, DbBlob, DbDecimal>;
using DbRow = std::vector<DbValue>;

inline bool IsNull(const DbValue& value) {
    return std::holds_alternative<std::monostate>(value);
}

// The keys of a keyset cursor in cursor order: integers (SQLite rowids, integer primary keys)
// or, for any other key type, the key's text form. Consecutive integers from first on are held
// as that range alone until a key is changed.
class KeyList {
  public:
    explicit KeyList(bool textual = false) : textual_(textual) {}

    bool Textual() const { return textual_; }
    std::size_t Size() const { return textual_ ? texts_.size() : rangeCount_ + numbers_.size(); }
    std::int64_t Number(std::size_t i) const {
        return i < rangeCount_ ? rangeFirst_ + static_cast<std::int64_t>(i)
                               : numbers_[i - rangeCount_];
    }
    const std::string& Text(std::size_t i) const { return texts_[i]; }
    DbValue Value(std::size_t i) const {
        return textual_ ? DbValue(texts_[i]) : DbValue(Number(i));
    }

    // The keys first, first + 1, ... first + count - 1.
    void AssignRange(std::int64_t first, std::size_t count) {
        Clear();
        rangeFirst_ = first;
        rangeCount_ = count;
    }
    void Reserve(std::size_t n) {
        if (textual_) {
            texts_.reserve(n);
        } else {
            numbers_.reserve(n);
        }
    }
    void Add(std::int64_t key) {
        if (numbers_.empty() && rangeCount_ > 0 &&
            key == rangeFirst_ + static_cast<std::int64_t>(rangeCount_)) {
            ++rangeCount_;
        } else {
            numbers_.push_back(key);
        }
    }
    void Add(std::string key) { texts_.push_back(std::move(key)); }
    void Add(const DbValue& key) {
        if (textual_) {
            texts_.push_back(DbValueString(key));
        } else {
            Add(std::get<std::int64_t>(key));
        }
    }
    void Set(std::size_t i, const DbValue& key) {
        if (textual_) {
            texts_[i] = DbValueString(key);
            return;
        }
        if (i < rangeCount_ && Number(i) != std::get<std::int64_t>(key)) {
            SpellOutRange();
        }
        if (i >= rangeCount_) {
            numbers_[i - rangeCount_] = std::get<std::int64_t>(key);
        }
    }
    void Clear() {
        rangeCount_ = 0;
        numbers_.clear();
        texts_.clear();
    }
    std::size_t MemoryBytes() const {
        return numbers_.capacity() * sizeof(std::int64_t) + texts_.capacity() * sizeof(std::string);
    }

  private:
    static std::string DbValueString(const DbValue& key) {
        const auto* text = std::get_if<std::string>(&key);
        return text != nullptr ? *text : std::string();
    }
    void SpellOutRange() {
        std::vector<std::int64_t> all;
        all.reserve(Size());
        for (std::size_t i = 0; i < Size(); ++i) {
            all.push_back(Number(i));
        }
        rangeCount_ = 0;
        numbers_ = std::move(all);
    }

    bool textual_;
    std::int64_t rangeFirst_ = 0;
    std::size_t rangeCount_ = 0;
    std::vector<std::int64_t> numbers_;
    std::vector<std::string> texts_;
};

// What went wrong, as the Error object and the thread's error object will tell it.
struct ErrorRecord {
    HRESULT number = S_OK;
    std::string description;
    std::string source;
    long nativeError = 0;
    std::string sqlState;
};
