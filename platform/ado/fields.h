// The Fields collection of a recordset and its Field objects, which read and write the current
// record through the recordset they belong to.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ado/recordset_core.h"
#include "platform/com/dispatch_table.h"

class CField final : public CDispatchImpl<CField, Field, ISupportErrorInfo> {
  public:
    CField(std::shared_ptr<CRecordsetCore> core, std::size_t index)
        : core_(std::move(core)), index_(index), generation_(core_->Generation()) {}

    HRESULT get_Name(BSTR* name) override;
    HRESULT get_Type(LONG* type) override;
    HRESULT get_DefinedSize(LONG* size) override;
    HRESULT get_Attributes(LONG* attributes) override;
    HRESULT get_Precision(BYTE* precision) override;
    HRESULT get_NumericScale(BYTE* scale) override;
    HRESULT get_ActualSize(LONG* size) override;
    HRESULT get_Value(VARIANT* value) override;
    HRESULT put_Value(VARIANT value) override;
    HRESULT InterfaceSupportsErrorInfo(const IID& riid) override;

    static const CDispatchTable<CField>& DispatchTable();

  private:
    // The field's description while the recordset is still open as it was when this object
    // was made; null (with the error reported) otherwise.
    const FieldDescription* Info();

    std::shared_ptr<CRecordsetCore> core_;
    std::size_t index_;
    std::uint64_t generation_;
};

class CFields final : public CDispatchImpl<CFields, Fields, ISupportErrorInfo> {
  public:
    explicit CFields(std::shared_ptr<CRecordsetCore> core)
        : core_(std::move(core)), generation_(core_->Generation()) {}

    HRESULT get_Count(LONG* count) override;
    HRESULT get_Item(VARIANT index, Field** field) override;
    HRESULT InterfaceSupportsErrorInfo(const IID& riid) override;

    std::uint64_t Generation() const { return generation_; }

    static const CDispatchTable<CFields>& DispatchTable();

  private:
    std::shared_ptr<CRecordsetCore> core_;
    std::uint64_t generation_;
    std::vector<CComPtr<CField>> items_;
};
