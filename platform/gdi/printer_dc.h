// The printer device context: documents of pages drawn with the ordinary drawing operations.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gdi/recording_dc.h"

// Mapping mode: one logical unit is one device pixel.
constexpr int MM_TEXT = 1;
// The escape that answers the physical margin of the printable area as a POINT.
constexpr int GETPRINTINGOFFSET = 13;
// What the document and page calls answer on failure.
constexpr int SP_ERROR = -1;

// A sheet and its printable area in device units.
struct PrinterPage {
    int dpi = 600;
    SIZE physical;   // the whole sheet
    POINT offset;    // the unprintable margin at the left and at the top
    SIZE printable;  // the area drawing can reach, its origin at `offset`
    friend bool operator==(const PrinterPage&, const PrinterPage&) = default;

    // A sheet of widthMm x heightMm millimetres with the same margin on every side.
    static PrinterPage Sheet(double widthMm, double heightMm, double marginMm, int dpi);
    // US Letter and A4 with the quarter-inch margin of an office laser printer.
    static PrinterPage Letter(int dpi = 600);
    static PrinterPage A4(int dpi = 600);
};

// Where a printer's documents go: a file, a system printer or a recording.
class CPrintTarget {
  public:
    virtual ~CPrintTarget() = default;
    // The surface the document's pages are drawn on, owned by the target until the document
    // ends; nullptr when the document cannot start.
    virtual CDC* BeginDocument(const std::string& name) = 0;
    virtual bool BeginPage() = 0;
    virtual bool EndPage() = 0;
    // False when the document could not be completed; nothing of it is kept then.
    virtual bool EndDocument() = 0;
    // Drops the document: no output stays behind.
    virtual void AbortDocument() = 0;
    // Why the output of the document that closed last was lost (its file could not be
    // written), empty when it was not; asked once the document has closed.
    virtual std::string LostOutput() const { return {}; }
};

// Tells the user, once per document, why its output was lost.
using PrintFailureNotice = std::function<void(const std::string& reason)>;

// Watches a document while it prints. The printer asks after every page whether to go on, so
// a user's Cancel ends the document as a failed page would.
class CPrintProgress {
  public:
    virtual ~CPrintProgress() = default;
    virtual void DocumentStarted(const std::string& name) = 0;
    // False when printing is to stop; `pages` counts the pages ended so far.
    virtual bool PageEnded(int pages) = 0;
    // The document ended, failed or was aborted.
    virtual void DocumentClosed() = 0;
};

// A printer context. Drawing lands only on an open page; fonts, pens, colours and measuring
// work at any time, at the printer's resolution. A document left open when the context goes is
// aborted.
class CPrinterDC : public CDC {
  public:
    CPrinterDC(const PrinterPage& page, std::unique_ptr<CPrintTarget> target);
    ~CPrinterDC() override;

    // A positive job number, or SP_ERROR when the document cannot start or one is open.
    int StartDoc(std::string_view docName);
    // Positive on success, SP_ERROR otherwise (also outside a document or on an open page).
    int StartPage();
    int EndPage();
    // Ends an open page first; SP_ERROR when the document could not be completed.
    int EndDoc();
    int AbortDoc();
    // Watches the documents from the next StartDoc on; a stop it asks for aborts the document
    // and fails that EndPage.
    void SetProgress(std::unique_ptr<CPrintProgress> progress) { m_progress = std::move(progress); }
    // Only MM_TEXT is supported: it returns the previous mode, any other mode 0.
    int SetMapMode(int mode);
    int GetMapMode() const { return MM_TEXT; }
    // GETPRINTINGOFFSET writes the margin to `output` and returns 1; other escapes return 0.
    int Escape(int escape, int inputSize, const void* input, POINT* output) const;

    const PrinterPage& Page() const { return m_page; }
    bool DocumentOpen() const { return m_surface != nullptr; }
    // Called when a document whose output was lost closes, however it closes: the printing
    // code's own handling of failed calls stays as it is, and the loss is told once.
    void SetFailureNotice(PrintFailureNotice notice) { m_failureNotice = std::move(notice); }
    // Why the last closed document's output was lost; empty when it was not.
    std::string LostOutput() const { return m_target != nullptr ? m_target->LostOutput() : ""; }
    bool PageOpen() const { return m_pageOpen; }

    void FillSolidRect(const RECT& rc, COLORREF color) override;
    POINT MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(const std::vector<POINT>& points) override;
    void FrameRect(const RECT& rc) override;
    int DrawText(std::string_view text, RECT& rc, UINT format) override;
    void DrawTexts(const std::vector<PlacedText>& texts, UINT format) override;
    void TextOut(int x, int y, std::string_view text) override;
    SIZE GetTextExtentPoint32(std::string_view text) override;
    int GetTextHeight() override;
    void DrawEdge(const RECT& rc, UINT edge, UINT flags) override;
    void DrawFocusRect(const RECT& rc) override;
    void BitBlt(int x, int y, int width, int height, CDC& source, int xSrc, int ySrc,
                UINT rop) override;
    int GetDeviceCaps(int index) const override;

    COLORREF SetTextColor(COLORREF color) override;
    COLORREF SetBkColor(COLORREF color) override;
    int SetBkMode(int mode) override;
    COLORREF GetTextColor() const override { return m_state.GetTextColor(); }
    COLORREF GetBkColor() const override { return m_state.GetBkColor(); }
    int GetBkMode() const override { return m_state.GetBkMode(); }
    CFont SelectFont(const CFont& font) override;
    CPen SelectPen(const CPen& pen) override;
    const CFont& GetCurrentFont() const override { return m_state.GetCurrentFont(); }
    const CPen& GetCurrentPen() const override { return m_state.GetCurrentPen(); }
    void SetClipRect(const RECT& rc) override;
    void Ellipse(const RECT& rc) override;

  private:
    // The page being drawn, or nullptr between pages and outside a document.
    CDC* Drawing() const { return m_pageOpen ? m_surface : nullptr; }
    // What measures text: the document's surface, else the state keeper.
    CDC& Measuring();
    void CarryStateTo(CDC& surface);
    template <typename Call>
    auto SetEverywhere(Call call);
    void CloseDocument();

    PrinterPage m_page;
    std::unique_ptr<CPrintTarget> m_target;
    // Keeps the selected objects and colours between documents and measures outside them.
    CRecordingDC m_state;
    POINT m_position{};
    RECT m_clip{};
    CDC* m_surface = nullptr;
    bool m_pageOpen = false;
    std::unique_ptr<CPrintProgress> m_progress;
    int m_pagesEnded = 0;
    PrintFailureNotice m_failureNotice;
};
