// The system messages of the common COM results and the fallbacks for unknown ones.
#include "platform/com/error_message.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace {

struct SystemMessage {
    HRESULT hr;
    std::string_view text;
};

// Worded as the system's message table has them (neutral language); the table's entries end
// with CR LF, which callers never see.
constexpr std::array kSystemMessages{
    SystemMessage{S_OK, "The operation completed successfully."},
    SystemMessage{S_FALSE, "Incorrect function."},
    SystemMessage{E_UNEXPECTED, "Catastrophic failure"},
    SystemMessage{E_NOTIMPL, "Not implemented"},
    SystemMessage{E_NOINTERFACE, "No such interface supported"},
    SystemMessage{E_POINTER, "Invalid pointer"},
    SystemMessage{E_ABORT, "Operation aborted"},
    SystemMessage{E_FAIL, "Unspecified error"},
    SystemMessage{E_PENDING, "The data necessary to complete this operation is not yet available."},
    SystemMessage{E_BOUNDS, "The operation attempted to access data outside the valid range"},
    SystemMessage{HRESULT_FROM_WIN32(2), "The system cannot find the file specified."},
    SystemMessage{HRESULT_FROM_WIN32(3), "The system cannot find the path specified."},
    SystemMessage{E_ACCESSDENIED, "Access is denied."},
    SystemMessage{E_HANDLE, "The handle is invalid."},
    SystemMessage{E_OUTOFMEMORY,
                  "Not enough memory resources are available to complete this operation."},
    SystemMessage{E_INVALIDARG, "The parameter is incorrect."},
    SystemMessage{RPC_E_CHANGED_MODE, "Cannot change thread mode after it is set."},
    SystemMessage{DISP_E_UNKNOWNINTERFACE, "Unknown interface."},
    SystemMessage{DISP_E_MEMBERNOTFOUND, "Member not found."},
    SystemMessage{DISP_E_PARAMNOTFOUND, "Parameter not found."},
    SystemMessage{DISP_E_TYPEMISMATCH, "Type mismatch."},
    SystemMessage{DISP_E_UNKNOWNNAME, "Unknown name."},
    SystemMessage{DISP_E_NONAMEDARGS, "No named arguments."},
    SystemMessage{DISP_E_BADVARTYPE, "Bad variable type."},
    SystemMessage{DISP_E_EXCEPTION, "Exception occurred."},
    SystemMessage{DISP_E_OVERFLOW, "Out of present range."},
    SystemMessage{DISP_E_BADINDEX, "Invalid index."},
    SystemMessage{DISP_E_UNKNOWNLCID, "Unknown language."},
    SystemMessage{DISP_E_ARRAYISLOCKED, "Memory is locked."},
    SystemMessage{DISP_E_BADPARAMCOUNT, "Invalid number of parameters."},
    SystemMessage{DISP_E_PARAMNOTOPTIONAL, "Parameter not optional."},
    SystemMessage{DISP_E_BADCALLEE, "Invalid callee."},
    SystemMessage{DISP_E_NOTACOLLECTION, "Does not support a collection."},
    SystemMessage{DISP_E_DIVBYZERO, "Division by zero."},
    SystemMessage{TYPE_E_LIBNOTREGISTERED, "Library not registered."},
    SystemMessage{TYPE_E_ELEMENTNOTFOUND, "Element not found."},
    SystemMessage{TYPE_E_CANTLOADLIBRARY, "Error loading type library/DLL."},
    SystemMessage{CLASS_E_NOAGGREGATION,
                  "Class does not support aggregation (or class object is remote)"},
    SystemMessage{CLASS_E_CLASSNOTAVAILABLE, "ClassFactory cannot supply requested class"},
    SystemMessage{REGDB_E_READREGDB, "Could not read key from registry"},
    SystemMessage{REGDB_E_WRITEREGDB, "Could not write key to registry"},
    SystemMessage{REGDB_E_KEYMISSING, "Could not find the key in the registry"},
    SystemMessage{REGDB_E_CLASSNOTREG, "Class not registered"},
    SystemMessage{CO_E_NOTINITIALIZED, "CoInitialize has not been called."},
    SystemMessage{CO_E_CLASSSTRING, "Invalid class string"},
    SystemMessage{CO_E_APPNOTFOUND, "Application not found"},
    SystemMessage{CO_E_DLLNOTFOUND, "DLL for class not found"},
    SystemMessage{CO_E_ERRORINDLL, "Error in the DLL"},
    SystemMessage{CO_E_SERVER_EXEC_FAILURE, "Server execution failed"},
};

// The number a dispatch exception's wCode carried, 0 outside the range those codes map to.
int DispatchErrorNumber(HRESULT hr) {
    if (hr >= WCODE_HRESULT_FIRST && hr <= WCODE_HRESULT_LAST) {
        return HRESULT_CODE(hr) - 0x200;
    }
    return 0;
}

}  // namespace

std::string ComErrorMessage(HRESULT hr) {
    const auto* found = std::find_if(kSystemMessages.begin(), kSystemMessages.end(),
                                     [hr](const SystemMessage& m) { return m.hr == hr; });
    if (found != kSystemMessages.end()) {
        return std::string(found->text);
    }
    std::array<char, 32> text{};
    if (const int number = DispatchErrorNumber(hr); number != 0) {
        std::snprintf(text.data(), text.size(), "IDispatch error #%d", number);
    } else {
        std::snprintf(text.data(), text.size(), "Unknown error 0x%0lX",
                      static_cast<unsigned long>(static_cast<std::uint32_t>(hr)));
    }
    return text.data();
}
