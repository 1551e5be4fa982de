// A column's text and the field of its record: the text shown for a field's value, and the write
// of a typed text, which reaches the field only when the field can hold it as shown.
#pragma once

#include <string>
#include <string_view>

#include "controls/common/data_recordset.h"
#include "controls/common/design_item.h"

enum class FieldWriteResult {
    Written,  // the field holds the text and the record is saved
    NotHeld,  // the field's type cannot hold the text as shown (yet); nothing was written
    Refused,  // the database refused the write; the record keeps its value
};

// The text a column with this mask shows for the field in the current record: a date in a
// date-layout mask is shown in that layout, so that typing lines up with it; every other value
// as FieldValueText gives it. False when the field cannot be read.
bool ReadColumnText(CDataRecordset& recordset, int field, std::string_view mask, std::string& text);

// What a control tells a clerk when a typed text cannot go into its field as shown.
inline constexpr std::string_view kNotHeldText =
    "The column's field cannot hold the text typed into it.";

// Puts a typed text into the field of the current record, or of the record being added, without
// saving it: NotHeld when the field cannot hold the text as shown (see WriteColumnText),
// Refused when the field refuses it, Written when it holds it.
FieldWriteResult PutColumnText(CDataRecordset& recordset, int field, std::string_view mask,
                               std::string_view text);

// Writes a typed text into the field of the current record and saves the record. A date is
// written only when the text is a complete, valid date (in the mask's layout when the mask is
// one), keeping the time of day the field held; a whole number only when the text is one that
// fits; other numbers and truth values when the text reads as one; a blank only into a field
// that may be null. A refused write is cancelled, so that the record keeps its value.
FieldWriteResult WriteColumnText(CDataRecordset& recordset, int field, std::string_view mask,
                                 std::string_view text);

// Writes a design column's typed text into the field as WriteColumnText does. A write the
// database refuses gives way to the record's value at once, with the desktop's beep, so that
// nothing on screen claims a value the record does not hold. True when the text waits on
// screen unwritten because the field cannot hold it yet; the caller shows the record's value
// again when the column is left.
bool WriteTypedColumn(CDataRecordset& recordset, int field, DesignItem& column);
