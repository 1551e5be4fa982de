// Exception records of dispatch calls.
#include "platform/com/dispatch.h"

void ClearExcepInfo(EXCEPINFO* info) {
    if (info != nullptr) {
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrHelpFile);
        *info = EXCEPINFO{};
    }
}

HRESULT ExcepInfoResult(const EXCEPINFO& info) {
    if (info.scode != 0) {
        return info.scode;
    }
    if (info.wCode == 0) {
        return DISP_E_EXCEPTION;
    }
    return info.wCode >= 0xFE00 ? WCODE_HRESULT_LAST : WCODE_HRESULT_FIRST + info.wCode;
}
