// The fonts every device context knows without a device: the default one and point sizes.
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
