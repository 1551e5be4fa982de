// Column texts to and from the fields of the current record, held exactly or not written.
#include "controls/common/column_field.h"

#include <cmath>
#include <optional>

#include "controls/common/date_mask.h"
#include "controls/common/field_text.h"
#include "platform/com/var_text.h"
#include "platform/dialogs/dialog_service.h"
#include "platform/ui/wnd.h"

namespace {

struct WholeRange {
    double lo;
    double hi;
};

bool IsDateType(LONG type) {
    return type == adDate || type == adDBDate || type == adDBTimeStamp;
}

std::optional<WholeRange> WholeNumberRange(LONG type) {
    switch (type) {
        case adTinyInt:
            return WholeRange{-128.0, 127.0};
        case adUnsignedTinyInt:
            return WholeRange{0.0, 255.0};
        case adSmallInt:
            return WholeRange{-32768.0, 32767.0};
        case adUnsignedSmallInt:
            return WholeRange{0.0, 65535.0};
        case adInteger:
            return WholeRange{-2147483648.0, 2147483647.0};
        case adUnsignedInt:
            return WholeRange{0.0, 4294967295.0};
        case adBigInt:
            // The doubles nearest the 64-bit ends; a typed number past them does not fit.
            return WholeRange{-9223372036854775808.0, 9223372036854774784.0};
        default:
            return std::nullopt;
    }
}

bool IsRealType(LONG type) {
    return type == adSingle || type == adDouble || type == adCurrency || type == adNumeric ||
           type == adDecimal;
}

std::optional<double> NumberOf(const std::string& text) {
    double value = 0;
    if (FAILED(VarR8FromStr(text.c_str(), LOCALE_USER_DEFAULT, 0, &value)) ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool HoldsWholeNumber(const std::string& text, const WholeRange& range) {
    const std::optional<double> value = NumberOf(text);
    return value && std::trunc(*value) == *value && *value >= range.lo && *value <= range.hi;
}

// The date a text stands for in the field, or nothing when the text is not a complete, valid
// date. A text without a time of day keeps the time the field holds.
std::optional<DATE> TypedDate(CDataRecordset& recordset, int field, std::string_view mask,
                              const std::string& text) {
    std::optional<DATE> date;
    bool dateOnly = true;
    if (const auto layout = DateLayoutOfMask(mask, LOCALE_USER_DEFAULT)) {
        date = ParseMaskedDate(text, *layout);
    } else if (DATE parsed = 0;
               SUCCEEDED(VarDateFromStr(text.c_str(), LOCALE_USER_DEFAULT, 0, &parsed))) {
        date = parsed;
        dateOnly = text.find(':') == std::string::npos;
    }
    CComVariant held;
    if (!date || !dateOnly || !recordset.GetFieldValue(field, held) || held.vt != VT_DATE) {
        return date;
    }
    return WithTimeOfDay(*date, held.date);
}

// Whether a field of a type other than a date holds a non-blank text as shown.
bool HoldsText(LONG type, const std::string& text) {
    if (const auto range = WholeNumberRange(type)) {
        return HoldsWholeNumber(text, *range);
    }
    if (IsRealType(type)) {
        return NumberOf(text).has_value();
    }
    VARIANT_BOOL flag = VARIANT_FALSE;
    return type != adBoolean ||
           SUCCEEDED(VarBoolFromStr(text.c_str(), LOCALE_USER_DEFAULT, 0, &flag));
}

bool IsTextType(LONG type) {
    return !IsDateType(type) && !WholeNumberRange(type) && !IsRealType(type) && type != adBoolean;
}

// The value a typed text stores, or nothing when the field cannot hold it as shown.
std::optional<CComVariant> ValueToWrite(CDataRecordset& recordset, int field, std::string_view mask,
                                        std::string_view typed) {
    FieldInfo info;
    if (!recordset.GetFieldInfo(field, info)) {
        return std::nullopt;
    }
    const std::string text(TrimWhiteSpace(typed));
    if (text.empty() && !IsTextType(info.type)) {
        return info.nullable ? std::optional(CComVariant(text)) : std::nullopt;
    }
    if (IsDateType(info.type)) {
        const std::optional<DATE> date = TypedDate(recordset, field, mask, text);
        return date ? std::optional(CComVariant::Date(*date)) : std::nullopt;
    }
    return HoldsText(info.type, text) ? std::optional(CComVariant(text)) : std::nullopt;
}

}  // namespace

bool ReadColumnText(CDataRecordset& recordset, int field, std::string_view mask,
                    std::string& text) {
    CComVariant value;
    if (!recordset.GetFieldValue(field, value)) {
        return false;
    }
    const auto layout =
        value.vt == VT_DATE ? DateLayoutOfMask(mask, LOCALE_USER_DEFAULT) : std::nullopt;
    text = layout ? FormatMaskedDate(value.date, *layout) : FieldValueText(value);
    return true;
}

FieldWriteResult PutColumnText(CDataRecordset& recordset, int field, std::string_view mask,
                               std::string_view text) {
    const std::optional<CComVariant> value = ValueToWrite(recordset, field, mask, text);
    if (!value) {
        return FieldWriteResult::NotHeld;
    }
    return recordset.SetFieldValue(field, *value) ? FieldWriteResult::Written
                                                  : FieldWriteResult::Refused;
}

FieldWriteResult WriteColumnText(CDataRecordset& recordset, int field, std::string_view mask,
                                 std::string_view text) {
    FieldWriteResult result = PutColumnText(recordset, field, mask, text);
    if (result == FieldWriteResult::Written && !recordset.Update()) {
        result = FieldWriteResult::Refused;
    }
    if (result == FieldWriteResult::Refused) {
        recordset.CancelUpdate();
    }
    return result;
}

bool WriteTypedColumn(CDataRecordset& recordset, int field, DesignItem& column) {
    const FieldWriteResult result = WriteColumnText(recordset, field, column.mask, column.text);
    if (result == FieldWriteResult::Refused) {
        ReadColumnText(recordset, field, column.mask, column.text);
        MessageBeep(MB_OK);
    }
    return result == FieldWriteResult::NotHeld;
}
