// The print preview window and the print progress window in Qt.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>
#include <memory>

#include "platform/gdi/print_document.h"

// A kept document's pages on screen, with zoom and page navigation; Print accepts the dialog,
// Close rejects it. The document must outlive the dialog.
class CPrintPreviewDialog : public QDialog {
  public:
    CPrintPreviewDialog(const CPrintDocument& document, QWidget* parent);

    QPrintPreviewWidget& View() { return m_view; }
    // The toolbar's actions, by their text ("Print", "Close", "Next Page", "Zoom In", ...).
    QAction* Action(const QString& text) const;
    QString PageText() const { return m_pageText->text(); }

  private:
    void AddActions();
    void ShowPage(int page);
    void UpdatePageText();

    const CPrintDocument& m_document;
    QPrinter m_printer;
    QVBoxLayout m_layout;
    QToolBar m_tools;
    QPrintPreviewWidget m_view;
    QLabel* m_pageText;  // owned by the toolbar's action, which deletes its widget
};

// Shows the document; true when the user chose Print.
bool RunPrintPreview(const CPrintDocument& document, QWidget* parent);

// A progress window that appears once a document has printed for `delayMs` milliseconds: the
// document's name, the pages so far, and Cancel.
std::unique_ptr<CPrintProgress> CreateQtPrintProgress(QWidget* parent, int delayMs = 1000);
