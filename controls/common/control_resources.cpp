// The resources every control module carries, formed from its control's name: the string
// table, the About and property page dialogs, the toolbox bitmap and icons, the version block
// and the type library.
#include "controls/common/control_module.h"

#include <cstdint>

#include "platform/dialogs/icon_resources.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr const char* kGlyphFace = "Arial";

std::string ControlName(const ControlClassInfo& info) {
    return info.name + " Control";
}

// The letter that tells the controls apart: the one after the common "QOR".
std::string Initial(const std::string& name) {
    const std::string_view prefix = "QOR";
    const bool prefixed = name.size() > prefix.size() && name.starts_with(prefix);
    return name.empty() ? std::string("?") : name.substr(prefixed ? prefix.size() : 0, 1);
}

// A strong, dark colour of the control's own, so that white letters read on it: its hue from
// the name's hash, whose bits from the tenth on set the five controls' hues far apart.
COLORREF TileColor(const std::string& name) {
    constexpr uint32_t kFnvOffset = 2166136261U;
    constexpr uint32_t kFnvPrime = 16777619U;
    constexpr int kHueShift = 10;
    constexpr int kDegrees = 360;
    constexpr int kSector = 60;
    constexpr int kValue = 160;  // the strongest channel
    constexpr int kLowest = 32;  // the weakest channel
    uint32_t hash = kFnvOffset;
    for (const char ch : name) {
        hash = (hash ^ static_cast<unsigned char>(ch)) * kFnvPrime;
    }
    const int hue = static_cast<int>((hash >> kHueShift) % kDegrees);
    const int rising = kLowest + (kValue - kLowest) * (hue % kSector) / kSector;
    const int falling = kValue - (rising - kLowest);
    switch (hue / kSector) {
        case 0:
            return RGB(kValue, rising, kLowest);
        case 1:
            return RGB(falling, kValue, kLowest);
        case 2:
            return RGB(kLowest, kValue, rising);
        case 3:
            return RGB(kLowest, falling, kValue);
        case 4:
            return RGB(rising, kLowest, kValue);
        default:
            return RGB(kValue, kLowest, falling);
    }
}

void DrawLetter(CDC& dc, const std::string& letter, RECT rc, int height, COLORREF color) {
    LOGFONT font = CFont::FromPoints(80, kGlyphFace).GetLogFont();
    font.lfHeight = -height;
    font.lfWeight = FW_BOLD;
    dc.SelectFont(CFont(font));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(color);
    dc.DrawText(letter, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The control's letter in white on its colour, inside a raised frame.
CBitmap Tile(const ControlClassInfo& info, SIZE size, int letterHeight) {
    CBitmap bitmap(size.cx, size.cy, COLOR_3DFACE);
    const std::unique_ptr<CDC> dc = CreateBitmapDC(bitmap);
    const RECT whole{0, 0, size.cx, size.cy};
    dc->DrawEdge(whole, EDGE_RAISED, BF_RECT);
    const RECT face{2, 2, size.cx - 2, size.cy - 2};
    dc->FillSolidRect(face, TileColor(info.name));
    DrawLetter(*dc, Initial(info.name), face, letterHeight, kWhite);
    return bitmap;
}

// The control's letter in its colour on a white page with a folded corner.
CBitmap Page(const ControlClassInfo& info) {
    constexpr int kFold = 8;
    constexpr int kMargin = 4;
    constexpr int kLetterHeight = 18;
    CBitmap bitmap(kIconSize.cx, kIconSize.cy, COLOR_3DFACE);
    const std::unique_ptr<CDC> dc = CreateBitmapDC(bitmap);
    const int left = kMargin;
    const int right = kIconSize.cx - kMargin;
    const int bottom = kIconSize.cy;
    dc->FillSolidRect(RECT{left, 0, right - kFold, bottom}, kWhite);
    dc->FillSolidRect(RECT{right - kFold, kFold, right, bottom}, kWhite);
    dc->SelectPen(CPen{PS_SOLID, 0, kBlack});
    dc->Polyline({{right - kFold, 0},
                  {left, 0},
                  {left, bottom - 1},
                  {right - 1, bottom - 1},
                  {right - 1, kFold},
                  {right - kFold, 0},
                  {right - kFold, kFold},
                  {right, kFold}});
    DrawLetter(*dc, Initial(info.name), RECT{left, kFold, right, bottom}, kLetterHeight,
               TileColor(info.name));
    return bitmap;
}

}  // namespace

std::string ControlModuleString(const ControlClassInfo& info, UINT id) {
    switch (id) {
        case IDS_CONTROL_TYPENAME:
            return ControlName(info);
        case IDS_PAGE_TYPENAME:
            return info.name + " Property Page";
        case IDS_PAGE_CAPTION:
            return "General";
        default:
            return {};
    }
}

DlgTemplate ControlAboutDialog(const ControlClassInfo& info) {
    return {IDD_ABOUTBOX,
            "About " + ControlName(info),
            217,
            55,
            {
                {DlgControlKind::Static, 0, std::to_string(IDI_MODULE), 10, 10, 20, 20, SS_ICON},
                {DlgControlKind::Static, IDC_ABOUT_VERSION, ControlName(info) + ", Version 1.0", 40,
                 10, 130, 8},
                {DlgControlKind::Static, 0, "Copyright (C) the QOR developers", 40, 25, 130, 8},
                {DlgControlKind::Static, 0, "Components for database desktops", 40, 37, 130, 8},
                {DlgControlKind::PushButton, IDOK, "OK", 178, 7, 32, 14, BS_DEFPUSHBUTTON},
            }};
}

void RegisterAboutBoxResources(const ControlClassInfo& info) {
    RegisterDialogResource(ControlAboutDialog(info));
    if (std::optional<CBitmap> icon = ControlModuleImage(info, IMAGE_ICON, IDI_MODULE)) {
        RegisterIconResource(IDI_MODULE, std::move(*icon));
    }
}

std::optional<CBitmap> ControlModuleImage(const ControlClassInfo& info, UINT type, UINT id) {
    constexpr int kToolboxLetterHeight = 10;
    constexpr int kIconLetterHeight = 20;
    if (type == IMAGE_BITMAP && id == IDB_TOOLBOX) {
        return Tile(info, kToolboxBitmapSize, kToolboxLetterHeight);
    }
    if (type == IMAGE_ICON && id == IDI_MODULE) {
        return Tile(info, kIconSize, kIconLetterHeight);
    }
    if (type == IMAGE_ICON && id == IDI_CONTROL) {
        return Page(info);
    }
    return std::nullopt;
}

DlgTemplate ControlPageDialog(const ControlClassInfo& info) {
    return {IDD_PROPPAGE,
            ControlModuleString(info, IDS_PAGE_CAPTION),
            250,
            62,
            {
                {DlgControlKind::Static, IDC_PAGE_TEXT,
                 "TODO: Place controls to manipulate properties of " + ControlName(info) +
                     " on this dialog.",
                 7, 25, 236, 16},
            }};
}

std::vector<VersionEntry> ControlVersionBlock(const ControlClassInfo& info) {
    const std::string description = info.name + " ActiveX Control Module";
    return {
        {"FileDescription", description},
        {"FileVersion", "1, 0, 0, 1"},
        {"InternalName", info.name},
        {"LegalCopyright", "Copyright (C) the QOR developers"},
        {"OriginalFilename", info.name + ".OCX"},
        {"ProductName", description},
        {"ProductVersion", "1, 0, 0, 1"},
        {"OLESelfRegister", ""},
    };
}

TypeLibDescription ControlTypeLibDescription(const ControlClassInfo& info,
                                             const CDispatchMembers& members) {
    TypeLibDescription lib;
    lib.name = info.name + "Lib";
    lib.doc = info.name + " ActiveX Control module";
    lib.guid = info.typeLibId;
    lib.helpFile = info.name + ".hlp";
    lib.types.push_back({"_D" + info.name,
                         "Dispatch interface for " + ControlName(info),
                         info.dispatchIid,
                         TKIND_DISPATCH,
                         members.Source(),
                         members.Members(),
                         {}});
    const DispMemberInfo readyStateChange{
        "ReadyStateChange", DISPID_READYSTATECHANGE, DispKind::Method, {}, VT_EMPTY};
    lib.types.push_back({"_D" + info.name + "Events",
                         "Event interface for " + ControlName(info),
                         info.eventsIid,
                         TKIND_DISPATCH,
                         "",
                         {readyStateChange},
                         {}});
    lib.types.push_back(
        {info.name,
         ControlName(info),
         info.clsid,
         TKIND_COCLASS,
         "",
         {},
         {{0, IMPLTYPEFLAG_FDEFAULT}, {1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}});
    return lib;
}
