// The type of a field as the object model describes it (DataTypeEnum, sizes, the variant type
// of its values), worked out from a declared SQL type, a PostgreSQL type OID or a first value.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/ado/ado.h"
#include "platform/ado/db_value.h"

struct FieldType {
    DataTypeEnum type = adVarChar;
    LONG definedSize = 255;
    BYTE precision = 255;
    BYTE scale = 255;
    // The value's type as Field.Value gives it.
    VARTYPE vt = VT_BSTR;
    // DATE columns are written back as a date alone, DATETIME / TIMESTAMP with the time.
    bool dateOnly = false;

    bool IsLong() const {
        return type == adLongVarChar || type == adLongVarBinary || type == adLongVarWChar;
    }
    bool IsText() const {
        return type == adVarChar || type == adChar || type == adLongVarChar || type == adVarWChar ||
               type == adWChar || type == adLongVarWChar;
    }
    bool IsBinary() const {
        return type == adBinary || type == adVarBinary || type == adLongVarBinary;
    }
    // adFldFixed and adFldLong as the type implies.
    LONG TypeAttributes() const;
};

constexpr LONG kLongFieldSize = 2147483647;

// SQLite's declared column type (empty for an expression); the rules in ado.h, then SQLite's
// own affinity rules for anything else.
FieldType FieldTypeFromDeclaration(std::string_view declared);
// A column without a declared type, from its first non-NULL value (or text when it has none).
FieldType FieldTypeFromValue(const DbValue& value);
// A PostgreSQL column from its type OID and type modifier.
FieldType FieldTypeFromPostgres(std::uint32_t typeOid, int typmod);
