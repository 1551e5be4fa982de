// Report layout files: the 2060-byte header and the 1416-byte item records that follow it, in
// memory and on disk, little-endian on any host.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Design units: 800 across the printable width, 1100 down the printable height.
constexpr std::int32_t kReportDesignWidth = 800;
constexpr std::int32_t kReportDesignHeight = 1100;

enum ReportSection : std::int32_t {
    kPageHeader = 1,
    kDetail = 2,
    kPageFooter = 3,
};

enum ReportItemKind : std::int32_t {
    kReportText = 1,
    kReportColumn = 2,
    kReportLine = 4,
    kReportRectangle = 5,
};

// Edit styles of report items; every other value prints as plain text.
constexpr std::int32_t kReportMaskStyle = 101;
constexpr std::int32_t kReportCheckBoxStyle = 102;

// Justifications; every other value centres.
constexpr std::int32_t kReportLeft = 1;
constexpr std::int32_t kReportRight = 2;
constexpr std::int32_t kReportCentered = 3;

// A detail line of this orientation is a column separator down the whole detail area.
constexpr std::int32_t kVerticalSeparator = 2;

struct ReportHeader {
    std::int32_t headerEnd = 0;
    std::int32_t footerStart = 0;
    std::int32_t footerEnd = 0;
    std::string sqlText;
    friend bool operator==(const ReportHeader&, const ReportHeader&) = default;
};

struct ReportItem {
    std::int32_t section = kDetail;
    std::int32_t kind = kReportText;
    std::string name;
    std::string text;
    std::int32_t editStyle = 0;
    std::string checkedValue;
    std::string spareText1;
    std::string mask;
    std::string spareText2;
    std::int32_t left = 0;
    std::int32_t justification = kReportLeft;
    std::uint8_t spareByte = 0;
    std::int32_t lineOrientation = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t textColor = 0;
    std::int32_t backColor = 0x00FFFFFF;
    std::string fontName;
    std::int32_t fontSize = 10;
    bool raised = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const ReportItem&, const ReportItem&) = default;
};

constexpr std::size_t kReportHeaderSize = 2060;
constexpr std::size_t kReportItemRecordSize = 1416;
using ReportHeaderRecord = std::array<std::uint8_t, kReportHeaderSize>;
using ReportItemRecord = std::array<std::uint8_t, kReportItemRecordSize>;

// Field sizes, terminating NUL included.
constexpr std::size_t kSqlTextFieldSize = 2048;
constexpr std::size_t kItemNameFieldSize = 32;
constexpr std::size_t kItemTextFieldSize = 256;
constexpr std::size_t kItemLongTextFieldSize = 255;  // checkedValue, mask and the spare texts
constexpr std::size_t kFontNameFieldSize = 52;
// What a printer font takes of the font name.
constexpr std::size_t kFontFaceLength = 31;

// The two lists a loaded report keeps its items in.
enum class ReportList { Detail, Page };

ReportHeader ReadReportHeader(std::span<const std::uint8_t, kReportHeaderSize> record);
// The item, and in `list` the list it goes to: detail for section 2, page for any other.
ReportItem ReadReportItemRecord(std::span<const std::uint8_t, kReportItemRecordSize> record,
                                ReportList& list);

// The writers zero every byte they do not fill; a string longer than its field is cut at a
// character boundary (a writer that must not cut checks with FitsRecordString first).
ReportHeaderRecord WriteReportHeader(const ReportHeader& header);
ReportItemRecord WriteReportItemRecord(const ReportItem& item);

// A whole layout file: its header and its items in file order.
struct ReportLayout {
    ReportHeader header;
    std::vector<ReportItem> items;
};

// Layout files past this many items are refused rather than read into memory.
constexpr std::size_t kMaxReportItems = 100000;

// Opens the file for reading only and reads the header and then the item records until the first
// one that is not whole; a trailing fragment is ignored. Nothing when the file cannot be opened,
// is not a regular file, is shorter than the header or holds more than kMaxReportItems items.
std::optional<ReportLayout> ReadReportLayoutFile(const std::string& path);
// Writes the layout to a temporary file beside the target and renames it over the target, so
// that a failure leaves the previous file; false when nothing was written.
bool WriteReportLayoutFile(const std::string& path, const ReportLayout& layout);
