// The project's fontconfig file really turns the classic face names into the Liberation fonts.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/gdi/text_metrics_qt.h"

namespace {

QString ResolvedFamily(const char* face) {
    LOGFONT lf = DefaultGuiFont();
    lf.lfFaceName = face;
    return QFontInfo(ToQFont(lf, 96, nullptr)).family();
}

TEST(FontMappingTest, ClassicFacesResolveToLiberation) {
    EXPECT_TRUE(ResolvedFamily("MS Sans Serif").contains("Liberation Sans"));
    EXPECT_TRUE(ResolvedFamily("Arial").contains("Liberation Sans"));
    EXPECT_TRUE(ResolvedFamily("MS Shell Dlg").contains("Liberation Sans"));
    EXPECT_TRUE(ResolvedFamily("Times New Roman").contains("Liberation Serif"));
    EXPECT_TRUE(ResolvedFamily("FixedSys").contains("Liberation Mono"));
    EXPECT_TRUE(ResolvedFamily("Courier New").contains("Liberation Mono"));
    EXPECT_TRUE(ResolvedFamily("").contains("Liberation Sans"));
}

TEST(FontMappingTest, LogFontStyleReachesTheFont) {
    LOGFONT lf = DefaultGuiFont();
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = true;
    lf.lfUnderline = true;
    const QFont font = ToQFont(lf, 96, nullptr);
    const QFontInfo info(font);
    EXPECT_EQ(info.pixelSize(), 20);
    EXPECT_TRUE(info.bold());
    EXPECT_TRUE(info.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_FALSE(font.strikeOut());
}

}  // namespace
