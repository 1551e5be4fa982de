// Field and Fields objects and their dispatch tables.
#include "platform/ado/fields.h"
#include "platform/com/exception_guard.h"

#include "platform/ado/errors.h"

namespace {

constexpr DISPID kDispCount = 1;
constexpr DISPID kDispName = 1;
constexpr DISPID kDispType = 2;
constexpr DISPID kDispDefinedSize = 3;
constexpr DISPID kDispAttributes = 4;
constexpr DISPID kDispPrecision = 5;
constexpr DISPID kDispNumericScale = 6;
constexpr DISPID kDispActualSize = 7;

template <class T>
HRESULT Required(T* out) {
    return out == nullptr ? E_POINTER : S_OK;
}

LONG ValueSize(const CComVariant& value, const FieldType& type) {
    if (value.vt == VT_NULL || value.vt == VT_EMPTY) {
        return 0;
    }
    if (value.vt == VT_BSTR) {
        return static_cast<LONG>(value.Text().size());
    }
    std::vector<BYTE> bytes;
    if (value.GetBytes(bytes)) {
        return static_cast<LONG>(bytes.size());
    }
    return type.definedSize;
}

}  // namespace

const FieldDescription* CField::Info() {
    if (!core_->IsOpen() || core_->Generation() != generation_) {
        core_->Fail(adErrObjectClosed, "Operation is not allowed when the object is closed.",
                    kAdoFieldSource);
        return nullptr;
    }
    return &core_->Field(index_);
}

HRESULT CField::get_Name(BSTR* name) {
    return GuardResult("ADO", [&] {
        const FieldDescription* info = Info();
        return info != nullptr ? ReturnText(info->name, name) : adErrObjectClosed;
    });
}

HRESULT CField::get_Type(LONG* type) {
    return GuardResult("ADO", [&] {
        const FieldDescription* info = Info();
        if (FAILED(Required(type)) || info == nullptr) {
            return info == nullptr ? adErrObjectClosed : E_POINTER;
        }
        *type = info->type.type;
        return S_OK;
    });
}

HRESULT CField::get_DefinedSize(LONG* size) {
    return GuardResult("ADO", [&] {
        const FieldDescription* info = Info();
        if (FAILED(Required(size)) || info == nullptr) {
            return info == nullptr ? adErrObjectClosed : E_POINTER;
        }
        *size = info->type.definedSize;
        return S_OK;
    });
}

HRESULT CField::get_Attributes(LONG* attributes) {
    return GuardResult("ADO", [&] {
        const FieldDescription* info = Info();
        if (FAILED(Required(attributes)) || info == nullptr) {
            return info == nullptr ? adErrObjectClosed : E_POINTER;
        }
        *attributes = info->attributes;
        return S_OK;
    });
}

HRESULT CField::get_Precision(BYTE* precision) {
    return GuardResult("ADO", [&] {
        const FieldDescription* info = Info();
        if (FAILED(Required(precision)) || info == nullptr) {
            return info == nullptr ? adErrObjectClosed : E_POINTER;
        }
        *precision = info->type.precision;
        return S_OK;
    });
}

HRESULT CField::get_NumericScale(BYTE* scale) {
    return GuardResult("ADO", [&] {
        const FieldDescription* info = Info();
        if (FAILED(Required(scale)) || info == nullptr) {
            return info == nullptr ? adErrObjectClosed : E_POINTER;
        }
        *scale = info->type.scale;
        return S_OK;
    });
}

HRESULT CField::get_ActualSize(LONG* size) {
    return GuardResult("ADO", [&] {
        const FieldDescription* info = Info();
        if (FAILED(Required(size)) || info == nullptr) {
            return info == nullptr ? adErrObjectClosed : E_POINTER;
        }
        CComVariant value;
        const HRESULT hr = core_->FieldValue(index_, value);
        if (SUCCEEDED(hr)) {
            *size = ValueSize(value, info->type);
        }
        return hr;
    });
}

HRESULT CField::get_Value(VARIANT* value) {
    return GuardResult("ADO", [&] {
        if (value == nullptr) {
            return E_POINTER;
        }
        if (Info() == nullptr) {
            return adErrObjectClosed;
        }
        CComVariant result;
        const HRESULT hr = core_->FieldValue(index_, result);
        return SUCCEEDED(hr) ? result.Detach(value) : hr;
    });
}

HRESULT CField::put_Value(VARIANT value) {
    return GuardResult("ADO", [&] {
        if (Info() == nullptr) {
            return adErrObjectClosed;
        }
        return core_->PutFieldValue(index_, value);
    });
}

HRESULT CField::InterfaceSupportsErrorInfo(const IID& riid) {
    return riid == Field::iid ? S_OK : S_FALSE;
}

const CDispatchTable<CField>& CField::DispatchTable() {
    using Table = CDispatchTable<CField>;
    const auto number = [](auto getter) {
        return [getter](CField& f, CDispArgs&, CComVariant& r) {
            LONG value = 0;
            const HRESULT hr = (f.*getter)(&value);
            r = CComVariant(static_cast<int>(value));
            return hr;
        };
    };
    const auto byte = [](auto getter) {
        return [getter](CField& f, CDispArgs&, CComVariant& r) {
            BYTE value = 0;
            const HRESULT hr = (f.*getter)(&value);
            r = CComVariant(value);
            return hr;
        };
    };
    static const Table table(
        "ADODB.Field",
        {
            Table::Get("Value", DISPID_VALUE, VT_VARIANT,
                       [](CField& f, CDispArgs&, CComVariant& r) {
                           CComVariant value;
                           const HRESULT hr = f.get_Value(&value);
                           r = std::move(value);
                           return hr;
                       }),
            Table::Put("Value", DISPID_VALUE, VT_VARIANT,
                       [](CField& f, CDispArgs& a, CComVariant&) { return f.put_Value(a[0]); }),
            Table::Get("Name", kDispName, VT_BSTR,
                       [](CField& f, CDispArgs&, CComVariant& r) {
                           CComBSTR name;
                           const HRESULT hr = f.get_Name(name.ReleaseAndGetAddressOf());
                           r = CComVariant(name);
                           return hr;
                       }),
            Table::Get("Type", kDispType, VT_I4, number(&CField::get_Type)),
            Table::Get("DefinedSize", kDispDefinedSize, VT_I4, number(&CField::get_DefinedSize)),
            Table::Get("Attributes", kDispAttributes, VT_I4, number(&CField::get_Attributes)),
            Table::Get("Precision", kDispPrecision, VT_UI1, byte(&CField::get_Precision)),
            Table::Get("NumericScale", kDispNumericScale, VT_UI1, byte(&CField::get_NumericScale)),
            Table::Get("ActualSize", kDispActualSize, VT_I4, number(&CField::get_ActualSize)),
        });
    return table;
}

HRESULT CFields::get_Count(LONG* count) {
    return GuardResult("ADO", [&] {
        if (count == nullptr) {
            return E_POINTER;
        }
        const bool current = core_->IsOpen() && core_->Generation() == generation_;
        *count = current ? static_cast<LONG>(core_->FieldCount()) : 0;
        return S_OK;
    });
}

HRESULT CFields::get_Item(VARIANT index, Field** field) {
    return GuardResult("ADO", [&] {
        if (field == nullptr) {
            return E_POINTER;
        }
        *field = nullptr;
        if (!core_->IsOpen() || core_->Generation() != generation_) {
            return core_->Fail(adErrItemNotFound,
                               "Item cannot be found in the collection corresponding to the "
                               "requested name or ordinal.",
                               "ADODB.Fields");
        }
        std::size_t position = 0;
        const HRESULT hr = core_->FieldIndex(index, position);
        if (FAILED(hr)) {
            return hr;
        }
        if (items_.size() < core_->FieldCount()) {
            items_.resize(core_->FieldCount());
        }
        if (items_[position] == nullptr) {
            items_[position] = MakeComObject<CField>(core_, position);
        }
        *field = items_[position].Get();
        (*field)->AddRef();
        return S_OK;
    });
}

HRESULT CFields::InterfaceSupportsErrorInfo(const IID& riid) {
    return riid == Fields::iid ? S_OK : S_FALSE;
}

const CDispatchTable<CFields>& CFields::DispatchTable() {
    using Table = CDispatchTable<CFields>;
    static const Table table(
        "ADODB.Fields",
        {
            Table::Get("Item", DISPID_VALUE, {DispParam::In("Index", VT_VARIANT)}, VT_DISPATCH,
                       [](CFields& f, CDispArgs& a, CComVariant& r) {
                           CComPtr<Field> item;
                           const HRESULT hr = f.get_Item(a[0], item.ReleaseAndGetAddressOf());
                           if (SUCCEEDED(hr)) {
                               r = CComVariant(static_cast<IDispatch*>(item.Get()));
                           }
                           return hr;
                       }),
            Table::Get("Count", kDispCount, VT_I4,
                       [](CFields& f, CDispArgs&, CComVariant& r) {
                           LONG count = 0;
                           const HRESULT hr = f.get_Count(&count);
                           r = CComVariant(static_cast<int>(count));
                           return hr;
                       }),
        });
    return table;
}
