// What every device context shares: the default font, point sizes and runs of texts.
#include "platform/gdi/dc.h"

namespace {
constexpr int kScreenLogPixels = 96;
constexpr int kTenthsPerInch = 720;
}  // namespace

LOGFONT DefaultGuiFont() {
    LOGFONT lf;
    lf.lfHeight = -MulDiv(80, kScreenLogPixels, kTenthsPerInch);
    lf.lfWeight = FW_NORMAL;
    lf.lfFaceName = "MS Sans Serif";
    return lf;
}

CFont CFont::FromPoints(int tenthsOfPoint, std::string faceName) {
    LOGFONT lf;
    lf.lfHeight = -MulDiv(tenthsOfPoint, kScreenLogPixels, kTenthsPerInch);
    lf.lfFaceName = std::move(faceName);
    return CFont(std::move(lf));
}

void CDC::DrawTexts(const std::vector<PlacedText>& texts, UINT format) {
    for (const PlacedText& placed : texts) {
        RECT rc = placed.rc;
        DrawText(placed.text, rc, format);
    }
}
