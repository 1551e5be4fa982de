// A module's toolbox bitmap and icons: their sizes, the About box's icon, loading through the
// module's export and through the class registry, and the failures on the way.
#include <gtest/gtest.h>

#include <fstream>

#include "controls/common/control_module.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/dialogs/icon_resources.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "tests/platform/com/temp_registry.h"
#include "tests/platform/gdi/pixel_helpers.h"

namespace {

constexpr CLSID kControl = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D01}");
constexpr CLSID kUnregistered = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4DFF}");

ControlClassInfo Named(const char* name) {
    ControlClassInfo info;
    info.name = name;
    return info;
}

CBitmap ImageOf(const ControlClassInfo& info, UINT type, UINT id) {
    std::optional<CBitmap> image = ControlModuleImage(info, type, id);
    return image ? std::move(*image) : CBitmap(0, 0);
}

HRESULT RegisterTestModule() {
    void* module = nullptr;
    const HRESULT hr = CoLoadModule(QOR_TEST_MODULE, &module);
    return FAILED(hr) ? hr
                      : reinterpret_cast<DllRegisterServerFunction>(  // NOLINT: an export
                            CoModuleSymbol(module, "DllRegisterServer"))();
}

void WriteToolboxValue(const std::string& registryPath, const std::string& value) {
    std::ofstream registry(registryPath, std::ios::trunc);
    registry << "[CLSID\\" << FormatGuid(kControl) << "\\ToolboxBitmap32]\n@=" << value << "\n";
}

}  // namespace

TEST(ControlImagesTest, EachResourceHasItsSizeAndTheTwoIconsDiffer) {
    const ControlClassInfo form = Named("QORForm");
    const CBitmap toolbox = ImageOf(form, IMAGE_BITMAP, IDB_TOOLBOX);
    EXPECT_EQ(toolbox.Width(), 16);
    EXPECT_EQ(toolbox.Height(), 15);
    const CBitmap module = ImageOf(form, IMAGE_ICON, IDI_MODULE);
    const CBitmap control = ImageOf(form, IMAGE_ICON, IDI_CONTROL);
    EXPECT_EQ(module.Width(), 32);
    EXPECT_EQ(module.Height(), 32);
    EXPECT_EQ(control.Width(), 32);
    EXPECT_EQ(control.Height(), 32);
    EXPECT_FALSE(SamePixels(module, control));
    // Drawn the same way every time: a host may cache what it loaded.
    EXPECT_TRUE(SamePixels(module, ImageOf(form, IMAGE_ICON, IDI_MODULE)));

    EXPECT_FALSE(ControlModuleImage(form, IMAGE_BITMAP, 2));
    EXPECT_FALSE(ControlModuleImage(form, IMAGE_ICON, 3));
    EXPECT_FALSE(ControlModuleImage(form, 2, IDB_TOOLBOX));
}

TEST(ControlImagesTest, EveryControlHasImagesOfItsOwn) {
    const std::vector<const char*> names{"QORGrid",  "QORForm", "QORQuery", "QORReport",
                                         "QOROrder", "QORTest", "Q"};
    for (size_t i = 0; i < names.size(); ++i) {
        for (size_t j = i + 1; j < names.size(); ++j) {
            for (const auto& [type, id] :
                 {std::pair{IMAGE_BITMAP, IDB_TOOLBOX}, std::pair{IMAGE_ICON, IDI_MODULE},
                  std::pair{IMAGE_ICON, IDI_CONTROL}}) {
                EXPECT_FALSE(SamePixels(ImageOf(Named(names[i]), type, id),
                                        ImageOf(Named(names[j]), type, id)))
                    << names[i] << " and " << names[j] << ", image " << type << "/" << id;
            }
        }
    }
}

TEST(ControlImagesTest, TheModuleHandsOutItsImagesThroughItsExport) {
    const ControlClassInfo test = Named("QORTest");
    CBitmap image(1, 1);
    EXPECT_EQ(LoadModuleImage(QOR_TEST_MODULE, IMAGE_ICON, IDI_CONTROL, &image), S_OK);
    EXPECT_TRUE(SamePixels(image, ImageOf(test, IMAGE_ICON, IDI_CONTROL)));

    // Failures leave the caller's bitmap as it was.
    EXPECT_EQ(LoadModuleImage(QOR_TEST_MODULE, IMAGE_ICON, 3, &image),
              HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(LoadModuleImage(QOR_TEST_MODULE, 2, IDB_TOOLBOX, &image),
              HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(LoadModuleImage(QOR_TEST_MODULE, IMAGE_BITMAP, IDB_TOOLBOX, nullptr), E_POINTER);
    EXPECT_EQ(LoadModuleImage(QOR_NOT_A_MODULE, IMAGE_BITMAP, IDB_TOOLBOX, &image),
              HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(LoadModuleImage("/nonexistent/QORNone.so", IMAGE_BITMAP, IDB_TOOLBOX, &image),
              CO_E_DLLNOTFOUND);
    EXPECT_TRUE(SamePixels(image, ImageOf(test, IMAGE_ICON, IDI_CONTROL)));
    CoFreeUnusedLibraries();
}

TEST(ControlImagesTest, TheToolboxBitmapLoadsThroughTheRegistryValue) {
    const CTempRegistry registry;
    ASSERT_EQ(RegisterTestModule(), S_OK);
    CBitmap toolbox(1, 1);
    ASSERT_EQ(LoadToolboxBitmap(kControl, &toolbox), S_OK);
    EXPECT_TRUE(SamePixels(toolbox, ImageOf(Named("QORTest"), IMAGE_BITMAP, IDB_TOOLBOX)));
    EXPECT_EQ(LoadToolboxBitmap(kUnregistered, &toolbox), REGDB_E_KEYMISSING);
    EXPECT_EQ(LoadToolboxBitmap(kControl, nullptr), E_POINTER);

    // A value that names another id, a module that is not there, or nothing usable.
    WriteToolboxValue(registry.Path(), std::string(QOR_TEST_MODULE) + ", 2");
    EXPECT_EQ(LoadToolboxBitmap(kControl, &toolbox),
              HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND));
    WriteToolboxValue(registry.Path(), "/nonexistent/QORNone.so, 1");
    EXPECT_EQ(LoadToolboxBitmap(kControl, &toolbox), CO_E_DLLNOTFOUND);
    for (const char* value : {"QORTest.so", "QORTest.so,", ", 1", "QORTest.so, one",
                              "QORTest.so, -1", "QORTest.so, 99999999999"}) {
        WriteToolboxValue(registry.Path(), value);
        EXPECT_EQ(LoadToolboxBitmap(kControl, &toolbox), REGDB_E_INVALIDVALUE) << value;
    }
    {
        std::ofstream damage(registry.Path(), std::ios::app);
        damage << "[unclosed\n";
    }
    EXPECT_EQ(LoadToolboxBitmap(kControl, &toolbox), REGDB_E_READREGDB);
    EXPECT_TRUE(SamePixels(toolbox, ImageOf(Named("QORTest"), IMAGE_BITMAP, IDB_TOOLBOX)));
    CoFreeUnusedLibraries();
}

TEST(ControlImagesTest, AToolboxValueSplitsAtItsLastComma) {
    const std::optional<ToolboxBitmapValue> value =
        ParseToolboxBitmapValue("  /opt/my, modules/QORGrid.so ,\t7 ");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->modulePath, "/opt/my, modules/QORGrid.so");
    EXPECT_EQ(value->id, 7U);
}

TEST(ControlImagesTest, TheAboutBoxShowsIconOneLeftOfItsLines) {
    const CTempRegistry registry;
    UseClassRegistry();
    ASSERT_EQ(RegisterTestModule(), S_OK);
    CComPtr<IDispatch> control;
    ASSERT_EQ(CoCreateInstance(kControl, nullptr, CLSCTX_INPROC_SERVER, IDispatch::iid,
                               reinterpret_cast<void**>(  // NOLINT: out parameter
                                   control.ReleaseAndGetAddressOf())),
              S_OK);
    // Another module's icon under the same id must not be what this About box shows.
    RegisterIconResource(IDI_MODULE, ImageOf(Named("QORGrid"), IMAGE_ICON, IDI_MODULE));
    ScopedScriptedDialogs dialogs;
    std::vector<ShownIcon> icons;
    RECT versionLine{};
    dialogs->PushDialog([&](CDialogDriver& driver) { icons = driver.Icons(); });
    ASSERT_EQ(InvokeByName(control.Get(), "AboutBox", DISPATCH_METHOD, {}), S_OK);

    ASSERT_EQ(icons.size(), 1U);
    EXPECT_EQ(icons[0].iconId, IDI_MODULE);
    EXPECT_TRUE(SamePixels(icons[0].image, ImageOf(Named("QORTest"), IMAGE_ICON, IDI_MODULE)));
    for (const DlgControlTemplate& line : ControlAboutDialog(Named("QORTest")).controls) {
        if (line.id == IDC_ABOUT_VERSION) {
            versionLine = DialogUnitsToPixels(line.x, line.y, line.cx, line.cy);
        }
    }
    EXPECT_LT(icons[0].place.right, versionLine.left);
    EXPECT_LE(icons[0].place.top, versionLine.top);
    EXPECT_GT(icons[0].place.left, 0);
    control.Release();
    SetClassSource(nullptr);
    CoFreeUnusedLibraries();
}
