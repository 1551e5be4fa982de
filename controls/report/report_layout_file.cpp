// The field-for-field mapping between report headers and items and their records.
#include "controls/report/report_layout_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "controls/common/read_only_file.h"
#include "controls/common/record_fields.h"

namespace {

constexpr std::size_t kHeaderEnd = 0;
constexpr std::size_t kFooterStart = 4;
constexpr std::size_t kFooterEnd = 8;
constexpr std::size_t kSqlText = 12;

constexpr std::size_t kSection = 0;
constexpr std::size_t kKind = 4;
constexpr std::size_t kName = 8;
constexpr std::size_t kText = 40;
constexpr std::size_t kEditStyle = 296;
constexpr std::size_t kCheckedValue = 300;
constexpr std::size_t kSpareText1 = 555;
constexpr std::size_t kMask = 810;
constexpr std::size_t kSpareText2 = 1065;
constexpr std::size_t kLeft = 1320;
constexpr std::size_t kJustification = 1324;
constexpr std::size_t kSpareByte = 1328;
constexpr std::size_t kLineOrientation = 1332;
constexpr std::size_t kTop = 1336;
constexpr std::size_t kRight = 1340;
constexpr std::size_t kBottom = 1344;
constexpr std::size_t kTextColor = 1348;
constexpr std::size_t kBackColor = 1352;
constexpr std::size_t kFontName = 1356;
constexpr std::size_t kFontSize = 1408;
constexpr std::size_t kRaised = 1412;
constexpr std::size_t kBold = 1413;
constexpr std::size_t kItalic = 1414;
constexpr std::size_t kUnderline = 1415;

}  // namespace

ReportHeader ReadReportHeader(std::span<const std::uint8_t, kReportHeaderSize> record) {
    ReportHeader header;
    header.headerEnd = GetRecordInt(record, kHeaderEnd);
    header.footerStart = GetRecordInt(record, kFooterStart);
    header.footerEnd = GetRecordInt(record, kFooterEnd);
    header.sqlText = GetRecordString(record, kSqlText, kSqlTextFieldSize);
    return header;
}

ReportItem ReadReportItemRecord(std::span<const std::uint8_t, kReportItemRecordSize> r,
                                ReportList& list) {
    ReportItem item;
    item.section = GetRecordInt(r, kSection);
    item.kind = GetRecordInt(r, kKind);
    item.name = GetRecordString(r, kName, kItemNameFieldSize);
    item.text = GetRecordString(r, kText, kItemTextFieldSize);
    item.editStyle = GetRecordInt(r, kEditStyle);
    item.checkedValue = GetRecordString(r, kCheckedValue, kItemLongTextFieldSize);
    item.spareText1 = GetRecordString(r, kSpareText1, kItemLongTextFieldSize);
    item.mask = GetRecordString(r, kMask, kItemLongTextFieldSize);
    item.spareText2 = GetRecordString(r, kSpareText2, kItemLongTextFieldSize);
    item.left = GetRecordInt(r, kLeft);
    item.justification = GetRecordInt(r, kJustification);
    item.spareByte = r[kSpareByte];
    item.lineOrientation = GetRecordInt(r, kLineOrientation);
    item.top = GetRecordInt(r, kTop);
    item.right = GetRecordInt(r, kRight);
    item.bottom = GetRecordInt(r, kBottom);
    item.textColor = GetRecordInt(r, kTextColor);
    item.backColor = GetRecordInt(r, kBackColor);
    item.fontName = GetRecordString(r, kFontName, kFontNameFieldSize);
    item.fontSize = GetRecordInt(r, kFontSize);
    item.raised = r[kRaised] != 0;
    item.bold = r[kBold] != 0;
    item.italic = r[kItalic] != 0;
    item.underline = r[kUnderline] != 0;
    list = item.section == kDetail ? ReportList::Detail : ReportList::Page;
    return item;
}

ReportHeaderRecord WriteReportHeader(const ReportHeader& header) {
    ReportHeaderRecord record{};
    PutRecordInt(record, kHeaderEnd, header.headerEnd);
    PutRecordInt(record, kFooterStart, header.footerStart);
    PutRecordInt(record, kFooterEnd, header.footerEnd);
    PutRecordString(record, kSqlText, kSqlTextFieldSize, header.sqlText);
    return record;
}

ReportItemRecord WriteReportItemRecord(const ReportItem& item) {
    ReportItemRecord r{};
    PutRecordInt(r, kSection, item.section);
    PutRecordInt(r, kKind, item.kind);
    PutRecordString(r, kName, kItemNameFieldSize, item.name);
    PutRecordString(r, kText, kItemTextFieldSize, item.text);
    PutRecordInt(r, kEditStyle, item.editStyle);
    PutRecordString(r, kCheckedValue, kItemLongTextFieldSize, item.checkedValue);
    PutRecordString(r, kSpareText1, kItemLongTextFieldSize, item.spareText1);
    PutRecordString(r, kMask, kItemLongTextFieldSize, item.mask);
    PutRecordString(r, kSpareText2, kItemLongTextFieldSize, item.spareText2);
    PutRecordInt(r, kLeft, item.left);
    PutRecordInt(r, kJustification, item.justification);
    r[kSpareByte] = item.spareByte;
    PutRecordInt(r, kLineOrientation, item.lineOrientation);
    PutRecordInt(r, kTop, item.top);
    PutRecordInt(r, kRight, item.right);
    PutRecordInt(r, kBottom, item.bottom);
    PutRecordInt(r, kTextColor, item.textColor);
    PutRecordInt(r, kBackColor, item.backColor);
    PutRecordString(r, kFontName, kFontNameFieldSize, item.fontName);
    PutRecordInt(r, kFontSize, item.fontSize);
    r[kRaised] = item.raised ? 1 : 0;
    r[kBold] = item.bold ? 1 : 0;
    r[kItalic] = item.italic ? 1 : 0;
    r[kUnderline] = item.underline ? 1 : 0;
    return r;
}

std::optional<ReportLayout> ReadReportLayoutFile(const std::string& path) {
    const std::optional<ReadOnlyFile> opened = OpenReadOnlyFile(path);
    if (!opened || opened->size < kReportHeaderSize ||
        (opened->size - kReportHeaderSize) / kReportItemRecordSize > kMaxReportItems) {
        return std::nullopt;
    }
    std::FILE* file = opened->file.get();
    ReportHeaderRecord headerRecord{};
    if (std::fseek(file, 0, SEEK_SET) != 0 ||
        std::fread(headerRecord.data(), 1, headerRecord.size(), file) != headerRecord.size()) {
        return std::nullopt;
    }
    ReportLayout layout{ReadReportHeader(headerRecord), {}};
    ReportItemRecord record{};
    ReportList list = ReportList::Page;
    for (std::uintmax_t offset = kReportHeaderSize; offset < opened->size;
         offset += kReportItemRecordSize) {
        // A failed positioning skips the record; a record not read whole ends the items.
        if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) {
            continue;
        }
        if (std::fread(record.data(), 1, record.size(), file) != record.size()) {
            break;
        }
        layout.items.push_back(ReadReportItemRecord(record, list));
    }
    return layout;
}

bool WriteReportLayoutFile(const std::string& path, const ReportLayout& layout) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    ::fchmod(fd, 0644);
    FilePtr file(::fdopen(fd, "wb"));
    if (!file) {
        ::close(fd);
        std::remove(temporary.c_str());
        return false;
    }
    const ReportHeaderRecord header = WriteReportHeader(layout.header);
    bool ok = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
    for (const ReportItem& item : layout.items) {
        const ReportItemRecord record = WriteReportItemRecord(item);
        ok = ok && std::fwrite(record.data(), 1, record.size(), file.get()) == record.size();
    }
    ok = ok && std::fflush(file.get()) == 0 && ::fsync(::fileno(file.get())) == 0;
    ok = std::fclose(file.release()) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
    }
    return ok;
}
