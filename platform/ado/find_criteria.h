// Find criteria ("name = 'O''Brien'", "amount >= 12.5", "shipped <> NULL", "city LIKE 'Mün*'"):
// parsing, and matching a field's values against one, without any SQL.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ado/db_value.h"
#include "platform/ado/field_type.h"
#include "platform/com/com_variant.h"

enum class FindOperator { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual, Like };
enum class FindLiteral { Text, Number, Date, Null };

struct FindCriterion {
    std::string field;
    FindOperator op = FindOperator::Equal;
    FindLiteral literal = FindLiteral::Text;
    std::string text;  // the value as written, without quotes or '#'
};

// false for anything that is not one criterion of that form.
bool ParseFindCriterion(std::string_view text, FindCriterion& criterion);

class CFindMatcher {
  public:
    // Converts the criterion's value to the field's type (quoted text under lcid); false when
    // the value cannot be one of that type.
    bool Prepare(const FieldType& type, const FindCriterion& criterion, LCID lcid);
    bool Matches(const DbValue& value) const;

  private:
    bool MatchesText(std::string_view folded) const;
    bool Holds(int order) const;

    FieldType type_;
    FindCriterion criterion_;
    LCID lcid_ = 0;
    bool asText_ = false;
    std::string folded_;      // the value folded, for text
    std::string pattern_;     // LIKE: the value without its wildcards, folded
    bool anyPrefix_ = false;  // LIKE: a wildcard before
    bool anySuffix_ = false;  // LIKE: a wildcard after
    CComVariant value_;
    std::optional<std::int64_t> wholeValue_;  // the value, for a whole-number field
};
