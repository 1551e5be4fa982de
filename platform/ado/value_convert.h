// Field values between the providers' form (DbValue) and VARIANTs of the field's type, and the
// ISO date text both providers store dates as.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ado/db_value.h"
#include "platform/ado/field_type.h"
#include "platform/com/com_variant.h"

// The locale of the providers' own text forms of numbers: '.' and no group separators.
constexpr LCID kProviderLocale = 0x0409;

// The value as Field.Value gives it: of the type's variant type, VT_NULL for NULL, or the
// stored text (VT_BSTR) when the column holds text its type cannot read.
HRESULT DbToVariant(const FieldType& type, const DbValue& value, CComVariant& out);

// A value put into a field, converted to the field's type. Text is read under lcid; a text of
// blanks alone is NULL for every type that is not text. Failures: DISP_E_TYPEMISMATCH,
// DISP_E_OVERFLOW, and adErrDataConversion for text or bytes longer than the field.
HRESULT VariantToDb(const FieldType& type, const VARIANT& value, LCID lcid, DbValue& out);

// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"; a 'T' may stand for the blank, and fractions of a
// second and a time zone suffix are ignored.
std::optional<DATE> ParseIsoDate(std::string_view text);
std::string FormatIsoDate(DATE date, bool dateOnly);

// Characters (not bytes) of UTF-8 text.
std::size_t Utf8Length(std::string_view text);

// The value as plain text, for messages and for text fields holding other storage classes.
std::string DbValueText(const DbValue& value);
