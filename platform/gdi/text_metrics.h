// The measurements of a LOGFONT on a device, without exposing the toolkit's font classes.
#pragma once

#include <memory>
#include <string_view>

#include "platform/gdi/dc.h"

class CTextMetrics {
  public:
    // Measures as an image at logPixels dots per inch would.
    CTextMetrics(const LOGFONT& font, int logPixels);
    CTextMetrics(CTextMetrics&&) noexcept;
    CTextMetrics& operator=(CTextMetrics&&) noexcept;
    ~CTextMetrics();

    int Ascent() const;
    int Descent() const;
    int LineHeight() const { return Ascent() + Descent(); }
    // Horizontal advance of UTF-8 text.
    int Advance(std::string_view text) const;
    // Distance below the baseline and thickness of an underline.
    int UnderlinePosition() const;
    int UnderlineThickness() const;

    struct Impl;
    explicit CTextMetrics(std::shared_ptr<const Impl> impl);
    const Impl& impl() const { return *m_impl; }

  private:
    // Shared between the contexts that measure the same font on the same kind of device.
    std::shared_ptr<const Impl> m_impl;
};
