// The Recordset object's members and dispatch table.
#include "platform/ado/recordset.h"
#include "platform/com/exception_guard.h"

#include "platform/ado/errors.h"

namespace {

constexpr DISPID kDispCursorType = 1;
constexpr DISPID kDispLockType = 2;
constexpr DISPID kDispSource = 3;
constexpr DISPID kDispActiveConnection = 4;
constexpr DISPID kDispOpen = 5;
constexpr DISPID kDispClose = 6;
constexpr DISPID kDispState = 7;
constexpr DISPID kDispMoveFirst = 8;
constexpr DISPID kDispMoveLast = 9;
constexpr DISPID kDispMoveNext = 10;
constexpr DISPID kDispMovePrevious = 11;
constexpr DISPID kDispMove = 12;
constexpr DISPID kDispBOF = 13;
constexpr DISPID kDispEOF = 14;
constexpr DISPID kDispBookmark = 15;
constexpr DISPID kDispRecordCount = 16;
constexpr DISPID kDispAbsolutePosition = 17;
constexpr DISPID kDispSupports = 18;
constexpr DISPID kDispEditMode = 19;
constexpr DISPID kDispAddNew = 20;
constexpr DISPID kDispUpdate = 21;
constexpr DISPID kDispCancelUpdate = 22;
constexpr DISPID kDispDelete = 23;
constexpr DISPID kDispUpdateBatch = 24;
constexpr DISPID kDispFind = 25;
constexpr DISPID kDispRequery = 26;

bool IsMissing(const VARIANT& v) {
    return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

VARIANT_BOOL Bool(bool value) {
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace

HRESULT CRecordset::get_CursorType(LONG* cursorType) {
    return GuardResult("ADO", [&] {
        if (cursorType == nullptr) {
            return E_POINTER;
        }
        *cursorType = core_->IsOpen() ? core_->CursorType() : cursorType_;
        return S_OK;
    });
}

HRESULT CRecordset::put_CursorType(LONG cursorType) {
    return GuardResult("ADO", [&] {
        if (core_->IsOpen()) {
            return core_->Fail(adErrObjectOpen,
                               "Operation is not allowed when the object is open.");
        }
        if (cursorType < adOpenUnspecified || cursorType > adOpenStatic) {
            return core_->Fail(adErrInvalidArgument,
                               "The cursor type is not a CursorTypeEnum value.");
        }
        cursorType_ = cursorType == adOpenUnspecified ? adOpenForwardOnly : cursorType;
        return S_OK;
    });
}

HRESULT CRecordset::get_LockType(LONG* lockType) {
    return GuardResult("ADO", [&] {
        if (lockType == nullptr) {
            return E_POINTER;
        }
        *lockType = core_->IsOpen() ? core_->LockType() : lockType_;
        return S_OK;
    });
}

HRESULT CRecordset::put_LockType(LONG lockType) {
    return GuardResult("ADO", [&] {
        if (core_->IsOpen()) {
            return core_->Fail(adErrObjectOpen,
                               "Operation is not allowed when the object is open.");
        }
        if (lockType != adLockUnspecified &&
            (lockType < adLockReadOnly || lockType > adLockBatchOptimistic)) {
            return core_->Fail(adErrInvalidArgument, "The lock type is not a LockTypeEnum value.");
        }
        lockType_ = lockType == adLockUnspecified ? adLockReadOnly : lockType;
        return S_OK;
    });
}

HRESULT CRecordset::get_Source(BSTR* source) {
    return GuardResult("ADO", [&] { return ReturnText(source_, source); });
}

HRESULT CRecordset::get_ActiveConnection(VARIANT* connection) {
    return GuardResult("ADO", [&] {
        if (connection == nullptr) {
            return E_POINTER;
        }
        CComVariant value;
        if (CConnection* current = core_->IsOpen() ? core_->Connection() : lastConnection_.Get()) {
            value = CComVariant(static_cast<IDispatch*>(current));
        }
        return value.Detach(connection);
    });
}

HRESULT CRecordset::ConnectionOf(const VARIANT& given, OpenRequest& request) {
    CComVariant connection;
    VariantCopyInd(&connection, &given);
    if (IsMissing(connection) || connection.vt == VT_EMPTY) {
        request.connection = lastConnection_;
        return S_OK;
    }
    if (connection.vt == VT_DISPATCH || connection.vt == VT_UNKNOWN) {
        IUnknown* object = connection.vt == VT_DISPATCH
                               ? static_cast<IUnknown*>(connection.pdispVal)
                               : connection.punkVal;
        request.connection = CConnection::FromUnknown(object);
        if (request.connection == nullptr) {
            return core_->Fail(adErrInvalidConnection,
                               "The connection cannot be used to perform this operation. It is "
                               "either closed or invalid in this context.");
        }
        return S_OK;
    }
    if (connection.vt != VT_BSTR) {
        return core_->Fail(adErrInvalidConnection,
                           "ActiveConnection must be a Connection object or a connection string.");
    }
    // The recordset opens a connection of its own, which closes with it.
    CComPtr<CConnection> own = MakeComObject<CConnection>();
    const HRESULT hr = own->Open(connection.bstrVal, nullptr, nullptr, adConnectUnspecified);
    if (FAILED(hr)) {
        return hr;
    }
    request.connection = own;
    request.ownsConnection = true;
    return S_OK;
}

HRESULT CRecordset::Open(VARIANT source, VARIANT activeConnection, LONG cursorType, LONG lockType,
                         LONG options) {
    return GuardResult("ADO", [&] {
        if (core_->IsOpen()) {
            return core_->Fail(adErrObjectOpen,
                               "Operation is not allowed when the object is open.");
        }
        CComVariant text;
        VariantCopyInd(&text, &source);
        if (!IsMissing(text) && text.vt != VT_EMPTY) {
            if (text.vt != VT_BSTR) {
                return core_->Fail(adErrInvalidArgument,
                                   "The source must be a query text or a table name.");
            }
            source_ = std::string(text.Text());
        }
        OpenRequest request;
        HRESULT hr = ConnectionOf(activeConnection, request);
        if (FAILED(hr)) {
            return hr;
        }
        request.source = source_;
        request.cursorType = cursorType == adOpenUnspecified ? cursorType_ : cursorType;
        request.lockType = lockType == adLockUnspecified ? lockType_ : lockType;
        request.commandType = options;
        hr = core_->Open(request);
        if (SUCCEEDED(hr) && !request.ownsConnection) {
            lastConnection_ = request.connection;
        }
        if (FAILED(hr) && core_->IsOpen()) {
            core_->Close();
        } else if (FAILED(hr) && request.ownsConnection) {
            request.connection->Close();
        }
        return hr;
    });
}

HRESULT CRecordset::Adopt(CComPtr<CConnection> connection, std::string sql,
                          StatementResult result) {
    source_ = sql;
    lastConnection_ = connection;
    return core_->Adopt(std::move(connection), std::move(sql), std::move(result));
}

HRESULT CRecordset::Close() {
    return GuardResult("ADO", [&] { return core_->Close(); });
}

HRESULT CRecordset::get_State(LONG* state) {
    return GuardResult("ADO", [&] {
        if (state == nullptr) {
            return E_POINTER;
        }
        *state = core_->IsOpen() ? adStateOpen : adStateClosed;
        return S_OK;
    });
}

HRESULT CRecordset::get_BOF(VARIANT_BOOL* bof) {
    return GuardResult("ADO", [&] {
        if (bof == nullptr) {
            return E_POINTER;
        }
        bool value = false;
        const HRESULT hr = core_->AtBof(value);
        *bof = Bool(value);
        return hr;
    });
}

HRESULT CRecordset::get_EOF(VARIANT_BOOL* eof) {
    return GuardResult("ADO", [&] {
        if (eof == nullptr) {
            return E_POINTER;
        }
        bool value = false;
        const HRESULT hr = core_->AtEof(value);
        *eof = Bool(value);
        return hr;
    });
}

HRESULT CRecordset::get_Bookmark(VARIANT* bookmark) {
    return GuardResult("ADO", [&] {
        if (bookmark == nullptr) {
            return E_POINTER;
        }
        CComVariant value;
        const HRESULT hr = core_->GetBookmark(value);
        return SUCCEEDED(hr) ? value.Detach(bookmark) : hr;
    });
}

HRESULT CRecordset::get_RecordCount(LONG* count) {
    return GuardResult("ADO", [&] {
        if (count == nullptr) {
            return E_POINTER;
        }
        return core_->RecordCount(*count);
    });
}

HRESULT CRecordset::get_AbsolutePosition(LONG* position) {
    return GuardResult("ADO", [&] {
        if (position == nullptr) {
            return E_POINTER;
        }
        return core_->AbsolutePosition(*position);
    });
}

HRESULT CRecordset::Supports(LONG cursorOptions, VARIANT_BOOL* supported) {
    return GuardResult("ADO", [&] {
        if (supported == nullptr) {
            return E_POINTER;
        }
        bool value = false;
        const HRESULT hr = core_->Supports(cursorOptions, value);
        *supported = Bool(value);
        return hr;
    });
}

HRESULT CRecordset::get_EditMode(LONG* editMode) {
    return GuardResult("ADO", [&] {
        if (editMode == nullptr) {
            return E_POINTER;
        }
        const HRESULT hr = core_->RequireOpen();
        *editMode = core_->EditMode();
        return hr;
    });
}

HRESULT CRecordset::UpdateBatch(LONG /*affectRecords*/) {
    return GuardResult("ADO", [&] {
        const HRESULT hr = core_->RequireOpen();
        if (FAILED(hr) || core_->EditMode() == adEditNone) {
            return hr;
        }
        const CComVariant missing = CComVariant::Missing();
        return core_->Update(missing, missing);
    });
}

HRESULT CRecordset::get_Fields(Fields** fields) {
    return GuardResult("ADO", [&] {
        if (fields == nullptr) {
            return E_POINTER;
        }
        if (fields_ == nullptr || fields_->Generation() != core_->Generation()) {
            fields_ = MakeComObject<CFields>(core_);
        }
        *fields = fields_.Get();
        (*fields)->AddRef();
        return S_OK;
    });
}

HRESULT CRecordset::InterfaceSupportsErrorInfo(const IID& riid) {
    return riid == _Recordset::iid ? S_OK : S_FALSE;
}

namespace {

using Table = CDispatchTable<CRecordset>;
using Handler = Table::Handler;

Handler Call(HRESULT (CRecordset::*method)()) {
    return [method](CRecordset& r, CDispArgs&, CComVariant&) { return (r.*method)(); };
}

Handler LongGet(HRESULT (CRecordset::*getter)(LONG*)) {
    return [getter](CRecordset& r, CDispArgs&, CComVariant& result) {
        LONG value = 0;
        const HRESULT hr = (r.*getter)(&value);
        result = CComVariant(static_cast<int>(value));
        return hr;
    };
}

Handler LongPut(HRESULT (CRecordset::*setter)(LONG)) {
    return [setter](CRecordset& r, CDispArgs& a, CComVariant&) { return (r.*setter)(a[0].lVal); };
}

Handler BoolGet(HRESULT (CRecordset::*getter)(VARIANT_BOOL*)) {
    return [getter](CRecordset& r, CDispArgs&, CComVariant& result) {
        VARIANT_BOOL value = VARIANT_FALSE;
        const HRESULT hr = (r.*getter)(&value);
        result = CComVariant(value != VARIANT_FALSE);
        return hr;
    };
}

Handler VariantGet(HRESULT (CRecordset::*getter)(VARIANT*)) {
    return
        [getter](CRecordset& r, CDispArgs&, CComVariant& result) { return (r.*getter)(&result); };
}

std::vector<Table::Entry> Entries() {
    const CComVariant unspecified(-1);
    return {
        Table::Get("CursorType", kDispCursorType, VT_I4, LongGet(&CRecordset::get_CursorType)),
        Table::Put("CursorType", kDispCursorType, VT_I4, LongPut(&CRecordset::put_CursorType)),
        Table::Get("LockType", kDispLockType, VT_I4, LongGet(&CRecordset::get_LockType)),
        Table::Put("LockType", kDispLockType, VT_I4, LongPut(&CRecordset::put_LockType)),
        Table::Get("Source", kDispSource, VT_BSTR,
                   [](CRecordset& r, CDispArgs&, CComVariant& result) {
                       CComBSTR text;
                       const HRESULT hr = r.get_Source(text.ReleaseAndGetAddressOf());
                       result = CComVariant(text);
                       return hr;
                   }),
        Table::Get("ActiveConnection", kDispActiveConnection, VT_VARIANT,
                   VariantGet(&CRecordset::get_ActiveConnection)),
        Table::Method("Open", kDispOpen,
                      {DispParam::Optional("Source", VT_VARIANT),
                       DispParam::Optional("ActiveConnection", VT_VARIANT),
                       DispParam::Optional("CursorType", VT_I4, unspecified),
                       DispParam::Optional("LockType", VT_I4, unspecified),
                       DispParam::Optional("Options", VT_I4, unspecified)},
                      VT_EMPTY,
                      [](CRecordset& r, CDispArgs& a, CComVariant&) {
                          return r.Open(a[0], a[1], a[2].lVal, a[3].lVal, a[4].lVal);
                      }),
        Table::Method("Close", kDispClose, {}, VT_EMPTY, Call(&CRecordset::Close)),
        Table::Get("State", kDispState, VT_I4, LongGet(&CRecordset::get_State)),
        Table::Method("MoveFirst", kDispMoveFirst, {}, VT_EMPTY, Call(&CRecordset::MoveFirst)),
        Table::Method("MoveLast", kDispMoveLast, {}, VT_EMPTY, Call(&CRecordset::MoveLast)),
        Table::Method("MoveNext", kDispMoveNext, {}, VT_EMPTY, Call(&CRecordset::MoveNext)),
        Table::Method("MovePrevious", kDispMovePrevious, {}, VT_EMPTY,
                      Call(&CRecordset::MovePrevious)),
        Table::Method(
            "Move", kDispMove,
            {DispParam::In("NumRecords", VT_I4), DispParam::Optional("Start", VT_VARIANT)},
            VT_EMPTY,
            [](CRecordset& r, CDispArgs& a, CComVariant&) { return r.Move(a[0].lVal, a[1]); }),
        Table::Get("BOF", kDispBOF, VT_BOOL, BoolGet(&CRecordset::get_BOF)),
        Table::Get("EOF", kDispEOF, VT_BOOL, BoolGet(&CRecordset::get_EOF)),
        Table::Get("Bookmark", kDispBookmark, VT_VARIANT, VariantGet(&CRecordset::get_Bookmark)),
        Table::Put("Bookmark", kDispBookmark, VT_VARIANT,
                   [](CRecordset& r, CDispArgs& a, CComVariant&) { return r.put_Bookmark(a[0]); }),
        Table::Get("RecordCount", kDispRecordCount, VT_I4, LongGet(&CRecordset::get_RecordCount)),
        Table::Get("AbsolutePosition", kDispAbsolutePosition, VT_I4,
                   LongGet(&CRecordset::get_AbsolutePosition)),
        Table::Put("AbsolutePosition", kDispAbsolutePosition, VT_I4,
                   LongPut(&CRecordset::put_AbsolutePosition)),
        Table::Method("Supports", kDispSupports, {DispParam::In("CursorOptions", VT_I4)}, VT_BOOL,
                      [](CRecordset& r, CDispArgs& a, CComVariant& result) {
                          VARIANT_BOOL value = VARIANT_FALSE;
                          const HRESULT hr = r.Supports(a[0].lVal, &value);
                          result = CComVariant(value != VARIANT_FALSE);
                          return hr;
                      }),
        Table::Get("EditMode", kDispEditMode, VT_I4, LongGet(&CRecordset::get_EditMode)),
        Table::Method(
            "AddNew", kDispAddNew,
            {DispParam::Optional("FieldList", VT_VARIANT),
             DispParam::Optional("Values", VT_VARIANT)},
            VT_EMPTY,
            [](CRecordset& r, CDispArgs& a, CComVariant&) { return r.AddNew(a[0], a[1]); }),
        Table::Method(
            "Update", kDispUpdate,
            {DispParam::Optional("Fields", VT_VARIANT), DispParam::Optional("Values", VT_VARIANT)},
            VT_EMPTY,
            [](CRecordset& r, CDispArgs& a, CComVariant&) { return r.Update(a[0], a[1]); }),
        Table::Method("CancelUpdate", kDispCancelUpdate, {}, VT_EMPTY,
                      Call(&CRecordset::CancelUpdate)),
        Table::Method(
            "Delete", kDispDelete,
            {DispParam::Optional("AffectRecords", VT_I4, CComVariant(adAffectCurrent))}, VT_EMPTY,
            [](CRecordset& r, CDispArgs& a, CComVariant&) { return r.Delete(a[0].lVal); }),
        Table::Method(
            "UpdateBatch", kDispUpdateBatch,
            {DispParam::Optional("AffectRecords", VT_I4, CComVariant(adAffectAll))}, VT_EMPTY,
            [](CRecordset& r, CDispArgs& a, CComVariant&) { return r.UpdateBatch(a[0].lVal); }),
        Table::Method("Find", kDispFind,
                      {DispParam::In("Criteria", VT_BSTR),
                       DispParam::Optional("SkipRecords", VT_I4, CComVariant(0)),
                       DispParam::Optional("SearchDirection", VT_I4, CComVariant(adSearchForward)),
                       DispParam::Optional("Start", VT_VARIANT)},
                      VT_EMPTY,
                      [](CRecordset& r, CDispArgs& a, CComVariant&) {
                          return r.Find(a[0].bstrVal, a[1].lVal, a[2].lVal, a[3]);
                      }),
        Table::Method(
            "Requery", kDispRequery, {DispParam::Optional("Options", VT_I4, unspecified)}, VT_EMPTY,
            [](CRecordset& r, CDispArgs& a, CComVariant&) { return r.Requery(a[0].lVal); }),
        Table::Get("Fields", DISPID_VALUE, VT_DISPATCH,
                   [](CRecordset& r, CDispArgs&, CComVariant& result) {
                       CComPtr<Fields> fields;
                       const HRESULT hr = r.get_Fields(fields.ReleaseAndGetAddressOf());
                       result = CComVariant(static_cast<IDispatch*>(fields.Get()));
                       return hr;
                   }),
    };
}

}  // namespace

const CDispatchTable<CRecordset>& CRecordset::DispatchTable() {
    static const Table table(kAdoRecordsetSource, Entries());
    return table;
}
