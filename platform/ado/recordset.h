// The Recordset object: the automation face of a recordset, its properties kept before Open,
// and its Fields.
#pragma once

#include <memory>
#include <string>

#include "platform/ado/fields.h"
#include "platform/ado/recordset_core.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/exception_guard.h"

class CRecordset final : public CDispatchImpl<CRecordset, _Recordset, ISupportErrorInfo> {
  public:
    CRecordset() : core_(std::make_shared<CRecordsetCore>()) {}

    HRESULT get_CursorType(LONG* cursorType) override;
    HRESULT put_CursorType(LONG cursorType) override;
    HRESULT get_LockType(LONG* lockType) override;
    HRESULT put_LockType(LONG lockType) override;
    HRESULT get_Source(BSTR* source) override;
    HRESULT get_ActiveConnection(VARIANT* connection) override;
    HRESULT Open(VARIANT source, VARIANT activeConnection, LONG cursorType, LONG lockType,
                 LONG options) override;
    HRESULT Close() override;
    HRESULT get_State(LONG* state) override;
    HRESULT MoveFirst() override {
        return GuardResult("ADO", [&] { return core_->MoveFirst(); });
    }
    HRESULT MoveLast() override {
        return GuardResult("ADO", [&] { return core_->MoveLast(); });
    }
    HRESULT MoveNext() override {
        return GuardResult("ADO", [&] { return core_->MoveNext(); });
    }
    HRESULT MovePrevious() override {
        return GuardResult("ADO", [&] { return core_->MovePrevious(); });
    }
    HRESULT Move(LONG numRecords, VARIANT start) override {
        return GuardResult("ADO", [&] { return core_->Move(numRecords, start); });
    }
    HRESULT get_BOF(VARIANT_BOOL* bof) override;
    HRESULT get_EOF(VARIANT_BOOL* eof) override;
    HRESULT get_Bookmark(VARIANT* bookmark) override;
    HRESULT put_Bookmark(VARIANT bookmark) override {
        return GuardResult("ADO", [&] { return core_->SetBookmark(bookmark); });
    }
    HRESULT get_RecordCount(LONG* count) override;
    HRESULT get_AbsolutePosition(LONG* position) override;
    HRESULT put_AbsolutePosition(LONG position) override {
        return GuardResult("ADO", [&] { return core_->SetAbsolutePosition(position); });
    }
    HRESULT Supports(LONG cursorOptions, VARIANT_BOOL* supported) override;
    HRESULT get_EditMode(LONG* editMode) override;
    HRESULT AddNew(VARIANT fieldList, VARIANT values) override {
        return GuardResult("ADO", [&] { return core_->AddNew(fieldList, values); });
    }
    HRESULT Update(VARIANT fields, VARIANT values) override {
        return GuardResult("ADO", [&] { return core_->Update(fields, values); });
    }
    HRESULT CancelUpdate() override {
        return GuardResult("ADO", [&] { return core_->CancelUpdate(); });
    }
    HRESULT Delete(LONG affectRecords) override {
        return GuardResult("ADO", [&] { return core_->Delete(affectRecords); });
    }
    HRESULT UpdateBatch(LONG affectRecords) override;
    HRESULT Find(BSTR criteria, LONG skipRecords, LONG searchDirection, VARIANT start) override {
        return GuardResult("ADO", [&] {
            return core_->Find(BstrView(criteria), skipRecords, searchDirection, start);
        });
    }
    HRESULT Requery(LONG /*options*/) override {
        return GuardResult("ADO", [&] { return core_->Requery(); });
    }
    HRESULT get_Fields(Fields** fields) override;
    HRESULT InterfaceSupportsErrorInfo(const IID& riid) override;

    // Opens on rows a statement already gave (Connection.Execute).
    HRESULT Adopt(CComPtr<CConnection> connection, std::string sql, StatementResult result);

    static const CDispatchTable<CRecordset>& DispatchTable();

  private:
    HRESULT ConnectionOf(const VARIANT& given, OpenRequest& request);

    std::shared_ptr<CRecordsetCore> core_;
    CComPtr<CFields> fields_;
    std::string source_;
    CComPtr<CConnection> lastConnection_;
    LONG cursorType_ = adOpenForwardOnly;
    LONG lockType_ = adLockReadOnly;
};
