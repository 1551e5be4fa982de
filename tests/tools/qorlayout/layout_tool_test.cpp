// The report layout tool: descriptions compiled to layout files and dumped back to the same
// bytes, every check's message naming the file, the item and the field, and the program's exit
// statuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "controls/report/report_layout_file.h"
#include "tests/temp_folder.h"
#include "tests/tools/program_run.h"
#include "tools/qorlayout/layout_tool.h"

namespace {

using ::testing::HasSubstr;

// Every field of an item set, none to its default.
constexpr const char* kFullDescription = R"({
  "headerEnd": 80, "footerStart": 130, "footerEnd": 160,
  "sql": "SELECT customer_no, name, active FROM customers",
  "items": [
    {"section": "header", "kind": "text", "name": "title", "text": "Kunden \u00fcber alles",
     "justification": "center", "rect": [0, 0, 800, 40], "textColor": "#102030",
     "backColor": "#C0C0C0", "font": "Times New Roman", "fontSize": 16, "bold": true,
     "italic": true, "underline": true, "raised": true},
    {"section": "detail", "kind": "column", "name": "created", "editStyle": "mask",
     "mask": "##/##/####", "justification": "right", "rect": [600, 100, 800, 130],
     "spareText1": "one", "spareText2": "two", "spareByte": 7},
    {"section": "detail", "kind": "column", "name": "active", "editStyle": "checkbox",
     "checkedValue": "1", "rect": [500, 100, 520, 130]},
    {"section": "detail", "kind": "line", "lineOrientation": 2, "rect": [490, 100, 490, 130]},
    {"section": "footer", "kind": "rectangle", "rect": [0, 130, 800, 160],
     "textColor": 4278190080}
  ]
})";

struct Tool {
    int status = -1;
    std::string out;
    std::string err;
};

Tool RunTool(const std::vector<std::string>& args) {
    std::vector<const char*> argv;
    argv.reserve(args.size());
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunLayoutTool(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

// A layout of one item under bands of the usual heights. Filled field by field: GCC 12 at -O3
// takes the string of a braced header in a braced layout for uninitialized.
ReportLayout OneItemLayout(const ReportItem& item) {
    ReportLayout layout;
    layout.header.headerEnd = 80;
    layout.header.footerStart = 130;
    layout.header.footerEnd = 160;
    layout.items.push_back(item);
    return layout;
}

class LayoutToolTest : public ::testing::Test {
  protected:
    Tool Compile(const std::string& json, const std::string& name = "layout") {
        return RunTool(
            {"compile", folder_.Write(name + ".json", json), folder_.File(name + ".rpt")});
    }

    TempFolder folder_;
};

TEST_F(LayoutToolTest, DumpThenCompileGivesTheSameBytes) {
    ASSERT_EQ(Compile(kFullDescription).status, 0);
    const std::string first = ReadWholeFile(folder_.File("layout.rpt"));
    ASSERT_EQ(first.size(), kReportHeaderSize + 5 * kReportItemRecordSize);

    const Tool dumped = RunTool({"dump", folder_.File("layout.rpt")});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.err, "");
    ASSERT_EQ(Compile(dumped.out, "again").status, 0);
    EXPECT_EQ(ReadWholeFile(folder_.File("again.rpt")), first);

    // Every field came through as written.
    const std::optional<ReportLayout> layout = ReadReportLayoutFile(folder_.File("again.rpt"));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->header,
              (ReportHeader{80, 130, 160, "SELECT customer_no, name, active FROM customers"}));
    const ReportItem& title = layout->items[0];
    EXPECT_EQ(title.text,
              "Kunden \xC3\xBC"
              "ber alles");
    EXPECT_EQ(title.textColor, 0x00302010);
    EXPECT_EQ(title.justification, kReportCentered);
    EXPECT_EQ(title.fontName, "Times New Roman");
    EXPECT_TRUE(title.raised && title.bold && title.italic && title.underline);
    const ReportItem& created = layout->items[1];
    EXPECT_EQ(created.editStyle, kReportMaskStyle);
    EXPECT_EQ(created.justification, kReportRight);
    EXPECT_EQ(created.spareByte, 7);
    EXPECT_EQ(created.spareText2, "two");
    EXPECT_EQ(layout->items[2].editStyle, kReportCheckBoxStyle);
    EXPECT_EQ(layout->items[3].lineOrientation, kVerticalSeparator);
    EXPECT_EQ(layout->items[4].textColor, static_cast<std::int32_t>(0xFF000000U));
    // Left out: plain text, left-aligned, black on white, Arial 10.
    EXPECT_EQ(layout->items[3].editStyle, 0);
    EXPECT_EQ(layout->items[3].justification, kReportLeft);
    EXPECT_EQ(layout->items[3].backColor, 0x00FFFFFF);
    EXPECT_EQ(layout->items[3].fontName, "Arial");
    EXPECT_EQ(layout->items[3].fontSize, 10);
}

struct CheckCase {
    const char* name;
    std::function<std::string(std::string)> change;  // of the full description
    const char* message;                             // after "FILE: "
};

void PrintTo(const CheckCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::function<std::string(std::string)> Replacing(const std::string& from, const std::string& to) {
    return [from, to](std::string text) { return Replace(std::move(text), from, to); };
}

class LayoutCheckTest : public LayoutToolTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(LayoutCheckTest, RefusesTheLayoutNamingTheItemAndTheField) {
    const Tool tool = Compile(GetParam().change(kFullDescription));
    EXPECT_EQ(tool.status, 1);
    EXPECT_THAT(tool.err, HasSubstr(folder_.File("layout.json") + ": " + GetParam().message));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("layout.rpt")));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, LayoutCheckTest,
    ::testing::Values(
        CheckCase{"TextTooLong", Replacing("Kunden \\u00fcber alles", std::string(300, 't')),
                  "item 1 (title): text: is 300 bytes long; at most 255 fit"},
        CheckCase{"NameTooLong", Replacing("\"created\"", "\"" + std::string(32, 'c') + "\""),
                  "item 2 (cccccccccccccccccccccccccccccccc): name: is 32 bytes long; at most "
                  "31 fit"},
        CheckCase{"FontTooLong", Replacing("Times New Roman", std::string(52, 'f')),
                  "item 1 (title): font: is 52 bytes long; at most 51 fit"},
        CheckCase{"SqlTooLong",
                  Replacing("SELECT customer_no", "SELECT " + std::string(2041, ' ') + "x"),
                  "sql: is 2078 bytes long; at most 2047 fit"},
        CheckCase{"UnknownSection", Replacing("\"header\"", "\"body\""),
                  "item 1 (title): section: \"body\" is not one of \"header\", \"detail\", "
                  "\"footer\""},
        CheckCase{"UnknownKind", Replacing("\"rectangle\"", "\"ellipse\""),
                  "item 5: kind: \"ellipse\" is not one of \"text\", \"column\", \"line\", "
                  "\"rectangle\""},
        CheckCase{"UnknownEditStyle", Replacing("\"checkbox\"", "\"tick\""),
                  "item 3 (active): editStyle: \"tick\" is not one of \"text\", \"mask\", "
                  "\"checkbox\""},
        CheckCase{"UnknownJustification", Replacing("\"right\"", "\"justified\""),
                  "item 2 (created): justification: \"justified\" is not one of \"left\", "
                  "\"right\", \"center\""},
        CheckCase{"RectPastTheWidth", Replacing("[600, 100, 800, 130]", "[600, 100, 801, 130]"),
                  "item 2 (created): rect: must lie inside 800 x 1100 design units"},
        CheckCase{"RectUpsideDown", Replacing("[0, 130, 800, 160]", "[0, 160, 800, 130]"),
                  "item 5: rect: must lie inside"},
        CheckCase{"RectNotFourNumbers", Replacing("[0, 0, 800, 40]", "[0, 0, 800]"),
                  "item 1 (title): rect: must be [left, top, right, bottom]"},
        CheckCase{"BandsOutOfOrder", Replacing("\"footerStart\": 130", "\"footerStart\": 90"),
                  "footerStart: must be more than headerEnd + 20"},
        CheckCase{"FooterEndBeforeItsStart", Replacing("\"footerEnd\": 160", "\"footerEnd\": 120"),
                  "footerEnd: must be from footerStart to 1100"},
        CheckCase{"MissingBand", Replacing("\"headerEnd\": 80,", ""), "headerEnd: is missing"},
        CheckCase{"UnknownField", Replacing("\"bold\": true", "\"heavy\": true"),
                  "item 1 (title): heavy: is not a field of the description"},
        CheckCase{"WrongType", Replacing("\"fontSize\": 16", "\"fontSize\": \"16\""),
                  "item 1 (title): fontSize: must be a whole number"},
        CheckCase{"BadColour", Replacing("\"#102030\"", "\"navy\""),
                  "item 1 (title): textColor: must be a colour \"#RRGGBB\""},
        CheckCase{"NotJson", [](const std::string&) { return std::string("{\"headerEnd\": "); },
                  "not JSON: "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutToolTest, DumpNamesWhatHasNoName) {
    ReportItem odd;
    odd.section = kDetail;
    odd.kind = 3;
    odd.name = "odd";
    ReportItem centred;
    centred.justification = 0;
    centred.editStyle = 1;
    ASSERT_TRUE(WriteReportLayoutFile(folder_.File("odd.rpt"), OneItemLayout(odd)));
    const Tool refused = RunTool({"dump", folder_.File("odd.rpt")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err,
                HasSubstr(folder_.File("odd.rpt") + ": item 1 (odd): kind: 3 has no name"));

    ASSERT_TRUE(WriteReportLayoutFile(folder_.File("centred.rpt"), OneItemLayout(centred)));
    const Tool warned =
        RunTool({"dump", folder_.File("centred.rpt"), folder_.File("centred.json")});
    EXPECT_EQ(warned.status, 0);
    EXPECT_THAT(warned.err,
                HasSubstr("warning: item 1: justification: 0 is written as \"center\""));
    EXPECT_THAT(warned.err, HasSubstr("warning: item 1: editStyle: 1 is written as \"text\""));
    EXPECT_THAT(ReadWholeFile(folder_.File("centred.json")), HasSubstr("\"center\""));
}

TEST_F(LayoutToolTest, TheProgramsExitStatusesAndMessages) {
    struct Case {
        const char* name;
        std::string arguments;
        int status;
        std::string err;
    };
    const std::string missing = folder_.File("missing.rpt");
    const std::vector<Case> cases = {
        {"NoCommand", "", 2, "usage: qorlayout"},
        {"UnknownCommand", "build a b", 2, "usage: qorlayout"},
        {"MissingDescription", "compile " + ShellQuoted(folder_.File("none.json")) + " out.rpt", 1,
         folder_.File("none.json") + ": cannot be read"},
        {"MissingLayout", "dump " + ShellQuoted(missing), 1,
         missing + ": not a report layout file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun run =
            RunCommandLine(std::string(QORLAYOUT_PROGRAM) + " " + c.arguments, folder_.Path());
        EXPECT_EQ(run.status, c.status);
        EXPECT_THAT(run.err, HasSubstr(c.err));
    }
    const std::string json = folder_.Write("ok.json", kFullDescription);
    const ProgramRun compiled =
        RunCommandLine(std::string(QORLAYOUT_PROGRAM) + " compile " + ShellQuoted(json) + " " +
                           ShellQuoted(folder_.File("ok.rpt")),
                       folder_.Path());
    EXPECT_EQ(compiled.status, 0) << compiled.err;
    const ProgramRun dumped = RunCommandLine(
        std::string(QORLAYOUT_PROGRAM) + " dump " + ShellQuoted(folder_.File("ok.rpt")),
        folder_.Path());
    EXPECT_EQ(dumped.status, 0);
    EXPECT_THAT(dumped.out,
                HasSubstr("\"sql\": \"SELECT customer_no, name, active FROM customers\""));
}

}  // namespace
