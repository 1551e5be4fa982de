// Plain text is placed without the text engine's shaping: its glyphs, positions, advance and
// decorations must be those the engine gives, in every face and style a form uses.
#include <gtest/gtest.h>

#include <QTextLayout>

#include "platform/gdi/text_metrics_qt.h"

namespace {

struct ShapingCase {
    const char* face;
    int height;
    bool bold;
    bool italic;
    bool underline;
};

class TextShapingTest : public ::testing::TestWithParam<ShapingCase> {};

TEST_P(TextShapingTest, PlainTextIsPlacedAsTheEngineWouldPlaceIt) {
    const ShapingCase& c = GetParam();
    LOGFONT lf = DefaultGuiFont();
    lf.lfFaceName = c.face;
    lf.lfHeight = -c.height;
    lf.lfWeight = c.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = c.italic;
    lf.lfUnderline = c.underline;
    const CTextMetrics metrics(lf, 96);
    const QFont& font = metrics.impl().font;
    for (const char* text : {"Hello world", "1402.04", "fi fl office ffi", "WAVE AVA Tokyo",
                             "  padded  ", "~!@#$%^&*()_+{}|:<>?", ""}) {
        SCOPED_TRACE(text);
        const CTextMetrics::Impl::Shaped& shaped = metrics.impl().Shape(text);
        QTextLayout layout(QString::fromUtf8(text), font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e9);
        line.setPosition(QPointF(0, 0));
        layout.endLayout();
        EXPECT_EQ(shaped.advance, qRound(line.horizontalAdvance()));
        EXPECT_DOUBLE_EQ(shaped.ascent, line.ascent());
        const QList<QGlyphRun> engine = layout.glyphRuns();
        ASSERT_EQ(shaped.glyphs.size(), engine.size());
        for (qsizetype i = 0; i < engine.size(); ++i) {
            EXPECT_EQ(shaped.glyphs[i].glyphIndexes(), engine[i].glyphIndexes());
            EXPECT_EQ(shaped.glyphs[i].positions(), engine[i].positions());
            EXPECT_EQ(shaped.glyphs[i].underline(), engine[i].underline());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, TextShapingTest,
                         ::testing::Values(ShapingCase{"MS Sans Serif", 11, false, false, false},
                                           ShapingCase{"Arial", 13, true, false, false},
                                           ShapingCase{"Times New Roman", 13, false, true, true},
                                           ShapingCase{"FixedSys", 16, false, false, false},
                                           ShapingCase{"Arial", 40, false, false, true}));

}  // namespace
