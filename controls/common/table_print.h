// The plain table the grid and the query list print: a 12-point FixedSys document "Report",
// a header of cells at the top of every page and one line a record under it.
#pragma once

#include <functional>
#include <memory>

#include "controls/common/print_job.h"

// A started table document: the job chosen through the print dialog, its font selected, its
// first page begun, black text drawn transparently.
class CTablePrint {
  public:
    // Shows the print dialog with the flags and starts the document; nullptr when the dialog is
    // cancelled or the document or its first page cannot start (told to the user).
    static std::unique_ptr<CTablePrint> Start(UINT dialogFlags, CWnd* owner);

    CTablePrint(std::unique_ptr<CPrintJob> job, CWnd* owner);
    CPrintJob& Job() { return *m_job; }
    CDC& DC() { return m_job->DC(); }

    // The top of the first line under a header of the height.
    int FirstLine(int headerHeight) const;
    // Prints the page's header through printHeader, which returns the top of its first line,
    // and starts the lines there.
    int StartLines(const std::function<int()>& printHeader);
    // Where the next line of the height goes: at top when it fits above the printable bottom,
    // else at the first line of a new page, under its header. False when the job must stop: a
    // page failed to start, or a fresh page cannot hold one line (told to the user), which
    // would otherwise start empty pages forever.
    bool PlaceLine(int& top, int height, const std::function<int()>& printHeader);
    // Ends the document when the table was printed whole, else aborts it.
    void Finish(bool printed);
    // A value or caption centred in its cell, clipped to it. A page's texts are drawn when it
    // ends, column by column, so that a printer clips each column once.
    void DrawCellText(std::string text, const RECT& cell);
    // Tells the user why the table cannot be printed whole (before Finish(false) drops it).
    void TellFailure(const std::string& text) const;

  private:
    void DrawPageTexts();

    std::unique_ptr<CPrintJob> m_job;
    CWnd* m_owner;
    CSelectedPrintFont m_font;
    int m_pageFirstLine = 0;
    std::vector<PlacedText> m_pageTexts;
};
