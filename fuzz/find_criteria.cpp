// Find criteria: any text either parses to one criterion or is refused; a parsed criterion is
// evaluated under every comparison against a small table of every column type, and the
// comparisons that hold for a value always agree with one order (less, equal or greater).
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/ado/field_type.h"
#include "platform/ado/find_criteria.h"

namespace {

constexpr const char* kDeclarations[] = {"INTEGER",  "SMALLINT",      "BIGINT", "REAL",
                                         "CURRENCY", "NUMERIC(10,2)", "DATE",   "DATETIME",
                                         "BOOLEAN",  "VARCHAR(40)",   "TEXT",   "BLOB"};

constexpr LCID kLocales[] = {0x0409, 0x0407, 0x040C, 0x0809};

const std::vector<DbValue>& TableValues() {
    static const std::vector<DbValue> values = {
        DbValue{},
        DbValue{std::int64_t{0}},
        DbValue{std::int64_t{-7}},
        DbValue{std::int64_t{4000000000}},
        DbValue{12.5},
        DbValue{-0.0},
        DbValue{1e300},
        DbValue{std::string("München")},
        DbValue{std::string("Seán O'Brien")},
        DbValue{std::string("")},
        DbValue{std::string("2024-02-29")},
        DbValue{std::string("2024-02-29 13:45:00")},
        DbValue{std::string("12.50")},
        DbValue{DbBlob{"\x01\x02"}},
        DbValue{DbDecimal{"-12.3400"}},
        DbValue{DbDecimal{"99999999999999999999.99"}},
    };
    return values;
}

constexpr FindOperator kOrdered[] = {FindOperator::Equal,       FindOperator::NotEqual,
                                     FindOperator::Less,        FindOperator::Greater,
                                     FindOperator::LessOrEqual, FindOperator::GreaterOrEqual};

// Which of the six comparisons hold, as bits in the order of kOrdered.
using Holding = unsigned;

bool AgreesWithOneOrder(Holding holding) {
    constexpr Holding kNone = 0;
    constexpr Holding kLess = 0b010110;     // <>, <, <=
    constexpr Holding kEqual = 0b110001;    // =, <=, >=
    constexpr Holding kGreater = 0b101010;  // <>, >, >=
    return holding == kNone || holding == kLess || holding == kEqual || holding == kGreater;
}

void CheckComparisons(const FindCriterion& parsed, const FieldType& type, LCID lcid) {
    std::array<CFindMatcher, std::size(kOrdered)> matchers;
    std::array<bool, std::size(kOrdered)> prepared{};
    for (std::size_t i = 0; i < matchers.size(); ++i) {
        FindCriterion criterion = parsed;
        criterion.op = kOrdered[i];
        prepared[i] = matchers[i].Prepare(type, criterion, lcid);
        FuzzRequire(prepared[i] == prepared[0], "every comparison prepares alike", parsed.text);
    }
    if (!prepared[0]) {
        return;
    }
    for (const DbValue& value : TableValues()) {
        Holding holding = 0;
        for (std::size_t i = 0; i < matchers.size(); ++i) {
            holding |= matchers[i].Matches(value) ? (1U << i) : 0U;
        }
        FuzzRequire(AgreesWithOneOrder(holding), "the comparisons that hold agree on one order",
                    parsed.field + " vs " + parsed.text);
    }
}

void CheckNull(const FindCriterion& parsed, const FieldType& type, LCID lcid) {
    FindCriterion isNull = parsed;
    isNull.op = FindOperator::Equal;
    FindCriterion notNull = parsed;
    notNull.op = FindOperator::NotEqual;
    CFindMatcher equal;
    CFindMatcher notEqual;
    FuzzRequire(equal.Prepare(type, isNull, lcid) && notEqual.Prepare(type, notNull, lcid),
                "a NULL criterion prepares for every type");
    for (const DbValue& value : TableValues()) {
        FuzzRequire(equal.Matches(value) != notEqual.Matches(value),
                    "a value is either NULL or not");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const LCID lcid = input.PickValueInArray(kLocales);
    const std::string text = input.ConsumeRemainingBytesAsString();
    FindCriterion criterion;
    if (!ParseFindCriterion(text, criterion)) {
        return 0;
    }
    FuzzRequire(!criterion.field.empty(), "a parsed criterion names its field", text);
    for (const char* declared : kDeclarations) {
        const FieldType type = FieldTypeFromDeclaration(declared);
        if (criterion.literal == FindLiteral::Null) {
            CheckNull(criterion, type, lcid);
        } else if (criterion.op == FindOperator::Like) {
            CFindMatcher like;
            if (like.Prepare(type, criterion, lcid)) {
                for (const DbValue& value : TableValues()) {
                    (void)like.Matches(value);
                }
            }
        } else {
            CheckComparisons(criterion, type, lcid);
        }
    }
    return 0;
}
