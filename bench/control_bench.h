// What the benchmarks of control modules share: a control created through its module's class
// factory and shown in a container window, a connection to a SQLite file, and the pages of a
// printed PDF.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/ado/ado.h"
#include "platform/com/bstr.h"
#include "platform/com/module_loader.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/ui/ole_object.h"

// The control of the class from the module's own class factory, as a host gets it; empty when
// the module or the class is missing.
inline CComPtr<IDispatch> CreateControlFromModule(const char* modulePath, const CLSID& clsid) {
    CComPtr<IDispatch> control;
    void* module = nullptr;
    if (FAILED(CoLoadModule(modulePath, &module))) {
        return control;
    }
    const auto getClassObject = reinterpret_cast<DllGetClassObjectFunction>(  // NOLINT: export
        CoModuleSymbol(module, "DllGetClassObject"));
    CComPtr<IClassFactory> factory;
    if (getClassObject == nullptr ||
        FAILED(getClassObject(clsid, IID_IClassFactory,
                              reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf())))) {
        return control;
    }
    factory->CreateInstance(nullptr, IDispatch::iid,
                            reinterpret_cast<void**>(control.ReleaseAndGetAddressOf()));
    return control;
}

// An open connection to the SQLite file; empty when it does not open.
inline CComPtr<_Connection> OpenSqliteConnection(const std::string& path) {
    CComPtr<_Connection> connection;
    if (FAILED(RegisterAdoClasses()) ||
        FAILED(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection,
                                reinterpret_cast<void**>(connection.ReleaseAndGetAddressOf())))) {
        return connection;
    }
    const CComBSTR text("Provider=SQLite;Data Source=" + path);
    const CComBSTR none;
    if (FAILED(connection->Open(text.Get(), none.Get(), none.Get(), 0))) {
        connection.Release();
    }
    return connection;
}

// A control from its module shown in a container window of its size; window is null when it
// could not be shown.
struct ShownControl {
    ShownControl(const char* modulePath, const CLSID& clsid, SIZE size)
        : control(CreateControlFromModule(modulePath, clsid)) {
        const RECT rect{0, 0, size.cx, size.cy};
        container.Create(nullptr, rect);
        if (control && SUCCEEDED(ComQueryInterface(control.Get(), ole)) &&
            SUCCEEDED(ole->DoVerb(OLEIVERB_SHOW, &container, rect))) {
            ole->GetControlWindow(&window);
        }
    }
    ShownControl(const ShownControl&) = delete;
    ShownControl& operator=(const ShownControl&) = delete;
    ~ShownControl() {
        if (ole) {
            ole->Close();
        }
    }

    CWnd container;
    CComPtr<IDispatch> control;
    CComPtr<IOleObject> ole;
    CWnd* window = nullptr;
};

// Pages of a PDF file: its page objects.
inline int PdfPageCount(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    int pages = 0;
    for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
         at = bytes.find("/Type /Page", at + 1)) {
        pages += bytes.compare(at, 12, "/Type /Pages") != 0 ? 1 : 0;
    }
    return pages;
}

// Prints through `print` to a PDF of the file name in the temporary folder once an iteration,
// the user choosing the file in the print dialog: pages per second and pages a print.
template <class Print>
void MeasurePrintToPdf(benchmark::State& state, const char* fileName, Print print) {
    const std::string pdf = (std::filesystem::temp_directory_path() / fileName).string();
    double pages = 0;
    for (auto _ : state) {
        ScopedScriptedDialogs dialogs;
        dialogs->PushPrintToFile(pdf);
        print();
        state.PauseTiming();
        pages += static_cast<double>(PdfPageCount(pdf));
        state.ResumeTiming();
    }
    std::filesystem::remove(pdf);
    state.counters["pages_per_s"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
    state.counters["pages"] = pages / static_cast<double>(state.iterations());
}
