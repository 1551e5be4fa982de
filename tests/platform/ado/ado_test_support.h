// Helpers of the data-access tests: temporary copies of the sample database, connections and
// recordsets opened through the object model, reading values and errors back, and tables of
// cases run on both providers.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/ado/ado.h"
#include "platform/com/class_factory.h"
#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"
#include "platform/com/error_info.h"
#include "tests/platform/ado/connection_errors.h"
#include "tests/sample_data.h"
#include "tests/temp_folder.h"

// A result that is a success, or a failure that names the code in hex.
inline ::testing::AssertionResult HrSucceeded(const char* expression, HRESULT hr) {
    if (SUCCEEDED(hr)) {
        return ::testing::AssertionSuccess();
    }
    char code[16];  // NOLINT(*-avoid-c-arrays): snprintf wants a buffer
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    return ::testing::AssertionFailure() << expression << " failed with " << code;
}
inline ::testing::AssertionResult HrFailed(const char* expression, HRESULT hr) {
    if (FAILED(hr)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << expression << " succeeded";
}
#define EXPECT_HRESULT_SUCCEEDED(expression) EXPECT_PRED_FORMAT1(HrSucceeded, (expression))
#define ASSERT_HRESULT_SUCCEEDED(expression) ASSERT_PRED_FORMAT1(HrSucceeded, (expression))
#define EXPECT_HRESULT_FAILED(expression) EXPECT_PRED_FORMAT1(HrFailed, (expression))

constexpr const char* kNoSampleDatabase =
    "no sample database at QOR_SAMPLE_DB; build the target qor_sample_db";

// A copy of the sample database in folder, so that a test may change it.
inline std::string CopySample(const TempFolder& folder, std::string_view name = "sample.db") {
    return folder.Copy(SampleDatabase(), name);
}

inline std::string SqliteString(const std::string& path) {
    return "Provider=SQLite;Data Source=" + path;
}

inline CComVariant Missing() {
    return CComVariant::Missing();
}

// A VT_ARRAY | VT_VARIANT of the values, as field and value lists are passed.
inline CComVariant VariantArray(const std::vector<CComVariant>& values) {
    CComVariant result;
    EXPECT_TRUE(MakeVariantVector(static_cast<ULONG>(values.size()), result));
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
        SafeArrayPutElement(result.parray, &i, &values[static_cast<std::size_t>(i)]);
    }
    return result;
}

inline CComPtr<_Connection> NewConnection() {
    EXPECT_HRESULT_SUCCEEDED(RegisterAdoClasses());
    CComPtr<_Connection> connection;
    const HRESULT hr =
        CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, _Connection::iid,
                         reinterpret_cast<void**>(connection.ReleaseAndGetAddressOf()));
    EXPECT_HRESULT_SUCCEEDED(hr);
    return connection;
}

inline CComPtr<_Recordset> NewRecordset() {
    EXPECT_HRESULT_SUCCEEDED(RegisterAdoClasses());
    CComPtr<_Recordset> recordset;
    const HRESULT hr =
        CoCreateInstance(CLSID_Recordset, nullptr, CLSCTX_ALL, _Recordset::iid,
                         reinterpret_cast<void**>(recordset.ReleaseAndGetAddressOf()));
    EXPECT_HRESULT_SUCCEEDED(hr);
    return recordset;
}

inline HRESULT OpenConnection(const CComPtr<_Connection>& connection, const std::string& text) {
    const CComBSTR string(text);
    return connection->Open(string.Get(), nullptr, nullptr, adConnectUnspecified);
}

inline CComPtr<_Connection> Connect(const std::string& text) {
    CComPtr<_Connection> connection = NewConnection();
    EXPECT_HRESULT_SUCCEEDED(OpenConnection(connection, text)) << text;
    return connection;
}

inline HRESULT OpenRecordset(const CComPtr<_Recordset>& recordset,
                             const CComPtr<_Connection>& connection, const std::string& sql,
                             LONG cursorType = adOpenKeyset, LONG lockType = adLockOptimistic,
                             LONG options = adCmdText) {
    const CComVariant source(sql);
    const CComVariant active(static_cast<IDispatch*>(connection.Get()));
    return recordset->Open(source, active, cursorType, lockType, options);
}

inline CComPtr<_Recordset> Query(const CComPtr<_Connection>& connection, const std::string& sql,
                                 LONG cursorType = adOpenKeyset, LONG lockType = adLockOptimistic) {
    CComPtr<_Recordset> recordset = NewRecordset();
    EXPECT_HRESULT_SUCCEEDED(OpenRecordset(recordset, connection, sql, cursorType, lockType))
        << sql;
    return recordset;
}

inline CComPtr<Field> FieldOf(const CComPtr<_Recordset>& recordset, const CComVariant& index) {
    CComPtr<Fields> fields;
    EXPECT_HRESULT_SUCCEEDED(recordset->get_Fields(fields.ReleaseAndGetAddressOf()));
    CComPtr<Field> field;
    if (fields != nullptr) {
        EXPECT_HRESULT_SUCCEEDED(fields->get_Item(index, field.ReleaseAndGetAddressOf()));
    }
    return field;
}

inline CComVariant Value(const CComPtr<_Recordset>& recordset, const std::string& name) {
    CComVariant value;
    const CComPtr<Field> field = FieldOf(recordset, CComVariant(name));
    if (field != nullptr) {
        EXPECT_HRESULT_SUCCEEDED(field->get_Value(&value)) << name;
    }
    return value;
}

// The value as text under en-US conventions, as the tests write expectations.
inline std::string Text(const CComPtr<_Recordset>& recordset, const std::string& name) {
    CComVariant value = Value(recordset, name);
    CComVariant text;
    if (value.vt == VT_NULL) {
        return "NULL";
    }
    EXPECT_HRESULT_SUCCEEDED(VariantChangeTypeEx(&text, &value, 0x0409, 0, VT_BSTR)) << name;
    return std::string(text.Text());
}

inline LONG IntValue(const CComPtr<_Recordset>& recordset, const std::string& name) {
    CComVariant value = Value(recordset, name);
    EXPECT_HRESULT_SUCCEEDED(value.ChangeType(VT_I4)) << name;
    return value.lVal;
}

inline HRESULT PutValue(const CComPtr<_Recordset>& recordset, const std::string& name,
                        const CComVariant& value) {
    const CComPtr<Field> field = FieldOf(recordset, CComVariant(name));
    return field != nullptr ? field->put_Value(value) : E_FAIL;
}

inline bool AtEof(const CComPtr<_Recordset>& recordset) {
    VARIANT_BOOL eof = VARIANT_FALSE;
    EXPECT_HRESULT_SUCCEEDED(recordset->get_EOF(&eof));
    return eof != VARIANT_FALSE;
}

inline bool AtBof(const CComPtr<_Recordset>& recordset) {
    VARIANT_BOOL bof = VARIANT_FALSE;
    EXPECT_HRESULT_SUCCEEDED(recordset->get_BOF(&bof));
    return bof != VARIANT_FALSE;
}

// Where the recordset is: "BOF", "EOF" or the text of the field of the current record.
inline std::string Where(const CComPtr<_Recordset>& recordset, const std::string& field) {
    if (AtBof(recordset)) {
        return "BOF";
    }
    return AtEof(recordset) ? "EOF" : Text(recordset, field);
}

inline LONG Count(const CComPtr<_Recordset>& recordset) {
    LONG count = -1;
    EXPECT_HRESULT_SUCCEEDED(recordset->get_RecordCount(&count));
    return count;
}

inline bool Supports(const CComPtr<_Recordset>& recordset, LONG options) {
    VARIANT_BOOL supported = VARIANT_FALSE;
    EXPECT_HRESULT_SUCCEEDED(recordset->Supports(options, &supported));
    return supported != VARIANT_FALSE;
}

inline LONG Scalar(const CComPtr<_Connection>& connection, const std::string& sql) {
    const CComPtr<_Recordset> recordset = Query(connection, sql, adOpenStatic, adLockReadOnly);
    CComVariant value;
    const CComPtr<Field> field = FieldOf(recordset, CComVariant(0));
    if (field == nullptr || FAILED(field->get_Value(&value)) || FAILED(value.ChangeType(VT_I4))) {
        return -1;
    }
    return value.lVal;
}

inline HRESULT Execute(const CComPtr<_Connection>& connection, const std::string& sql) {
    const CComBSTR text(sql);
    return connection->Execute(text.Get(), nullptr, adExecuteNoRecords, nullptr);
}

// The first error's source.
inline std::string ErrorSource(const CComPtr<_Connection>& connection) {
    CComPtr<Errors> errors;
    CComPtr<Error> error;
    CComBSTR source;
    if (SUCCEEDED(connection->get_Errors(errors.ReleaseAndGetAddressOf())) &&
        SUCCEEDED(errors->get_Item(CComVariant(0), error.ReleaseAndGetAddressOf())) &&
        SUCCEEDED(error->get_Source(source.ReleaseAndGetAddressOf()))) {
        return source.ToString();
    }
    return {};
}

// The connection string of the PostgreSQL test server, loaded with the sample data.
inline std::string ServerString() {
    return EnvironmentValue("QOR_TEST_PG");
}

// Cases of a table run on each provider, named "Provider_case" in test listings.
template <class Case>
auto OnEachProvider(std::initializer_list<Case> cases) {
    return ::testing::Combine(::testing::Values(Provider::SQLite, Provider::PostgreSQL),
                              ::testing::ValuesIn(std::vector<Case>(cases)));
}

template <class Case>
std::string ProviderCaseName(const ::testing::TestParamInfo<std::tuple<Provider, Case>>& info) {
    return NameOf(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
}

// A table of cases over the sample data on each provider: SQLite on a copy of the sample
// database, PostgreSQL on the test server QOR_TEST_PG names (skipped when it names none).
template <class Case>
class SampleDataTest : public ::testing::TestWithParam<std::tuple<Provider, Case>> {
  protected:
    void SetUp() override {
        if (std::get<0>(this->GetParam()) == Provider::PostgreSQL) {
            if (ServerString().empty()) {
                GTEST_SKIP() << kNoPostgresServer;
            }
            connection_ = Connect(ServerString());
        } else {
            ASSERT_TRUE(std::filesystem::exists(SampleDatabase())) << kNoSampleDatabase;
            connection_ = Connect(SqliteString(CopySample(folder_)));
        }
    }

    const Case& Row() const { return std::get<1>(this->GetParam()); }

    TempFolder folder_;
    CComPtr<_Connection> connection_;
};
