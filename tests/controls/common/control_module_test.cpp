// The control module frame through a real module: self-registration, the stock members, the
// About box and the property page, activation by verbs, persistence and type information.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "controls/common/control_module.h"
#include "platform/com/class_registration.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/error_info.h"
#include "platform/com/module_loader.h"
#include "platform/dialogs/dialog_driver.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/text_metrics.h"
#include "platform/testing/input.h"
#include "tests/platform/com/temp_registry.h"

namespace {

constexpr CLSID kControl = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D01}");
constexpr CLSID kPage = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D02}");
constexpr GUID kLib = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D03}");
constexpr IID kDispatch = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D04}");
constexpr const char* kProgId = "QORTEST.QORTestCtrl.1";
constexpr COLORREF kTestControlFace = RGB(0, 128, 0);

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

template <class F>
F Export(const char* name) {
    void* module = nullptr;
    EXPECT_EQ(CoLoadModule(QOR_TEST_MODULE, &module), S_OK);
    return reinterpret_cast<F>(CoModuleSymbol(module, name));  // NOLINT: an export
}

HRESULT RegisterTestModule() {
    return Export<DllRegisterServerFunction>("DllRegisterServer")();
}

HRESULT UnregisterTestModule() {
    return Export<DllUnregisterServerFunction>("DllUnregisterServer")();
}

HRESULT TestModuleCanUnloadNow() {
    return Export<DllCanUnloadNowFunction>("DllCanUnloadNow")();
}

template <class I>
HRESULT CreateByProgId(const char* progId, CComPtr<I>& object) {
    CLSID clsid;
    const HRESULT hr = CLSIDFromProgID(progId, &clsid);
    return FAILED(hr) ? hr
                      : CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, I::iid,
                                         reinterpret_cast<void**>(  // NOLINT: out parameter
                                             object.ReleaseAndGetAddressOf()));
}

class ControlModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseClassRegistry();
        ASSERT_EQ(RegisterTestModule(), S_OK);
        ASSERT_EQ(CreateByProgId(kProgId, control_), S_OK);
        ASSERT_EQ(ComQueryInterface(control_.Get(), ole_), S_OK);
        ASSERT_TRUE(container_.Create(nullptr, RECT{0, 0, 300, 200}));
    }
    void TearDown() override {
        ole_.Release();
        control_.Release();
        container_.DestroyWindow();
        SetClassSource(nullptr);
        CoFreeUnusedLibraries();
    }

    CTempRegistry registry_;
    ScopedScriptedDialogs dialogs_;
    CComPtr<IDispatch> control_;
    CComPtr<IOleObject> ole_;
    CWnd container_;
};

}  // namespace

TEST_F(ControlModuleTest, RegisteringTwiceGivesTheSameRegistryAndUnregisteringEmptiesIt) {
    const std::string once = ReadAll(registry_.Path());
    EXPECT_EQ(RegisterTestModule(), S_OK);
    EXPECT_EQ(ReadAll(registry_.Path()), once);

    CRegistryKeys keys;
    ASSERT_EQ(ReadClassRegistry(keys), S_OK);
    EXPECT_EQ(keys.GetValue("CLSID\\" + FormatGuid(kControl)), "QORTest Control");
    EXPECT_EQ(keys.GetValue("CLSID\\" + FormatGuid(kControl) + "\\MiscStatus"), "131473");
    EXPECT_EQ(keys.GetValue("CLSID\\" + FormatGuid(kPage)), "QORTest Property Page");
    EXPECT_EQ(keys.GetValue("TypeLib\\" + FormatGuid(kLib) + "\\1.0", "HelpFile"), "QORTest.hlp");
    std::string server;
    ASSERT_EQ(RegistryInprocServer(kControl, &server), S_OK);
    EXPECT_TRUE(std::filesystem::equivalent(server, QOR_TEST_MODULE));

    EXPECT_EQ(UnregisterTestModule(), S_OK);
    ASSERT_EQ(ReadClassRegistry(keys), S_OK);
    EXPECT_FALSE(keys.HasKey("CLSID\\" + FormatGuid(kControl)));
    EXPECT_FALSE(keys.HasKey("CLSID\\" + FormatGuid(kPage)));
    EXPECT_FALSE(keys.HasKey("TypeLib\\" + FormatGuid(kLib)));
    EXPECT_FALSE(keys.HasKey("Interface"));
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(kProgId, &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(UnregisterTestModule(), S_OK);  // nothing left to remove is no failure
}

TEST_F(ControlModuleTest, ADamagedRegistryFailsRegistrationAndStaysAsItWas) {
    {
        std::ofstream damage(registry_.Path(), std::ios::app);
        damage << "[unclosed\n";
    }
    const std::string damaged = ReadAll(registry_.Path());
    EXPECT_EQ(RegisterTestModule(), SELFREG_E_TYPELIB);
    EXPECT_EQ(UnregisterTestModule(), SELFREG_E_TYPELIB);
    EXPECT_EQ(ReadAll(registry_.Path()), damaged);
}

TEST_F(ControlModuleTest, ReadyStateIsOneByNameAndByIdAndCannotBePut) {
    CComVariant byName;
    ASSERT_EQ(GetPropertyByName(control_.Get(), "readystate", &byName), S_OK);
    EXPECT_EQ(byName.vt, VT_I4);
    EXPECT_EQ(byName.lVal, READYSTATE_LOADING);
    CComVariant byId;
    ASSERT_EQ(InvokeDispatch(control_.Get(), DISPID_READYSTATE, DISPATCH_PROPERTYGET, {}, &byId),
              S_OK);
    EXPECT_EQ(byId.lVal, READYSTATE_LOADING);
    EXPECT_EQ(
        InvokeDispatch(control_.Get(), DISPID_READYSTATE, DISPATCH_PROPERTYPUT, {CComVariant(4)}),
        DISP_E_MEMBERNOTFOUND);
}

TEST_F(ControlModuleTest, AboutBoxShowsTheModulesAboutDialog) {
    std::string versionLine;
    dialogs_->PushDialog([&](CDialogDriver& driver) {
        versionLine = driver.Dialog().GetDlgItemText(IDC_ABOUT_VERSION);
    });
    ASSERT_EQ(InvokeByName(control_.Get(), "AboutBox", DISPATCH_METHOD, {}), S_OK);
    ASSERT_EQ(dialogs_->Shown().size(), 1U);
    EXPECT_EQ(dialogs_->Shown()[0].kind, ShownDialog::Kind::Dialog);
    EXPECT_EQ(dialogs_->Shown()[0].templateId, IDD_ABOUTBOX);
    EXPECT_EQ(dialogs_->Shown()[0].caption, "About QORTest Control");
    EXPECT_EQ(versionLine, "QORTest Control, Version 1.0");
}

TEST_F(ControlModuleTest, VerbsOpenTheControlsWindowInsideTheContainer) {
    CWnd* window = &container_;
    EXPECT_EQ(ole_->GetControlWindow(&window), E_FAIL);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(ole_->DoVerb(OLEIVERB_SHOW, nullptr, RECT{0, 0, 10, 10}), E_INVALIDARG);

    const RECT place{20, 30, 120, 90};
    ASSERT_EQ(ole_->DoVerb(OLEIVERB_SHOW, &container_, place), S_OK);
    ASSERT_EQ(ole_->GetControlWindow(&window), S_OK);
    EXPECT_EQ(window->GetParent(), &container_);
    EXPECT_EQ(window->GetWindowRect(), place);
    EXPECT_TRUE(window->IsWindowVisible());
    EXPECT_EQ(ReadPixel(*window, 50, 30), kTestControlFace);

    // Activating again moves the window rather than making another.
    const RECT moved{40, 30, 140, 90};
    ASSERT_EQ(ole_->DoVerb(OLEIVERB_PRIMARY, &container_, moved), S_OK);
    CWnd* again = nullptr;
    ASSERT_EQ(ole_->GetControlWindow(&again), S_OK);
    EXPECT_EQ(again, window);
    EXPECT_EQ(again->GetWindowRect(), moved);

    EXPECT_EQ(ole_->DoVerb(OLEIVERB_HIDE, &container_, moved), S_OK);
    EXPECT_FALSE(window->IsWindowVisible());
    EXPECT_EQ(ole_->DoVerb(OLEIVERB_OPEN, &container_, moved), E_INVALIDARG);
    EXPECT_EQ(ole_->Close(), S_OK);
    EXPECT_EQ(ole_->GetControlWindow(&window), E_FAIL);
}

TEST_F(ControlModuleTest, OffersEditAndPropertiesAndItsMiscStatus) {
    std::vector<OLEVERB> verbs;
    ASSERT_EQ(ole_->EnumVerbs(&verbs), S_OK);
    ASSERT_EQ(verbs.size(), 2U);
    EXPECT_EQ(verbs[0].lVerb, OLEIVERB_PRIMARY);
    EXPECT_EQ(verbs[0].name, "Edit");
    EXPECT_EQ(verbs[1].lVerb, OLEIVERB_PROPERTIES);
    EXPECT_EQ(verbs[1].name, "Properties");
    DWORD status = 0;
    ASSERT_EQ(ole_->GetMiscStatus(&status), S_OK);
    EXPECT_EQ(status, 0x20191U);
    CLSID clsid;
    ASSERT_EQ(ole_->GetUserClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, kControl);
}

TEST_F(ControlModuleTest, PropertiesShowsTheGeneralPage) {
    std::string placeholder;
    dialogs_->PushDialog([&](CDialogDriver& driver) {
        placeholder = driver.Dialog().GetDlgItemText(IDC_PAGE_TEXT);
    });
    ASSERT_EQ(ole_->DoVerb(OLEIVERB_SHOW, &container_, RECT{0, 0, 100, 50}), S_OK);
    EXPECT_EQ(ole_->DoVerb(OLEIVERB_PROPERTIES, &container_, RECT{}), S_OK);
    ASSERT_EQ(dialogs_->Shown().size(), 1U);
    EXPECT_EQ(dialogs_->Shown()[0].templateId, IDD_PROPPAGE);
    EXPECT_EQ(dialogs_->Shown()[0].caption, "General");
    EXPECT_EQ(placeholder,
              "TODO: Place controls to manipulate properties of QORTest Control on this dialog.");

    CComPtr<IPropertyPage> page;
    ASSERT_EQ(CoCreateInstance(kPage, nullptr, CLSCTX_INPROC_SERVER, IPropertyPage::iid,
                               reinterpret_cast<void**>(  // NOLINT: out parameter
                                   page.ReleaseAndGetAddressOf())),
              S_OK);
    PROPPAGEINFO info;
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(info.title, "General");
    EXPECT_EQ(info.size.cx, DialogUnitsToPixels(0, 0, 250, 62).Width());
}

TEST_F(ControlModuleTest, PersistsOnlyTheVersionAndTheStockProperties) {
    CComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(ComQueryInterface(control_.Get(), persist), S_OK);
    ASSERT_EQ(PutPropertyByName(control_.Get(), "Caption", CComVariant("changed")), S_OK);
    PropertyBag bag{{"stale", CComVariant(1)}};
    ASSERT_EQ(persist->Save(&bag), S_OK);
    ASSERT_EQ(bag.size(), 2U);
    EXPECT_EQ(bag[0].name, "_Version");
    EXPECT_EQ(bag[0].value.lVal, 0x00010000);
    EXPECT_EQ(bag[1].name, "_StockProps");
    EXPECT_EQ(bag[1].value.lVal, 0);

    // Loading starts from a new control's state: the caption is not part of it.
    ASSERT_EQ(persist->Load(bag), S_OK);
    CComVariant caption;
    ASSERT_EQ(GetPropertyByName(control_.Get(), "Caption", &caption), S_OK);
    EXPECT_EQ(caption.Text(), "");
    EXPECT_EQ(persist->Load({{"_Version", CComVariant("one point oh")}}), E_INVALIDARG);
    EXPECT_EQ(persist->Load({{"_Version", CComVariant("65536")}, {"Other", CComVariant()}}), S_OK);
    CLSID clsid;
    ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, kControl);
}

TEST_F(ControlModuleTest, TypeInformationListsTheControlsMembersAndTheStockOnes) {
    CComPtr<ITypeInfo> info;
    ASSERT_EQ(control_->GetTypeInfo(0, 0, info.ReleaseAndGetAddressOf()), S_OK);
    TYPEATTR attr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr.guid, kDispatch);
    BSTR name = nullptr;
    BSTR doc = nullptr;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr), S_OK);
    EXPECT_EQ(BstrView(name), "_DQORTest");
    EXPECT_EQ(BstrView(doc), "Dispatch interface for QORTest Control");
    SysFreeString(name);
    SysFreeString(doc);
    std::vector<std::pair<MEMBERID, INVOKEKIND>> members;
    for (UINT i = 0; i < attr.cFuncs; ++i) {
        FUNCDESC desc;
        ASSERT_EQ(info->GetFuncDesc(i, &desc), S_OK);
        members.emplace_back(desc.memid, desc.invkind);
    }
    EXPECT_EQ(members, (std::vector<std::pair<MEMBERID, INVOKEKIND>>{
                           {1, INVOKE_FUNC},
                           {2, INVOKE_PROPERTYGET},
                           {2, INVOKE_PROPERTYPUT},
                           {3, INVOKE_PROPERTYGET},
                           {4, INVOKE_FUNC},
                           {DISPID_ABOUTBOX, INVOKE_FUNC},
                           {DISPID_READYSTATE, INVOKE_PROPERTYGET}}));

    // Divide(17, 5, remainder) through the description, the remainder stored back.
    LONG remainder = 0;
    VARIANT args[3] = {};  // NOLINT(*-avoid-c-arrays): arguments in reverse order
    args[0].vt = VT_BYREF | VT_I4;
    args[0].plVal = &remainder;
    args[1].vt = VT_I4;
    args[1].lVal = 5;
    args[2].vt = VT_I4;
    args[2].lVal = 17;
    DISPPARAMS params{args, nullptr, 3, 0};
    CComVariant quotient;
    ASSERT_EQ(
        info->Invoke(control_.Get(), 1, DISPATCH_METHOD, &params, &quotient, nullptr, nullptr),
        S_OK);
    EXPECT_EQ(quotient.lVal, 3);
    EXPECT_EQ(remainder, 2);

    CComPtr<ITypeLib> lib;
    ASSERT_EQ(info->GetContainingTypeLib(lib.ReleaseAndGetAddressOf(), nullptr), S_OK);
    CComPtr<ITypeInfo> events;
    ASSERT_EQ(lib->GetTypeInfo(1, events.ReleaseAndGetAddressOf()), S_OK);
    FUNCDESC readyStateChange;
    ASSERT_EQ(events->GetFuncDesc(0, &readyStateChange), S_OK);
    EXPECT_EQ(readyStateChange.memid, DISPID_READYSTATECHANGE);
    TYPEKIND kind = TKIND_ENUM;
    ASSERT_EQ(lib->GetTypeInfoType(2, &kind), S_OK);
    EXPECT_EQ(kind, TKIND_COCLASS);
}

TEST_F(ControlModuleTest, TheModuleMayGoOnlyWhenItsObjectsHaveGone) {
    EXPECT_EQ(TestModuleCanUnloadNow(), S_FALSE);
    ole_.Release();
    control_.Release();
    EXPECT_EQ(TestModuleCanUnloadNow(), S_OK);
}

TEST(ControlModulesTest, TwoModulesOfOneFrameKeepTheirOwnClassesAndCounts) {
    void* test = nullptr;
    void* other = nullptr;
    ASSERT_EQ(CoLoadModule(QOR_TEST_MODULE, &test), S_OK);
    ASSERT_EQ(CoLoadModule(QOR_BROKEN_PROGID_MODULE, &other), S_OK);
    ASSERT_NE(test, other);
    const auto getClassObject = [](void* module) {
        return reinterpret_cast<DllGetClassObjectFunction>(  // NOLINT: an export
            CoModuleSymbol(module, "DllGetClassObject"));
    };
    const auto canUnloadNow = [](void* module) {
        return reinterpret_cast<DllCanUnloadNowFunction>(  // NOLINT: an export
            CoModuleSymbol(module, "DllCanUnloadNow"))();
    };
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(test)(kControl, IClassFactory::iid,
                                   reinterpret_cast<void**>(  // NOLINT: out parameter
                                       factory.ReleaseAndGetAddressOf())),
              S_OK);
    CComPtr<IDispatch> control;
    ASSERT_EQ(factory->CreateInstance(nullptr, IDispatch::iid,
                                      reinterpret_cast<void**>(  // NOLINT: out parameter
                                          control.ReleaseAndGetAddressOf())),
              S_OK);
    factory.Release();
    EXPECT_EQ(canUnloadNow(test), S_FALSE);
    EXPECT_EQ(canUnloadNow(other), S_OK);

    // The same class names in both modules, each answering with its own table.
    CComPtr<IDispatch> otherControl;
    ASSERT_EQ(getClassObject(other)(kControl, IClassFactory::iid,
                                    reinterpret_cast<void**>(  // NOLINT: out parameter
                                        factory.ReleaseAndGetAddressOf())),
              S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IDispatch::iid,
                                      reinterpret_cast<void**>(  // NOLINT: out parameter
                                          otherControl.ReleaseAndGetAddressOf())),
              S_OK);
    factory.Release();
    const auto sourceOfFailure = [](IDispatch* object) {
        CComVariant remainder;
        const HRESULT hr =
            InvokeByName(object, "Divide", DISPATCH_METHOD,
                         {CComVariant(1), CComVariant(0), CComVariant::ByReference(&remainder)});
        const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
        return hr == E_INVALIDARG && texts ? texts->source : std::string();
    };
    EXPECT_EQ(sourceOfFailure(control.Get()), kProgId);
    EXPECT_EQ(sourceOfFailure(otherControl.Get()), "QORTEST.Broken\nProgID.1");
    control.Release();
    EXPECT_EQ(canUnloadNow(test), S_OK);
    EXPECT_EQ(canUnloadNow(other), S_FALSE);
    otherControl.Release();
    EXPECT_EQ(canUnloadNow(other), S_OK);
    CoFreeUnusedLibraries();
}

TEST(ControlResourcesTest, AreFormedFromTheControlsName) {
    ControlClassInfo form;
    form.name = "QORForm";
    EXPECT_EQ(ControlModuleString(form, IDS_CONTROL_TYPENAME), "QORForm Control");
    EXPECT_EQ(ControlModuleString(form, IDS_PAGE_TYPENAME), "QORForm Property Page");
    EXPECT_EQ(ControlModuleString(form, IDS_PAGE_CAPTION), "General");
    EXPECT_EQ(ControlModuleString(form, 3), "");
    const DlgTemplate page = ControlPageDialog(form);
    EXPECT_EQ(page.cx, 250);
    EXPECT_EQ(page.cy, 62);

    std::map<std::string, std::string> version;
    for (const VersionEntry& entry : ControlVersionBlock(form)) {
        version[entry.name] = entry.value;
    }
    EXPECT_EQ(version["FileDescription"], "QORForm ActiveX Control Module");
    EXPECT_EQ(version["ProductName"], "QORForm ActiveX Control Module");
    EXPECT_EQ(version["FileVersion"], "1, 0, 0, 1");
    EXPECT_EQ(version["ProductVersion"], "1, 0, 0, 1");
    EXPECT_EQ(version["InternalName"], "QORForm");
    EXPECT_EQ(version["OriginalFilename"], "QORForm.OCX");
    EXPECT_TRUE(version.count("OLESelfRegister"));
}

TEST(ControlResourcesTest, TheAboutLinesFitOnOneLineForEveryControl) {
    const CTextMetrics metrics(CFont::FromPoints(80, "MS Sans Serif").GetLogFont(), 96);
    for (const char* name : {"QORGrid", "QORForm", "QORQuery", "QORReport", "QOROrder"}) {
        ControlClassInfo info;
        info.name = name;
        for (const DlgControlTemplate& line : ControlAboutDialog(info).controls) {
            if (line.kind == DlgControlKind::Static) {
                EXPECT_LE(metrics.Advance(line.text),
                          DialogUnitsToPixels(line.x, line.y, line.cx, line.cy).Width())
                    << line.text;
            }
        }
    }
}
