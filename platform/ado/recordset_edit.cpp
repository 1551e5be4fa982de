// Editing through a recordset: values put into fields, AddNew, Update, CancelUpdate and
// Delete, written by key through the keyset cursor.
#include "platform/ado/recordset_core.h"
#include "platform/ado/value_convert.h"
#include "platform/com/ansi_string.h"
#include "platform/com/lcid.h"

namespace {

std::string ValueText(const VARIANT& value) {
    CComVariant text;
    if (FAILED(VariantChangeType(&text, &value, VARIANT_ALPHABOOL, VT_BSTR))) {
        return "?";
    }
    return std::string(CutToCharBoundary(text.Text(), 60));
}

std::string ConversionMessage(HRESULT hr, const VARIANT& value, const FieldDescription& field) {
    if (hr == adErrDataConversion) {
        return "The value is longer than field '" + field.name + "' allows (" +
               std::to_string(field.type.definedSize) +
               (field.type.IsText() ? " characters)." : " bytes).");
    }
    if (hr == DISP_E_OVERFLOW) {
        return "The value '" + ValueText(value) + "' is out of the range of field '" + field.name +
               "'.";
    }
    return "The value '" + ValueText(value) + "' cannot be converted to the type of field '" +
           field.name + "'.";
}

// The elements of a VT_ARRAY | VT_VARIANT argument, or the argument itself.
std::vector<CComVariant> Elements(const VARIANT& argument) {
    CComVariant plain;
    VariantCopyInd(&plain, &argument);
    std::vector<CComVariant> elements;
    if (plain.vt != (VT_ARRAY | VT_VARIANT)) {
        elements.push_back(std::move(plain));
        return elements;
    }
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(plain.parray, 1, &lower);
    SafeArrayGetUBound(plain.parray, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        CComVariant element;
        SafeArrayGetElement(plain.parray, &i, static_cast<VARIANT*>(&element));
        elements.push_back(std::move(element));
    }
    return elements;
}

bool IsMissing(const VARIANT& argument) {
    return (argument.vt == VT_ERROR && argument.scode == DISP_E_PARAMNOTFOUND) ||
           argument.vt == VT_EMPTY;
}

}  // namespace

HRESULT CRecordsetCore::PutFieldValue(std::size_t field, const VARIANT& value) {
    HRESULT hr = RequireOpen();
    if (FAILED(hr)) {
        return hr;
    }
    if (!Updatable()) {
        return NotUpdatable();
    }
    const FieldDescription& info = fields_[field];
    if (!info.updatable) {
        return Fail(adErrFeatureNotAvailable,
                    "Field '" + info.name +
                        "' cannot be updated: it is no column of the "
                        "table.",
                    kAdoFieldSource);
    }
    DbValue stored;
    hr = VariantToDb(info.type, value, GetUserDefaultLCID(), stored);
    if (FAILED(hr)) {
        return Fail(hr, ConversionMessage(hr, value, info), kAdoFieldSource);
    }
    if (IsNull(stored) && !info.nullable) {
        return Fail(adErrDataConversion, "Field '" + info.name + "' cannot be NULL.",
                    kAdoFieldSource);
    }
    if (edit_.mode == adEditNone) {
        const DbRow* row = nullptr;
        hr = CurrentRow(row);
        if (FAILED(hr)) {
            return hr;
        }
        edit_.mode = adEditInProgress;
        edit_.values.assign(fields_.size(), DbValue{});
        edit_.changed.assign(fields_.size(), false);
    }
    edit_.values[field] = std::move(stored);
    edit_.changed[field] = true;
    return S_OK;
}

HRESULT CRecordsetCore::PutValues(const VARIANT& fields, const VARIANT& values) {
    const std::vector<CComVariant> names = Elements(fields);
    const std::vector<CComVariant> given = Elements(values);
    if (names.size() != given.size()) {
        return Fail(adErrInvalidArgument, "The lists of fields and of values differ in length.");
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::size_t field = 0;
        HRESULT hr = FieldIndex(names[i], field);
        if (SUCCEEDED(hr)) {
            hr = PutFieldValue(field, given[i]);
        }
        if (FAILED(hr)) {
            return hr;
        }
    }
    return S_OK;
}

HRESULT CRecordsetCore::StorePending() {
    std::vector<std::size_t> columns;
    DbRow values;
    for (std::size_t i = 0; i < edit_.changed.size(); ++i) {
        if (edit_.changed[i]) {
            columns.push_back(i);
            values.push_back(edit_.values[i]);
        }
    }
    CKeysetCursor* keyset = Keyset();
    if (edit_.mode == adEditAdd) {
        std::size_t position = 0;
        if (!keyset->Insert(columns, values, position)) {
            return ProviderFailure();
        }
        ResetEdit();
        place_ = Place::Record;
        position_ = position;
        return S_OK;
    }
    bool found = true;
    if (!columns.empty() && !keyset->Update(position_, columns, values, found)) {
        return ProviderFailure();
    }
    if (!found) {
        return Fail(DB_E_CONCURRENCYVIOLATION,
                    "Row cannot be located for updating. Some values may have been changed "
                    "since it was last read.");
    }
    ResetEdit();
    return S_OK;
}

HRESULT CRecordsetCore::AddNew(const VARIANT& fields, const VARIANT& values) {
    HRESULT hr = RequireOpen();
    if (SUCCEEDED(hr) && !Updatable()) {
        hr = NotUpdatable();
    }
    if (SUCCEEDED(hr) && edit_.mode != adEditNone) {
        hr = StorePending();
    }
    if (FAILED(hr)) {
        return hr;
    }
    edit_.mode = adEditAdd;
    edit_.values.assign(fields_.size(), DbValue{});
    edit_.changed.assign(fields_.size(), false);
    edit_.place = place_;
    edit_.position = position_;
    if (IsMissing(fields)) {
        return S_OK;
    }
    hr = PutValues(fields, values);
    return SUCCEEDED(hr) ? StorePending() : hr;
}

HRESULT CRecordsetCore::Update(const VARIANT& fields, const VARIANT& values) {
    HRESULT hr = RequireOpen();
    if (SUCCEEDED(hr) && !Updatable()) {
        hr = NotUpdatable();
    }
    if (SUCCEEDED(hr) && !IsMissing(fields)) {
        hr = PutValues(fields, values);
    }
    if (FAILED(hr) || edit_.mode == adEditNone) {
        return hr;
    }
    return StorePending();
}

HRESULT CRecordsetCore::CancelUpdate() {
    const HRESULT hr = RequireOpen();
    if (SUCCEEDED(hr) && edit_.mode == adEditAdd) {
        place_ = edit_.place;
        position_ = edit_.position;
    }
    ResetEdit();
    return hr;
}

HRESULT CRecordsetCore::Delete(LONG affect) {
    HRESULT hr = RequireOpen();
    if (FAILED(hr)) {
        return hr;
    }
    if (affect != adAffectCurrent) {
        return Fail(adErrFeatureNotAvailable,
                    "Only the current record can be deleted (adAffectCurrent).");
    }
    if (!Updatable()) {
        return NotUpdatable();
    }
    if (edit_.mode == adEditAdd) {
        return Fail(adErrIllegalOperation,
                    "A new record is being added: call Update or CancelUpdate before Delete.");
    }
    const DbRow* row = nullptr;
    hr = CurrentRow(row);
    if (FAILED(hr)) {
        return hr;
    }
    ResetEdit();
    bool found = true;
    if (!Keyset()->Delete(position_, found)) {
        return ProviderFailure();
    }
    return found ? S_OK
                 : Fail(DB_E_CONCURRENCYVIOLATION,
                        "Row cannot be located for deletion: another user has deleted it or "
                        "changed its key.");
}
