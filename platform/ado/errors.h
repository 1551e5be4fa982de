// The Errors collection and its Error objects, and the reporting of a failure: into a
// connection's Errors and into the thread's error object.
#pragma once

#include <vector>

#include "platform/ado/ado.h"
#include "platform/ado/db_value.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"

class CError final : public CDispatchImpl<CError, Error, ISupportErrorInfo> {
  public:
    CError() = default;
    explicit CError(ErrorRecord record) : record_(std::move(record)) {}

    HRESULT get_Number(LONG* number) override;
    HRESULT get_Source(BSTR* source) override;
    HRESULT get_Description(BSTR* description) override;
    HRESULT get_NativeError(LONG* nativeError) override;
    HRESULT get_SQLState(BSTR* sqlState) override;
    HRESULT InterfaceSupportsErrorInfo(const IID& riid) override;

    static const CDispatchTable<CError>& DispatchTable();

  private:
    ErrorRecord record_;
};

class CErrors final : public CDispatchImpl<CErrors, Errors, ISupportErrorInfo> {
  public:
    HRESULT get_Count(LONG* count) override;
    HRESULT get_Item(VARIANT index, Error** error) override;
    HRESULT Clear() override;
    HRESULT InterfaceSupportsErrorInfo(const IID& riid) override;

    // A failure replaces the errors of the one before, as the object model's Errors do.
    void Replace(const ErrorRecord& record);
    const std::vector<ErrorRecord>& Records() const { return records_; }

    static const CDispatchTable<CErrors>& DispatchTable();

  private:
    std::vector<ErrorRecord> records_;
};

// Sets the thread's error object from the record, puts it into errors (when there are any)
// and returns its number, so a member can end with `return Report(errors, record);`.
HRESULT Report(CErrors* errors, const ErrorRecord& record);
HRESULT Report(CErrors* errors, HRESULT number, std::string description, const char* source);

// Copies text into a new BSTR for an out-parameter; E_POINTER for null, E_OUTOFMEMORY.
HRESULT ReturnText(std::string_view text, BSTR* out);
