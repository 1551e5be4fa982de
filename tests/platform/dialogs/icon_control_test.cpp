// Icon statics: the icon their text names, at the icon's own size, and nothing for an id no
// icon has.
#include <gtest/gtest.h>

#include "platform/dialogs/dialog.h"
#include "platform/dialogs/icon_resources.h"
#include "platform/dialogs/scripted_dialogs.h"

namespace {

constexpr UINT kTemplate = 9200;
constexpr UINT kIcon = 7101;
constexpr UINT kUnknownIcon = 7102;
constexpr UINT kRenamed = 201;
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kYellow = RGB(255, 255, 0);

CBitmap TwoColourIcon(int width, int height) {
    CBitmap icon(width, height, kBlue);
    icon.SetPixel(width - 1, height - 1, kYellow);
    return icon;
}

std::vector<ShownIcon> IconsOfTestDialog(const std::function<void(CDialogDriver&)>& actions = {}) {
    RegisterDialogResource(DlgTemplate{
        kTemplate,
        "Icons",
        120,
        60,
        {
            {DlgControlKind::Static, 0, std::to_string(kIcon), 10, 10, 20, 20, SS_ICON},
            {DlgControlKind::Static, kRenamed, std::to_string(kUnknownIcon), 40, 10, 20, 20,
             SS_ICON},
            {DlgControlKind::Static, 0, "7101", 70, 10, 40, 8, SS_LEFT},
            {DlgControlKind::PushButton, IDOK, "OK", 70, 40, 40, 14, BS_DEFPUSHBUTTON},
        },
    });
    ScopedScriptedDialogs dialogs;
    std::vector<ShownIcon> icons;
    dialogs->PushDialog([&](CDialogDriver& driver) {
        if (actions) {
            actions(driver);
        }
        icons = driver.Icons();
    });
    CDialog dialog(kTemplate);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    return icons;
}

}  // namespace

TEST(IconControlTest, ShowsTheNamedIconAtItsOwnSizeAndNothingForAnUnknownId) {
    RegisterIconResource(kIcon, TwoColourIcon(32, 32));
    const std::vector<ShownIcon> icons = IconsOfTestDialog();
    ASSERT_EQ(icons.size(), 2U);  // the text static that reads like an id is no icon

    const RECT place = DialogUnitsToPixels(10, 10, 20, 20);
    EXPECT_EQ(icons[0].iconId, kIcon);
    EXPECT_EQ(icons[0].place, (RECT{place.left, place.top, place.left + 32, place.top + 32}));
    ASSERT_EQ(icons[0].image.Width(), 32);
    ASSERT_EQ(icons[0].image.Height(), 32);
    EXPECT_EQ(icons[0].image.GetPixel(0, 0), kBlue);
    EXPECT_EQ(icons[0].image.GetPixel(31, 31), kYellow);

    EXPECT_EQ(icons[1].iconId, kUnknownIcon);
    EXPECT_EQ(icons[1].image.Width(), 0);
    EXPECT_EQ(icons[1].place.Width(), 0);
}

TEST(IconControlTest, ARegisteredIconReplacesTheOldOneAndTheTextCanNameAnother) {
    RegisterIconResource(kIcon, TwoColourIcon(32, 32));
    RegisterIconResource(kIcon, TwoColourIcon(16, 16));
    RegisterIconResource(kUnknownIcon + 1, TwoColourIcon(24, 24));
    const std::vector<ShownIcon> icons = IconsOfTestDialog([](CDialogDriver& driver) {
        driver.Dialog().SetDlgItemText(kRenamed, std::to_string(kUnknownIcon + 1));
    });
    ASSERT_EQ(icons.size(), 2U);
    EXPECT_EQ(icons[0].image.Width(), 16);
    EXPECT_EQ(icons[1].iconId, kUnknownIcon + 1);
    EXPECT_EQ(icons[1].image.Width(), 24);
    EXPECT_EQ(icons[1].place.Height(), 24);
    EXPECT_EQ(icons[1].image.GetPixel(23, 23), kYellow);
}

TEST(IconControlTest, AnIconIdIsDecimalDigitsOnly) {
    EXPECT_EQ(IconIdOf("1"), 1U);
    EXPECT_EQ(IconIdOf("4294967295"), 4294967295U);
    EXPECT_EQ(IconIdOf(""), std::nullopt);
    EXPECT_EQ(IconIdOf("1a"), std::nullopt);
    EXPECT_EQ(IconIdOf(" 1"), std::nullopt);
    EXPECT_EQ(IconIdOf("-1"), std::nullopt);
    EXPECT_EQ(IconIdOf("4294967296"), std::nullopt);
    EXPECT_EQ(FindIconResource(4294967295U), nullptr);
}
