// Declared types and PostgreSQL type OIDs to the object model's field types.
#include "platform/ado/field_type.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

FieldType Fixed(DataTypeEnum type, LONG size, BYTE precision, VARTYPE vt) {
    FieldType t;
    t.type = type;
    t.definedSize = size;
    t.precision = precision;
    t.vt = vt;
    return t;
}

FieldType Text(DataTypeEnum type, LONG size) {
    FieldType t;
    t.type = type;
    t.definedSize = size;
    t.vt = VT_BSTR;
    return t;
}

FieldType Binary(DataTypeEnum type, LONG size) {
    FieldType t;
    t.type = type;
    t.definedSize = size;
    t.vt = VT_ARRAY | VT_UI1;
    return t;
}

FieldType DateType(bool dateOnly) {
    FieldType t = Fixed(adDate, 8, 255, VT_DATE);
    t.dateOnly = dateOnly;
    return t;
}

FieldType Numeric(int precision, int scale) {
    FieldType t = Fixed(adNumeric, 19, static_cast<BYTE>(precision), VT_DECIMAL);
    t.scale = static_cast<BYTE>(scale);
    return t;
}

// The numbers in "NAME(a, b)": -1 when absent or not a number.
struct TypeArguments {
    int first = -1;
    int second = -1;
};

int ReadNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    int value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0 ? value : -1;
}

TypeArguments ArgumentsOf(std::string_view declared) {
    TypeArguments args;
    const std::size_t open = declared.find('(');
    const std::size_t close = declared.find(')', open);
    if (open == std::string_view::npos || close == std::string_view::npos) {
        return args;
    }
    const std::string_view inner = declared.substr(open + 1, close - open - 1);
    const std::size_t comma = inner.find(',');
    args.first = ReadNumber(inner.substr(0, comma));
    if (comma != std::string_view::npos) {
        args.second = ReadNumber(inner.substr(comma + 1));
    }
    return args;
}

// The type name without its arguments, e.g. "UNSIGNED BIG INT" from "unsigned big int(8)".
std::string BaseName(const std::string& upper) {
    std::string base = upper.substr(0, upper.find('('));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    return base;
}

bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

FieldType TextOfLength(DataTypeEnum type, int length) {
    return length > 0 ? Text(type, length) : Text(adLongVarChar, kLongFieldSize);
}

// SQLite's affinity rules, for declared types the named ones do not cover.
FieldType ByAffinity(const std::string& upper) {
    if (Contains(upper, "INT")) {
        return Fixed(adInteger, 4, 10, VT_I4);
    }
    if (Contains(upper, "CHAR") || Contains(upper, "CLOB") || Contains(upper, "TEXT")) {
        return TextOfLength(adVarChar, ArgumentsOf(upper).first);
    }
    if (Contains(upper, "BLOB")) {
        return Binary(adLongVarBinary, kLongFieldSize);
    }
    if (Contains(upper, "REAL") || Contains(upper, "FLOA") || Contains(upper, "DOUB")) {
        return Fixed(adDouble, 8, 15, VT_R8);
    }
    return Numeric(38, 10);
}

}  // namespace

LONG FieldType::TypeAttributes() const {
    if (IsLong()) {
        return adFldLong;
    }
    if (IsText() && type != adChar && type != adWChar) {
        return 0;
    }
    if (type == adVarBinary) {
        return 0;
    }
    return adFldFixed;
}

FieldType FieldTypeFromDeclaration(std::string_view declared) {
    const std::string upper = Upper(declared);
    const std::string base = BaseName(upper);
    const TypeArguments args = ArgumentsOf(upper);
    if (base.empty()) {
        return Text(adVarChar, 255);
    }
    if (base == "INTEGER" || base == "INT" || base == "MEDIUMINT" || base == "INT4") {
        return Fixed(adInteger, 4, 10, VT_I4);
    }
    if (base == "SMALLINT" || base == "INT2" || base == "TINYINT") {
        return Fixed(adSmallInt, 2, 5, VT_I2);
    }
    if (base == "BIGINT" || base == "INT8" || base == "UNSIGNED BIG INT") {
        return Fixed(adBigInt, 8, 19, VT_DECIMAL);
    }
    if (base == "REAL" || base == "DOUBLE" || base == "DOUBLE PRECISION" || base == "FLOAT" ||
        base == "FLOAT8") {
        return Fixed(adDouble, 8, 15, VT_R8);
    }
    if (base == "CURRENCY" || base == "MONEY" || base == "SMALLMONEY") {
        return Fixed(adCurrency, 8, 19, VT_CY);
    }
    if (base == "NUMERIC" || base == "DECIMAL") {
        return Numeric(args.first > 0 ? std::min(args.first, 38) : 38,
                       args.second >= 0 ? std::min(args.second, 28) : 0);
    }
    if (base == "DATE") {
        return DateType(true);
    }
    if (base == "DATETIME" || base == "TIMESTAMP" || base == "SMALLDATETIME") {
        return DateType(false);
    }
    if (base == "BOOLEAN" || base == "BOOL" || base == "BIT" || base == "LOGICAL") {
        return Fixed(adBoolean, 2, 255, VT_BOOL);
    }
    if (base == "VARCHAR" || base == "NVARCHAR" || base == "VARYING CHARACTER" ||
        base == "NATIVE CHARACTER" || base == "CHARACTER VARYING" || base == "STRING") {
        return TextOfLength(adVarChar, args.first);
    }
    if (base == "CHAR" || base == "CHARACTER" || base == "NCHAR") {
        return TextOfLength(adChar, args.first > 0 ? args.first : 1);
    }
    if (base == "TEXT" || base == "CLOB" || base == "MEMO" || base == "LONGTEXT") {
        return Text(adLongVarChar, kLongFieldSize);
    }
    if (base == "BINARY") {
        return args.first > 0 ? Binary(adBinary, args.first)
                              : Binary(adLongVarBinary, kLongFieldSize);
    }
    if (base == "VARBINARY") {
        return args.first > 0 ? Binary(adVarBinary, args.first)
                              : Binary(adLongVarBinary, kLongFieldSize);
    }
    if (base == "BLOB" || base == "BYTEA" || base == "IMAGE" || base == "LONGBLOB") {
        return Binary(adLongVarBinary, kLongFieldSize);
    }
    return ByAffinity(upper);
}

FieldType FieldTypeFromValue(const DbValue& value) {
    if (std::holds_alternative<std::int64_t>(value)) {
        return Fixed(adInteger, 4, 10, VT_I4);
    }
    if (std::holds_alternative<double>(value)) {
        return Fixed(adDouble, 8, 15, VT_R8);
    }
    if (std::holds_alternative<DbBlob>(value)) {
        return Binary(adLongVarBinary, kLongFieldSize);
    }
    return Text(adVarChar, 255);
}

namespace pg_oid {
constexpr std::uint32_t kBool = 16;
constexpr std::uint32_t kBytea = 17;
constexpr std::uint32_t kChar = 18;
constexpr std::uint32_t kName = 19;
constexpr std::uint32_t kInt8 = 20;
constexpr std::uint32_t kInt2 = 21;
constexpr std::uint32_t kInt4 = 23;
constexpr std::uint32_t kText = 25;
constexpr std::uint32_t kOid = 26;
constexpr std::uint32_t kFloat4 = 700;
constexpr std::uint32_t kFloat8 = 701;
constexpr std::uint32_t kMoney = 790;
constexpr std::uint32_t kBpchar = 1042;
constexpr std::uint32_t kVarchar = 1043;
constexpr std::uint32_t kDate = 1082;
constexpr std::uint32_t kTimestamp = 1114;
constexpr std::uint32_t kTimestampTz = 1184;
constexpr std::uint32_t kNumeric = 1700;
}  // namespace pg_oid

FieldType FieldTypeFromPostgres(std::uint32_t typeOid, int typmod) {
    using namespace pg_oid;
    // Character types carry their length + 4 in the modifier, numeric ((p << 16) | s) + 4.
    const int length = typmod >= 4 ? typmod - 4 : -1;
    switch (typeOid) {
        case kBool:
            return Fixed(adBoolean, 2, 255, VT_BOOL);
        case kBytea:
            return Binary(adLongVarBinary, kLongFieldSize);
        case kInt8:
            return Fixed(adBigInt, 8, 19, VT_DECIMAL);
        case kInt2:
            return Fixed(adSmallInt, 2, 5, VT_I2);
        case kInt4:
        case kOid:
            return Fixed(adInteger, 4, 10, VT_I4);
        case kFloat4:
            return Fixed(adSingle, 4, 7, VT_R4);
        case kFloat8:
            return Fixed(adDouble, 8, 15, VT_R8);
        case kMoney:
            return Fixed(adCurrency, 8, 19, VT_CY);
        case kNumeric: {
            if (length < 0) {
                return Numeric(38, 10);
            }
            const int precision = (length >> 16) & 0xFFFF;
            const int scale = length & 0xFFFF;
            if (precision == 19 && scale == 4) {
                return Fixed(adCurrency, 8, 19, VT_CY);
            }
            return Numeric(std::min(precision, 38), std::min(scale, 28));
        }
        case kDate:
            return DateType(true);
        case kTimestamp:
        case kTimestampTz:
            return DateType(false);
        case kBpchar:
            return TextOfLength(adChar, length > 0 ? length : 1);
        case kChar:
            return Text(adChar, 1);
        case kName:
            return Text(adVarChar, 63);
        case kVarchar:
            return TextOfLength(adVarChar, length);
        case kText:
        default:
            return Text(adLongVarChar, kLongFieldSize);
    }
}
