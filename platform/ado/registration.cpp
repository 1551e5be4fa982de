// Registering the Connection and Recordset classes with the in-process class table.
#include <mutex>

#include "platform/ado/ado.h"
#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/com/class_factory.h"

HRESULT RegisterAdoClasses() {
    static std::once_flag once;
    static HRESULT result = S_OK;
    std::call_once(once, [] {
        DWORD connectionCookie = 0;
        DWORD recordsetCookie = 0;
        result = RegisterInProcessClass<CConnection>(CLSID_Connection, kConnectionProgID,
                                                     &connectionCookie);
        if (SUCCEEDED(result)) {
            result = RegisterInProcessClass<CRecordset>(CLSID_Recordset, kRecordsetProgID,
                                                        &recordsetCookie);
        }
    });
    return result;
}
