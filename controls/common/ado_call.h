// Internal helpers of the data layer: creating ADO objects and the result an escaping C++
// exception stands for.
#pragma once

#include <exception>
#include <new>

#include "platform/ado/ado.h"
#include "platform/com/class_factory.h"
#include "platform/com/com_ptr.h"

// Creates an ADO class the way automation clients do: for IUnknown in every server context,
// put into its running state, then asked for the interface wanted.
template <class Q>
HRESULT CreateAdoObject(const CLSID& clsid, CComPtr<Q>& object) {
    object.Release();
    HRESULT hr = RegisterAdoClasses();
    if (FAILED(hr)) {
        return hr;
    }
    CComPtr<IUnknown> unknown;
    void* raw = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, &raw);
    if (FAILED(hr)) {
        return hr;
    }
    unknown.Attach(static_cast<IUnknown*>(raw));
    hr = OleRun(unknown.Get());
    if (FAILED(hr)) {
        return hr;
    }
    return unknown.QueryInterface(object);
}

// A shallow copy for a by-value VARIANT argument, which the callee reads but does not own.
inline VARIANT Borrowed(const VARIANT& value) {
    return value;
}
