// Allocation of counted strings: a 32-bit byte count, the bytes and a NUL, in one block.
#include "platform/com/bstr.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace {

using Word = std::uint32_t;

// Words of a block holding the count word, length bytes and the NUL.
std::size_t BlockWords(std::size_t length) {
    return 1 + (length + 1 + sizeof(Word) - 1) / sizeof(Word);
}

Word* BlockOf(BSTR text) {
    return reinterpret_cast<Word*>(text) - 1;
}

BSTR Allocate(const char* bytes, std::size_t length) {
    if (length > 0xFFFFFFF0U) {
        return nullptr;
    }
    Word* block = nullptr;
    try {
        block = std::allocator<Word>().allocate(BlockWords(length));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    block[0] = static_cast<Word>(length);
    auto* text = reinterpret_cast<char*>(block + 1);
    if (bytes != nullptr) {
        std::memcpy(text, bytes, length);
    } else {
        std::memset(text, 0, length);
    }
    text[length] = '\0';
    return text;
}

}  // namespace

BSTR SysAllocString(LPCOLESTR text) {
    return text == nullptr ? nullptr : Allocate(text, std::strlen(text));
}

BSTR SysAllocStringLen(LPCOLESTR text, UINT length) {
    return Allocate(text, length);
}

BSTR SysAllocStringByteLen(const char* bytes, UINT length) {
    return Allocate(bytes, length);
}

BSTR SysAllocStringView(std::string_view text) {
    return Allocate(text.data(), text.size());
}

void SysFreeString(BSTR text) {
    if (text != nullptr) {
        Word* block = BlockOf(text);
        std::allocator<Word>().deallocate(block, BlockWords(block[0]));
    }
}

UINT SysStringLen(BSTR text) {
    return text == nullptr ? 0 : BlockOf(text)[0];
}

UINT SysStringByteLen(BSTR text) {
    return SysStringLen(text);
}

INT SysReAllocString(BSTR* target, LPCOLESTR text) {
    if (target == nullptr) {
        return 0;
    }
    BSTR copy = SysAllocString(text == nullptr ? "" : text);
    if (copy == nullptr) {
        return 0;
    }
    SysFreeString(std::exchange(*target, copy));
    return 1;
}

std::string_view BstrView(BSTR text) {
    return text == nullptr ? std::string_view() : std::string_view(text, SysStringLen(text));
}

CComBSTR::CComBSTR(std::string_view text) : text_(SysAllocStringView(text)) {}

CComBSTR::CComBSTR(const char* text) : text_(SysAllocString(text)) {}

CComBSTR::CComBSTR(const std::string& text) : text_(SysAllocStringView(text)) {}

CComBSTR::CComBSTR(const CComBSTR& other) : text_(other.Copy()) {}

CComBSTR::CComBSTR(CComBSTR&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}

CComBSTR& CComBSTR::operator=(const CComBSTR& other) {
    if (this != &other) {
        Attach(other.Copy());
    }
    return *this;
}

CComBSTR& CComBSTR::operator=(CComBSTR&& other) noexcept {
    if (this != &other) {
        Attach(std::exchange(other.text_, nullptr));
    }
    return *this;
}

CComBSTR::~CComBSTR() {
    SysFreeString(text_);
}

void CComBSTR::Attach(BSTR text) {
    SysFreeString(std::exchange(text_, text));
}

BSTR CComBSTR::Detach() {
    return std::exchange(text_, nullptr);
}

BSTR CComBSTR::Copy() const {
    return text_ == nullptr ? nullptr : SysAllocStringView(View());
}

void CComBSTR::Empty() {
    Attach(nullptr);
}

BSTR* CComBSTR::ReleaseAndGetAddressOf() {
    Empty();
    return &text_;
}
