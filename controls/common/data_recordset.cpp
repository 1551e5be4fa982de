// The recordset wrapper: opening a query through ADO, moving, bookmarks, field texts, edits
// and searches, every failure turned into a result and a last error text.
#include "controls/common/data_recordset.h"

#include <algorithm>
#include <utility>

#include "controls/common/ado_call.h"
#include "controls/common/field_text.h"
#include "platform/com/ansi_string.h"
#include "platform/com/bstr.h"
#include "platform/com/error_info.h"
#include "platform/com/error_message.h"
#include "platform/com/exception_guard.h"

namespace {

// What the failing call's error object says beyond its result code, on a line of its own: a
// provider's failure has no system message ("Unknown error 0x800A0BB8"), so without it a clerk
// could not tell a locked or moved database file from a refused value.
std::string FailureDetail() {
    const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
    return texts && !texts->description.empty() ? "\n" + texts->description : std::string();
}

constexpr std::string_view kAddNotSupportedText = "Recordset does not support adding new records.";
constexpr std::string_view kUpdateNotSupportedText = "Recordset does not support updating records.";
constexpr std::string_view kDeleteNotSupportedText = "Recordset does not support deleting records.";
constexpr std::string_view kFindNotSupportedText = "Recordset does not support searching records.";
constexpr std::string_view kNewRecordPendingText =
    "A new record is currently being edited..Call Update or CancelUpdate before calling this "
    "function again!";

VARIANT PositionIndex(int position) {
    VARIANT index;
    index.vt = VT_I4;
    index.lVal = position;
    return index;
}

// The criterion that finds the value as it is: quotes inside it are doubled.
std::string EqualsCriterion(std::string_view fieldName, std::string_view value) {
    std::string criterion(fieldName);
    criterion += "='";
    for (const char c : value) {
        criterion += c;
        if (c == '\'') {
            criterion += '\'';
        }
    }
    criterion += '\'';
    return criterion;
}

}  // namespace

std::string_view FieldTypeName(LONG type) {
    switch (type) {
        case adBoolean:
            return "BOOL";
        case adBinary:
            return "BYTE";
        case adInteger:
            return "INT";
        case adCurrency:
            return "CURRENCY";
        case adSingle:
            return "SINGLE";
        case adDouble:
            return "DOUBLE";
        case adDate:
            return "DATE";
        case adVarBinary:
        case adLongVarBinary:
            return "BINARY";
        default:
            return "STRING";
    }
}

template <class Body>
auto CDataRecordset::Guarded(Body&& body) noexcept {
    return GuardOperation("CDataRecordset", std::forward<Body>(body),
                          [this](HRESULT hr) noexcept { NoteFailure(hr); });
}

template <class Body>
auto CDataRecordset::Guarded(Body&& body) const noexcept {
    return GuardOperation("CDataRecordset", std::forward<Body>(body));
}

template <class Body>
bool CDataRecordset::Move(Body&& body) noexcept {
    const unsigned failuresBefore = failures_;
    const bool moved = Guarded(std::forward<Body>(body));
    moveFailed_ = !moved && failures_ != failuresBefore;
    return moved;
}

CDataRecordset::~CDataRecordset() {
    if (open_) {
        recordset_->Close();
    }
}

bool CDataRecordset::Open(std::string_view sql, const RecordsetOpenOptions& how) {
    return Guarded([&] {
        if (open_ || connection_.GetConnection() == nullptr) {
            return false;
        }
        if (!OpenRecordset(sql, how) || !DescribeFields()) {
            LONG state = adStateClosed;
            if (recordset_ && SUCCEEDED(recordset_->get_State(&state)) && state != adStateClosed) {
                recordset_->Close();
            }
            recordset_.Release();
            fields_.clear();
            return false;
        }
        open_ = true;
        return true;
    });
}

void CDataRecordset::Close() {
    Guarded([&] {
        if (!open_) {
            return;
        }
        open_ = false;
        fields_.clear();
        Check(recordset_->Close());
        recordset_.Release();
    });
}

bool CDataRecordset::MoveFirst() {
    return Move([&] {
        bool bof = true;
        return open_ && Check(recordset_->MoveFirst()) && AtBOF(bof) && !bof;
    });
}

bool CDataRecordset::MoveLast() {
    return Move([&] {
        bool eof = true;
        return open_ && Check(recordset_->MoveLast()) && AtEOF(eof) && !eof;
    });
}

bool CDataRecordset::MoveNext() {
    return Move([&] {
        bool eof = true;
        if (!open_ || !Check(recordset_->MoveNext()) || !AtEOF(eof)) {
            return false;
        }
        if (eof) {
            Check(recordset_->MoveLast());
        }
        return !eof;
    });
}

bool CDataRecordset::MovePrevious() {
    return Move([&] {
        bool bof = true;
        if (!open_ || !Check(recordset_->MovePrevious()) || !AtBOF(bof)) {
            return false;
        }
        if (bof) {
            Check(recordset_->MoveFirst());
        }
        return !bof;
    });
}

bool CDataRecordset::MoveUnbounded(RecordMove move) {
    return Move([&] {
        if (!open_) {
            return false;
        }
        switch (move) {
            case RecordMove::First:
                return Check(recordset_->MoveFirst());
            case RecordMove::Last:
                return Check(recordset_->MoveLast());
            case RecordMove::Next:
                return Check(recordset_->MoveNext());
            case RecordMove::Previous:
                return Check(recordset_->MovePrevious());
        }
        return false;
    });
}

bool CDataRecordset::GetBookmark(CComVariant& bookmark) {
    return Guarded([&] {
        bool supported = false;
        CComVariant taken;
        if (!open_ || !Supports(adBookmark, supported) || !supported ||
            !Check(recordset_->get_Bookmark(&taken))) {
            return false;
        }
        bookmark = std::move(taken);
        return true;
    });
}

bool CDataRecordset::SetBookmark(const VARIANT& bookmark) {
    return Guarded([&] { return open_ && Check(recordset_->put_Bookmark(Borrowed(bookmark))); });
}

bool CDataRecordset::GetRecordCount(LONG& count) {
    return Guarded([&] {
        CComVariant saved;
        bool bof = true;
        bool eof = true;
        if (!open_ || !TakeBookmarkIfAny(saved) || !AtBOF(bof) || !AtEOF(eof)) {
            return false;
        }
        // An empty recordset has no last record to move to.
        if (!(bof && eof) && !Check(recordset_->MoveLast())) {
            return false;
        }
        LONG records = 0;
        if (!Check(recordset_->get_RecordCount(&records))) {
            return false;
        }
        if (saved.vt != VT_EMPTY && !Check(recordset_->put_Bookmark(Borrowed(saved)))) {
            return false;
        }
        count = records;
        return true;
    });
}

bool CDataRecordset::GetFieldCount(int& count) const {
    if (!open_) {
        return false;
    }
    count = static_cast<int>(fields_.size());
    return true;
}

int CDataRecordset::FieldIndex(std::string_view name) const {
    if (!open_) {
        return -1;
    }
    const auto found = std::find_if(fields_.begin(), fields_.end(), [&](const FieldInfo& field) {
        return EqualsNoCase(field.name, name);
    });
    return found == fields_.end() ? -1 : static_cast<int>(found - fields_.begin());
}

bool CDataRecordset::GetFieldName(int index, std::string& name) const {
    return Guarded([&] {
        FieldInfo info;
        if (!GetFieldInfo(index, info)) {
            return false;
        }
        name = std::move(info.name);
        return true;
    });
}

bool CDataRecordset::GetFieldInfo(int index, std::string& name, std::string& typeName,
                                  int& definedSize) const {
    return Guarded([&] {
        FieldInfo info;
        if (!GetFieldInfo(index, info)) {
            return false;
        }
        name = std::move(info.name);
        typeName = std::move(info.typeName);
        definedSize = info.definedSize;
        return true;
    });
}

bool CDataRecordset::GetFieldInfo(int index, FieldInfo& info) const {
    return Guarded([&] {
        if (!open_ || index < 0 || static_cast<std::size_t>(index) >= fields_.size()) {
            return false;
        }
        info = fields_[static_cast<std::size_t>(index)];
        return true;
    });
}

bool CDataRecordset::GetFieldText(std::string_view name, std::string& text) {
    return Guarded([&] {
        const CComVariant index(name);
        return open_ && FieldText(Borrowed(index), text);
    });
}

bool CDataRecordset::GetFieldText(int index, std::string& text) {
    return Guarded(
        [&] { return open_ && IsFieldIndex(index) && FieldText(PositionIndex(index), text); });
}

bool CDataRecordset::SetFieldText(std::string_view name, std::string_view text) {
    return Guarded([&] {
        const CComVariant index(name);
        const CComVariant value(TrimWhiteSpace(text));
        return open_ && PutFieldValue(Borrowed(index), Borrowed(value));
    });
}

bool CDataRecordset::SetFieldText(int index, std::string_view text) {
    return Guarded([&] {
        const CComVariant value(TrimWhiteSpace(text));
        return open_ && IsFieldIndex(index) && PutFieldValue(PositionIndex(index), Borrowed(value));
    });
}

bool CDataRecordset::GetFieldValue(int index, CComVariant& value) {
    return Guarded(
        [&] { return open_ && IsFieldIndex(index) && FieldValue(PositionIndex(index), value); });
}

bool CDataRecordset::SetFieldValue(int index, const VARIANT& value) {
    return Guarded(
        [&] { return open_ && IsFieldIndex(index) && PutFieldValue(PositionIndex(index), value); });
}

bool CDataRecordset::IsEditingNew() {
    return Guarded([&] {
        bool editingNew = false;
        return open_ && EditingNew(editingNew) && editingNew;
    });
}

bool CDataRecordset::AddNew() {
    return Guarded([&] {
        bool supported = false;
        bool editingNew = false;
        if (!open_ || !Supports(adAddNew, supported)) {
            return false;
        }
        if (!supported) {
            return Refuse(kAddNotSupportedText);
        }
        if (!EditingNew(editingNew)) {
            return false;
        }
        if (editingNew) {
            return Refuse(kNewRecordPendingText);
        }
        const CComVariant missing = CComVariant::Missing();
        return Check(recordset_->AddNew(Borrowed(missing), Borrowed(missing)));
    });
}

bool CDataRecordset::Update() {
    return Guarded([&] {
        bool supported = false;
        if (!open_ || !Supports(adUpdate, supported)) {
            return false;
        }
        if (!supported) {
            return Refuse(kUpdateNotSupportedText);
        }
        const CComVariant missing = CComVariant::Missing();
        return Check(recordset_->Update(Borrowed(missing), Borrowed(missing)));
    });
}

bool CDataRecordset::CancelUpdate() {
    return Guarded([&] { return open_ && Check(recordset_->CancelUpdate()); });
}

bool CDataRecordset::Delete() {
    return Guarded([&] {
        bool supported = false;
        bool editingNew = false;
        if (!open_ || !Supports(adDelete, supported)) {
            return false;
        }
        if (!supported) {
            return Refuse(kDeleteNotSupportedText);
        }
        if (!EditingNew(editingNew)) {
            return false;
        }
        if (editingNew) {
            return Refuse(kNewRecordPendingText);
        }
        return Check(recordset_->Delete(adAffectCurrent)) &&
               Check(recordset_->UpdateBatch(adAffectCurrent));
    });
}

bool CDataRecordset::Find(std::string_view fieldName, std::string_view value) {
    return Guarded([&] {
        bool supported = false;
        if (!open_ || !Supports(adFind, supported)) {
            return false;
        }
        if (!supported) {
            return Refuse(kFindNotSupportedText);
        }
        CComVariant start;
        bool eof = true;
        const CComBSTR criterion(EqualsCriterion(fieldName, value));
        const CComVariant missing = CComVariant::Missing();
        if (!TakeBookmarkIfAny(start) ||
            !Check(recordset_->Find(criterion.Get(), 0, adSearchForward, Borrowed(missing))) ||
            !AtEOF(eof)) {
            return false;
        }
        if (eof && start.vt != VT_EMPTY) {
            Check(recordset_->put_Bookmark(Borrowed(start)));
        }
        return !eof;
    });
}

bool CDataRecordset::OpenRecordset(std::string_view sql, const RecordsetOpenOptions& how) {
    if (!Check(CreateAdoObject(CLSID_Recordset, recordset_)) ||
        !Check(recordset_->put_CursorType(how.cursorType)) ||
        !Check(recordset_->put_LockType(how.lockType))) {
        return false;
    }
    const CComVariant source(sql);
    const CComVariant activeConnection(static_cast<IDispatch*>(connection_.GetConnection()));
    return Check(recordset_->Open(Borrowed(source), Borrowed(activeConnection), how.cursorType,
                                  how.lockType, how.options));
}

bool CDataRecordset::DescribeFields() {
    fields_.clear();
    CComPtr<Fields> fields;
    LONG count = 0;
    if (!Check(recordset_->get_Fields(fields.ReleaseAndGetAddressOf())) ||
        !Check(fields->get_Count(&count))) {
        return false;
    }
    for (LONG i = 0; i < count; ++i) {
        CComPtr<Field> field;
        CComBSTR name;
        LONG type = adEmpty;
        LONG size = 0;
        LONG attributes = 0;
        if (!Check(fields->get_Item(PositionIndex(i), field.ReleaseAndGetAddressOf())) ||
            !Check(field->get_Name(name.ReleaseAndGetAddressOf())) ||
            !Check(field->get_Type(&type)) || !Check(field->get_DefinedSize(&size)) ||
            !Check(field->get_Attributes(&attributes))) {
            return false;
        }
        fields_.push_back(FieldInfo{name.ToString(), std::string(FieldTypeName(type)), size,
                                    (attributes & adFldIsNullable) != 0,
                                    (attributes & adFldKeyColumn) != 0,
                                    (attributes & adFldLong) != 0, type});
    }
    return true;
}

bool CDataRecordset::Supports(LONG option, bool& supported) {
    VARIANT_BOOL answer = VARIANT_FALSE;
    if (!Check(recordset_->Supports(option, &answer))) {
        return false;
    }
    supported = answer != VARIANT_FALSE;
    return true;
}

bool CDataRecordset::EditingNew(bool& editingNew) {
    LONG mode = adEditNone;
    if (!Check(recordset_->get_EditMode(&mode))) {
        return false;
    }
    editingNew = mode == adEditAdd;
    return true;
}

bool CDataRecordset::AtBOF(bool& bof) {
    VARIANT_BOOL answer = VARIANT_TRUE;
    if (!Check(recordset_->get_BOF(&answer))) {
        return false;
    }
    bof = answer != VARIANT_FALSE;
    return true;
}

bool CDataRecordset::AtEOF(bool& eof) {
    VARIANT_BOOL answer = VARIANT_TRUE;
    if (!Check(recordset_->get_EOF(&answer))) {
        return false;
    }
    eof = answer != VARIANT_FALSE;
    return true;
}

bool CDataRecordset::TakeBookmarkIfAny(CComVariant& bookmark) {
    bool supported = false;
    bool bof = true;
    bool eof = true;
    bookmark.Clear();
    if (!Supports(adBookmark, supported) || !AtBOF(bof) || !AtEOF(eof)) {
        return false;
    }
    return !supported || bof || eof || Check(recordset_->get_Bookmark(&bookmark));
}

bool CDataRecordset::ItemAt(const VARIANT& index, CComPtr<Field>& field) {
    CComPtr<Fields> fields;
    return Check(recordset_->get_Fields(fields.ReleaseAndGetAddressOf())) &&
           Check(fields->get_Item(index, field.ReleaseAndGetAddressOf()));
}

bool CDataRecordset::FieldValue(const VARIANT& index, CComVariant& value) {
    CComPtr<Field> field;
    CComVariant read;
    if (!ItemAt(index, field) || !Check(field->get_Value(&read))) {
        return false;
    }
    value = std::move(read);
    return true;
}

bool CDataRecordset::FieldText(const VARIANT& index, std::string& text) {
    CComVariant value;
    if (!FieldValue(index, value)) {
        return false;
    }
    text = FieldValueText(value);
    return true;
}

bool CDataRecordset::PutFieldValue(const VARIANT& index, const VARIANT& value) {
    CComPtr<Field> field;
    return ItemAt(index, field) && Check(field->put_Value(value));
}

bool CDataRecordset::Refuse(std::string_view text) {
    lastErrorText_ = text;
    return false;
}

bool CDataRecordset::Check(HRESULT hr) {
    if (SUCCEEDED(hr)) {
        return true;
    }
    ++failures_;
    lastErrorText_ = ComErrorMessage(hr) + FailureDetail();
    connection_.RefreshErrors();
    return false;
}

void CDataRecordset::NoteFailure(HRESULT hr) noexcept {
    ++failures_;
    try {
        lastErrorText_ = ComErrorMessage(hr);
    } catch (...) {
        lastErrorText_.clear();  // no text could be made: memory ran out
    }
}
