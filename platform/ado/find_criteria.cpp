// Parsing and evaluating Find criteria.
#include "platform/ado/find_criteria.h"

#include <cctype>

#include "platform/ado/case_fold.h"
#include "platform/ado/value_convert.h"
#include "platform/com/ansi_string.h"

namespace {

bool IsWholeNumberType(VARTYPE vt) {
    switch (vt) {
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_I8:
        case VT_INT:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_UINT:
            return true;
        default:
            return false;
    }
}

// Whole numbers and currency hold fewer values than a number can be written as.
bool RoundsToItsType(VARTYPE vt) {
    return IsWholeNumberType(vt) || vt == VT_CY;
}

// The criterion's value as vt: quoted text under the user's locale first, then with '.'.
HRESULT ConvertWritten(const FindCriterion& criterion, LCID lcid, VARTYPE vt, CComVariant& out) {
    const CComVariant written(criterion.text);
    const LCID first = criterion.literal == FindLiteral::Text ? lcid : kProviderLocale;
    HRESULT hr = VariantChangeTypeEx(&out, &written, first, 0, vt);
    if (FAILED(hr) && first != kProviderLocale) {
        hr = VariantChangeTypeEx(&out, &written, kProviderLocale, 0, vt);
    }
    return hr;
}

class CriterionReader {
  public:
    explicit CriterionReader(std::string_view text) : text_(text) {}

    void SkipBlanks() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])) != 0) {
            ++pos_;
        }
    }
    bool AtEnd() {
        SkipBlanks();
        return pos_ == text_.size();
    }
    bool Field(std::string& name) {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == '[') {
            const std::size_t close = text_.find(']', pos_);
            if (close == std::string_view::npos || close == pos_ + 1) {
                return false;
            }
            name = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            return true;
        }
        const std::size_t begin = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) {
            ++pos_;
        }
        name = std::string(text_.substr(begin, pos_ - begin));
        return !name.empty();
    }
    bool Word(std::string_view word) {
        SkipBlanks();
        const std::string_view next = text_.substr(pos_, word.size());
        const bool ends =
            pos_ + word.size() >= text_.size() || !IsNameChar(text_[pos_ + word.size()]);
        if (next.size() == word.size() && EqualsNoCase(next, word) && ends) {
            pos_ += word.size();
            return true;
        }
        return false;
    }
    bool Operator(FindOperator& op) {
        SkipBlanks();
        constexpr struct {
            std::string_view symbol;
            FindOperator op;
        } kOperators[] = {
            {"<>", FindOperator::NotEqual},    {"!=", FindOperator::NotEqual},
            {"<=", FindOperator::LessOrEqual}, {">=", FindOperator::GreaterOrEqual},
            {"=", FindOperator::Equal},        {"<", FindOperator::Less},
            {">", FindOperator::Greater},
        };
        for (const auto& candidate : kOperators) {
            if (text_.substr(pos_, candidate.symbol.size()) == candidate.symbol) {
                pos_ += candidate.symbol.size();
                op = candidate.op;
                return true;
            }
        }
        if (Word("LIKE")) {
            op = FindOperator::Like;
            return true;
        }
        return false;
    }
    bool Value(FindCriterion& criterion) {
        SkipBlanks();
        if (pos_ >= text_.size()) {
            return false;
        }
        if (text_[pos_] == '\'') {
            criterion.literal = FindLiteral::Text;
            return Quoted(criterion.text);
        }
        if (text_[pos_] == '#') {
            const std::size_t close = text_.find('#', pos_ + 1);
            if (close == std::string_view::npos) {
                return false;
            }
            criterion.literal = FindLiteral::Date;
            criterion.text = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            return true;
        }
        if (Word("NULL")) {
            criterion.literal = FindLiteral::Null;
            return true;
        }
        return Number(criterion);
    }

  private:
    static bool IsNameChar(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' ||
               (static_cast<unsigned char>(c) & 0x80) != 0;
    }
    bool Quoted(std::string& value) {
        ++pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c != '\'') {
                value += c;
            } else if (pos_ < text_.size() && text_[pos_] == '\'') {
                value += '\'';
                ++pos_;
            } else {
                return true;
            }
        }
        return false;
    }
    bool Number(FindCriterion& criterion) {
        const std::size_t begin = pos_;
        if (text_[pos_] == '-' || text_[pos_] == '+') {
            ++pos_;
        }
        bool digits = false;
        while (pos_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[pos_])) != 0 || text_[pos_] == '.' ||
                text_[pos_] == 'e' || text_[pos_] == 'E' ||
                ((text_[pos_] == '-' || text_[pos_] == '+') &&
                 (text_[pos_ - 1] == 'e' || text_[pos_ - 1] == 'E')))) {
            digits = digits || std::isdigit(static_cast<unsigned char>(text_[pos_])) != 0;
            ++pos_;
        }
        criterion.literal = FindLiteral::Number;
        criterion.text = std::string(text_.substr(begin, pos_ - begin));
        return digits;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool StartsWith(std::string_view text, std::string_view part) {
    return text.substr(0, part.size()) == part;
}

bool EndsWith(std::string_view text, std::string_view part) {
    return text.size() >= part.size() && text.substr(text.size() - part.size()) == part;
}

bool IsWildcard(char c) {
    return c == '*' || c == '%';
}

}  // namespace

bool ParseFindCriterion(std::string_view text, FindCriterion& criterion) {
    criterion = FindCriterion{};
    CriterionReader reader(text);
    if (!reader.Field(criterion.field)) {
        return false;
    }
    if (reader.Word("IS")) {
        criterion.op = reader.Word("NOT") ? FindOperator::NotEqual : FindOperator::Equal;
        criterion.literal = FindLiteral::Null;
        return reader.Word("NULL") && reader.AtEnd();
    }
    if (!reader.Operator(criterion.op) || !reader.Value(criterion) || !reader.AtEnd()) {
        return false;
    }
    const bool comparable =
        criterion.op == FindOperator::Equal || criterion.op == FindOperator::NotEqual;
    const bool likeOnText =
        criterion.op != FindOperator::Like || criterion.literal == FindLiteral::Text;
    return (criterion.literal != FindLiteral::Null || comparable) && likeOnText;
}

bool CFindMatcher::Prepare(const FieldType& type, const FindCriterion& criterion, LCID lcid) {
    type_ = type;
    criterion_ = criterion;
    lcid_ = lcid;
    asText_ = type.IsText() || criterion.op == FindOperator::Like;
    if (criterion.literal == FindLiteral::Null) {
        return true;
    }
    if (asText_) {
        folded_ = FoldCase(criterion.text);
        std::string_view pattern = folded_;
        anyPrefix_ = !pattern.empty() && IsWildcard(pattern.front());
        if (anyPrefix_) {
            pattern.remove_prefix(1);
        }
        anySuffix_ = !pattern.empty() && IsWildcard(pattern.back());
        if (anySuffix_) {
            pattern.remove_suffix(1);
        }
        pattern_ = std::string(pattern);
        return true;
    }
    if (type.IsBinary()) {
        return false;
    }
    HRESULT hr = ConvertWritten(criterion, lcid, type.vt, value_);
    if (RoundsToItsType(type.vt)) {
        // The field's type would round the value (3.5 to 4) or refuse it (1e20), so it compares
        // as the number written, which then equals none of the field's values.
        CComVariant exact;
        if (FAILED(ConvertWritten(criterion, lcid, VT_DECIMAL, exact)) &&
            FAILED(ConvertWritten(criterion, lcid, VT_R8, exact))) {
            return false;
        }
        if (FAILED(hr) || VarCmp(&value_, &exact, kProviderLocale, 0) != VARCMP_EQ) {
            value_ = std::move(exact);
            hr = S_OK;
        }
    }
    CComVariant whole;
    if (SUCCEEDED(hr) && IsWholeNumberType(type.vt) &&
        SUCCEEDED(VariantChangeTypeEx(&whole, &value_, kProviderLocale, 0, VT_I8)) &&
        VarCmp(&whole, &value_, kProviderLocale, 0) == VARCMP_EQ) {
        wholeValue_ = whole.llVal;
    }
    return SUCCEEDED(hr);
}

bool CFindMatcher::Holds(int order) const {
    switch (criterion_.op) {
        case FindOperator::Equal:
            return order == 0;
        case FindOperator::NotEqual:
            return order != 0;
        case FindOperator::Less:
            return order < 0;
        case FindOperator::Greater:
            return order > 0;
        case FindOperator::LessOrEqual:
            return order <= 0;
        case FindOperator::GreaterOrEqual:
            return order >= 0;
        case FindOperator::Like:
            return false;
    }
    return false;
}

bool CFindMatcher::MatchesText(std::string_view folded) const {
    if (criterion_.op != FindOperator::Like) {
        const int order = folded.compare(folded_);
        return Holds(order < 0 ? -1 : (order > 0 ? 1 : 0));
    }
    if (anyPrefix_ && anySuffix_) {
        return folded.find(pattern_) != std::string_view::npos;
    }
    if (anyPrefix_) {
        return EndsWith(folded, pattern_);
    }
    if (anySuffix_) {
        return StartsWith(folded, pattern_);
    }
    return folded == pattern_;
}

bool CFindMatcher::Matches(const DbValue& value) const {
    if (criterion_.literal == FindLiteral::Null) {
        return IsNull(value) == (criterion_.op == FindOperator::Equal);
    }
    if (IsNull(value)) {
        return false;
    }
    // A whole number against a whole-number field compares as such: searches on keys and counts
    // run over every record, and a variant per record would cost several times as much.
    if (const auto* whole = std::get_if<std::int64_t>(&value); whole != nullptr && wholeValue_) {
        return Holds(*whole < *wholeValue_ ? -1 : (*whole > *wholeValue_ ? 1 : 0));
    }
    if (asText_ && type_.IsText() && std::holds_alternative<std::string>(value)) {
        return MatchesText(FoldCase(std::get<std::string>(value)));
    }
    CComVariant field;
    if (FAILED(DbToVariant(type_, value, field))) {
        return false;
    }
    if (asText_) {
        CComVariant text;
        if (FAILED(VariantChangeTypeEx(&text, &field, lcid_, 0, VT_BSTR))) {
            return false;
        }
        return MatchesText(FoldCase(text.Text()));
    }
    const HRESULT order = VarCmp(&field, &value_, lcid_, 0);
    if (order == VARCMP_NULL || FAILED(order)) {
        return false;
    }
    return Holds(order == VARCMP_LT ? -1 : (order == VARCMP_GT ? 1 : 0));
}
