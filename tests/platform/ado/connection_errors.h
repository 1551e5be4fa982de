// The errors a connection holds, as a host reads them from its Errors collection.
#pragma once

#include <string>

#include "platform/ado/ado.h"
#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"

// The connection's errors, each description on its own line.
inline std::string ErrorTexts(const CComPtr<_Connection>& connection) {
    CComPtr<Errors> errors;
    if (FAILED(connection->get_Errors(errors.ReleaseAndGetAddressOf()))) {
        return {};
    }
    LONG count = 0;
    errors->get_Count(&count);
    std::string texts;
    for (LONG i = 0; i < count; ++i) {
        CComPtr<Error> error;
        CComBSTR description;
        if (SUCCEEDED(errors->get_Item(CComVariant(static_cast<int>(i)),
                                       error.ReleaseAndGetAddressOf())) &&
            SUCCEEDED(error->get_Description(description.ReleaseAndGetAddressOf()))) {
            texts += description.ToString() + "\n";
        }
    }
    return texts;
}
