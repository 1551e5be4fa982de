// CComPtr: an owning, counted reference to an interface, and the creation of counted objects.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

#include "platform/com/unknown.h"

template <class T>
class CComPtr {
  public:
    CComPtr() = default;
    CComPtr(std::nullptr_t) {}
    // Takes a reference of its own; Attach adopts one instead.
    CComPtr(T* p) : p_(p) { AddRefHeld(); }
    CComPtr(const CComPtr& other) : p_(other.p_) { AddRefHeld(); }
    CComPtr(CComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    requires std::is_convertible_v<U*, T*> CComPtr(const CComPtr<U>& other) : p_(other.Get()) {
        AddRefHeld();
    }
    ~CComPtr() { Release(); }

    CComPtr& operator=(const CComPtr& other) {
        if (this != &other) {
            CComPtr copy(other);
            Swap(copy);
        }
        return *this;
    }
    CComPtr& operator=(CComPtr&& other) noexcept {
        CComPtr moved(std::move(other));
        Swap(moved);
        return *this;
    }
    CComPtr& operator=(T* p) {
        CComPtr copy(p);
        Swap(copy);
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Adopts a reference the caller already holds.
    void Attach(T* p) {
        Release();
        p_ = p;
    }
    // Hands the reference to the caller, who must release it.
    T* Detach() { return std::exchange(p_, nullptr); }
    void Release() {
        if (T* p = std::exchange(p_, nullptr)) {
            p->Release();
        }
    }
    // For out parameters: whatever comes back is owned.
    T** ReleaseAndGetAddressOf() {
        Release();
        return &p_;
    }
    HRESULT CopyTo(T** out) const {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = p_;
        AddRefHeld();
        return S_OK;
    }

    template <class Q>
    HRESULT QueryInterface(Q** out) const {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (p_ == nullptr) {
            return E_POINTER;
        }
        void* raw = nullptr;
        const HRESULT hr = p_->QueryInterface(Q::iid, &raw);
        if (SUCCEEDED(hr)) {
            *out = static_cast<Q*>(raw);
        }
        return hr;
    }
    template <class Q>
    HRESULT QueryInterface(CComPtr<Q>& out) const {
        return QueryInterface(out.ReleaseAndGetAddressOf());
    }

    // Whether both reach the same object, whichever interfaces they hold.
    template <class U>
    bool IsEqualObject(const CComPtr<U>& other) const {
        CComPtr<IUnknown> mine;
        CComPtr<IUnknown> theirs;
        QueryInterface(mine);
        other.QueryInterface(theirs);
        return mine.Get() == theirs.Get();
    }

    friend bool operator==(const CComPtr& a, const CComPtr& b) { return a.p_ == b.p_; }
    friend bool operator==(const CComPtr& a, std::nullptr_t) { return a.p_ == nullptr; }

  private:
    void AddRefHeld() const {
        if (p_ != nullptr) {
            p_->AddRef();
        }
    }
    void Swap(CComPtr& other) noexcept { std::swap(p_, other.p_); }

    T* p_ = nullptr;
};

// Queries any interface pointer for Q; null out and the failure when it is not offered.
template <class Q, class From>
HRESULT ComQueryInterface(From* from, CComPtr<Q>& out) {
    out.Release();
    if (from == nullptr) {
        return E_POINTER;
    }
    void* raw = nullptr;
    const HRESULT hr = from->QueryInterface(Q::iid, &raw);
    if (SUCCEEDED(hr)) {
        out.Attach(static_cast<Q*>(raw));
    }
    return hr;
}

// Creates a counted object (a class built on CUnknownImpl) holding its first reference.
template <class T, class... Args>
CComPtr<T> MakeComObject(Args&&... args) {
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    return CComPtr<T>(object.release());
}
