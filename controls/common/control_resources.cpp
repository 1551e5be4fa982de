// The resources every control module carries, formed from its control's name: the string
// table, the About and property page dialogs, the version block and the type library.
#include "controls/common/control_module.h"

namespace {

std::string ControlName(const ControlClassInfo& info) {
    return info.name + " Control";
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
                {DlgControlKind::Static, IDC_ABOUT_VERSION, ControlName(info) + ", Version 1.0", 40,
                 10, 130, 8},
                {DlgControlKind::Static, 0, "Copyright (C) the QOR developers", 40, 25, 130, 8},
                {DlgControlKind::Static, 0, "Components for database desktops", 40, 37, 130, 8},
                {DlgControlKind::PushButton, IDOK, "OK", 178, 7, 32, 14, BS_DEFPUSHBUTTON},
            }};
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
