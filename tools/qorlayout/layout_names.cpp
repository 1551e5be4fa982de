// Names of layout codes and the checks of a layout.
#include "tools/qorlayout/layout_names.h"

#include <algorithm>

#include "controls/common/record_fields.h"

namespace {

const std::vector<LayoutName> kSections = {
    {"header", kPageHeader}, {"detail", kDetail}, {"footer", kPageFooter}};
const std::vector<LayoutName> kKinds = {{"text", kReportText},
                                        {"column", kReportColumn},
                                        {"line", kReportLine},
                                        {"rectangle", kReportRectangle}};
// Plain text is every code but the two styles; the description writes it as 0.
const std::vector<LayoutName> kEditStyles = {
    {"text", 0}, {"mask", kReportMaskStyle}, {"checkbox", kReportCheckBoxStyle}};
// Centred is every code but left and right; the description writes it as 3.
const std::vector<LayoutName> kJustifications = {
    {"left", kReportLeft}, {"right", kReportRight}, {"center", kReportCentered}};

struct StringField {
    const char* field;
    const std::string ReportItem::*member;
    std::size_t size;
};

const std::vector<StringField> kStringFields = {
    {"name", &ReportItem::name, kItemNameFieldSize},
    {"text", &ReportItem::text, kItemTextFieldSize},
    {"checkedValue", &ReportItem::checkedValue, kItemLongTextFieldSize},
    {"spareText1", &ReportItem::spareText1, kItemLongTextFieldSize},
    {"mask", &ReportItem::mask, kItemLongTextFieldSize},
    {"spareText2", &ReportItem::spareText2, kItemLongTextFieldSize},
    {"font", &ReportItem::fontName, kFontNameFieldSize},
};

std::string TooLong(std::string_view value, std::size_t size) {
    if (value.find('\0') != std::string_view::npos) {
        return "holds a NUL character";
    }
    return "is " + std::to_string(value.size()) + " bytes long; at most " +
           std::to_string(size - 1) + " fit";
}

void CheckBands(const ReportHeader& header, std::vector<LayoutFault>& faults) {
    const auto fault = [&](const char* field, std::string problem) {
        faults.push_back({0, {}, field, std::move(problem)});
    };
    if (header.headerEnd < 0 || header.headerEnd > kReportDesignHeight) {
        fault("headerEnd", "must be from 0 to 1100");
    }
    // The detail band is footerStart - headerEnd - 20 units high.
    if (static_cast<std::int64_t>(header.footerStart) <= std::int64_t{header.headerEnd} + 20) {
        fault("footerStart",
              "must be more than headerEnd + 20, so that the detail band has a height");
    }
    if (header.footerEnd < header.footerStart || header.footerEnd > kReportDesignHeight) {
        fault("footerEnd", "must be from footerStart to 1100");
    }
    if (!FitsRecordString(header.sqlText, kSqlTextFieldSize)) {
        fault("sql", TooLong(header.sqlText, kSqlTextFieldSize));
    }
}

void CheckRect(std::size_t index, const ReportItem& item, std::vector<LayoutFault>& faults) {
    const bool across = item.left >= 0 && item.right <= kReportDesignWidth && item.right >= 0 &&
                        item.left <= kReportDesignWidth;
    const bool down = item.top >= 0 && item.bottom <= kReportDesignHeight && item.bottom >= 0 &&
                      item.top <= kReportDesignHeight;
    // A line runs from (left, top) to (right, bottom) and may rise; every other item is a box.
    const bool ordered =
        item.kind == kReportLine || (item.left <= item.right && item.top <= item.bottom);
    if (!across || !down || !ordered) {
        faults.push_back({index, item.name, "rect",
                          "must lie inside 800 x 1100 design units with left <= right and "
                          "top <= bottom"});
    }
}

}  // namespace

const std::vector<LayoutName>& LayoutNames(LayoutField field) {
    switch (field) {
        case LayoutField::Section:
            return kSections;
        case LayoutField::Kind:
            return kKinds;
        case LayoutField::EditStyle:
            return kEditStyles;
        case LayoutField::Justification:
            break;
    }
    return kJustifications;
}

std::optional<std::int32_t> CodeOfName(LayoutField field, std::string_view name) {
    for (const LayoutName& entry : LayoutNames(field)) {
        if (entry.name == name) {
            return entry.code;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> NameOfCode(LayoutField field, std::int32_t code, bool& exact) {
    exact = true;
    for (const LayoutName& entry : LayoutNames(field)) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    exact = false;
    if (field == LayoutField::EditStyle) {
        return "text";
    }
    if (field == LayoutField::Justification) {
        return "center";
    }
    return std::nullopt;
}

std::string NameList(LayoutField field) {
    std::string list;
    for (const LayoutName& entry : LayoutNames(field)) {
        list += (list.empty() ? "\"" : ", \"") + std::string(entry.name) + "\"";
    }
    return list;
}

std::string DescribeFault(const LayoutFault& fault) {
    if (fault.item == 0) {
        return fault.field + ": " + fault.problem;
    }
    std::string where = "item " + std::to_string(fault.item);
    if (!fault.itemName.empty()) {
        where += " (" + fault.itemName + ")";
    }
    return where + ": " + fault.field + ": " + fault.problem;
}

std::vector<LayoutFault> CheckLayout(const ReportHeader& header,
                                     const std::vector<ReportItem>& items) {
    std::vector<LayoutFault> faults;
    CheckBands(header, faults);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ReportItem& item = items[i];
        for (const StringField& string : kStringFields) {
            if (!FitsRecordString(item.*string.member, string.size)) {
                faults.push_back(
                    {i + 1, item.name, string.field, TooLong(item.*string.member, string.size)});
            }
        }
        CheckRect(i + 1, item, faults);
        if (item.fontSize <= 0 || item.fontSize > 1000) {
            faults.push_back({i + 1, item.name, "fontSize", "must be from 1 to 1000 points"});
        }
    }
    return faults;
}
