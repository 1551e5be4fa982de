// Objects with intrusive reference counts and interface queries: IUnknown and the base that
// implements it for a class from the list of interfaces the class offers.
#pragma once

#include <atomic>
#include <type_traits>

#include "platform/com/guid.h"

// Interfaces are abstract structs deriving from IUnknown or from another interface, each with
// its own `static constexpr IID iid` and `using InterfaceBase = <the interface it extends>;`,
// so that a query for any interface up the chain finds it.
struct IUnknown {
    static constexpr IID iid = MakeGuid("{00000000-0000-0000-C000-000000000046}");
    virtual HRESULT QueryInterface(const IID& riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

  protected:
    // Objects end by their last Release, never by delete through an interface.
    ~IUnknown() = default;
};

inline constexpr const IID& IID_IUnknown = IUnknown::iid;

// Objects implemented on CUnknownImpl that exist now, across all threads; tests use it to see
// that every reference was given back.
std::int64_t LiveComObjectCount();

namespace com_detail {

void CountObject(int delta);

// The interface of type I (or one it extends) that riid names, from a pointer to I.
template <class I>
void* InterfaceFor(I* p, const IID& riid) {
    if (riid == I::iid) {
        return p;
    }
    if constexpr (requires { typename I::InterfaceBase; }) {
        static_assert(std::is_base_of_v<typename I::InterfaceBase, I>);
        static_assert(I::iid != I::InterfaceBase::iid, "an interface needs its own iid");
        return InterfaceFor<typename I::InterfaceBase>(p, riid);
    }
    return nullptr;
}

}  // namespace com_detail

// Implements IUnknown for a class offering the listed interfaces (and everything they extend).
// The count starts at zero: MakeComObject hands out the first reference. Counts are atomic, so
// references may be taken and given back on any thread.
template <class First, class... Rest>
class CUnknownImpl : public First, public Rest... {
  public:
    CUnknownImpl(const CUnknownImpl&) = delete;
    CUnknownImpl& operator=(const CUnknownImpl&) = delete;

    HRESULT QueryInterface(const IID& riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = FindInterface(riid);
        if (*object == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override {
        const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) {
            delete this;  // NOLINT(cppcoreguidelines-owning-memory): the last reference owns it
        }
        return left;
    }

    // The object's identity: the same pointer whichever interface it was reached through.
    IUnknown* GetUnknown() { return static_cast<First*>(this); }

  protected:
    CUnknownImpl() { com_detail::CountObject(1); }
    virtual ~CUnknownImpl() { com_detail::CountObject(-1); }

    // Interfaces offered beyond the list, for a class that answers some queries itself; the
    // pointer must be to the interface riid names. The reference is added by the caller.
    virtual void* QueryExtraInterface(const IID& /*riid*/) { return nullptr; }

  private:
    void* FindInterface(const IID& riid) {
        void* found = com_detail::InterfaceFor<First>(static_cast<First*>(this), riid);
        ((found = found != nullptr
                      ? found
                      : com_detail::InterfaceFor<Rest>(static_cast<Rest*>(this), riid)),
         ...);
        return found != nullptr ? found : QueryExtraInterface(riid);
    }

    std::atomic<ULONG> refs_{0};
};
