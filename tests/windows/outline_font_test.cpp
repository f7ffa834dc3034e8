// The flying text's outline font, built by CreateGLContext on the window's
// device context.
#include <windows.h>

#include <gtest/gtest.h>

#include "render/outline_font.h"
#include "shell/gl_api.h"
#include "wgl_test_window.h"

namespace {

using OutlineFont = WglTest;

TEST_F(OutlineFont, ListsAndAdvancesForCodesUpTo254)
{
    ASSERT_NE(FontListBase, 0u);
    EXPECT_TRUE(glIsList(FontListBase + 'A'));
    EXPECT_TRUE(glIsList(FontListBase + 0xE9));  // an ANSI letter above 127

    // Advances in em units: a letter is wider than nothing and narrower than
    // two ems; "W" is wider than "i".
    for (int code : {int('A'), int('W'), int('i'), int(' '), 0xE9}) {
        SCOPED_TRACE(code);
        EXPECT_GT(GlyphMetrics[code].gmfCellIncX, 0.05f);
        EXPECT_LT(GlyphMetrics[code].gmfCellIncX, 2.0f);
    }
    EXPECT_GT(GlyphMetrics['W'].gmfCellIncX, GlyphMetrics['i'].gmfCellIncX);
    EXPECT_GT(GlyphMetrics['A'].gmfBlackBoxY, 0.3f);

    // Code 255 is reserved: no outline, no metrics.
    EXPECT_EQ(GlyphMetrics[255].gmfCellIncX, 0.0f);
    EXPECT_EQ(GlyphMetrics[255].gmfBlackBoxX, 0.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(OutlineFont, TheFaceIsABoldComicFace)
{
    // The font stays selected in the window's device context.
    char face[LF_FACESIZE] = {};
    GetTextFaceA(DeviceContext(), sizeof face, face);
    TEXTMETRICA metrics = {};
    ASSERT_TRUE(GetTextMetricsA(DeviceContext(), &metrics));
    EXPECT_GE(metrics.tmWeight, FW_BOLD);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 12);
    EXPECT_NE(std::string(face).find("Comic"), std::string::npos) << face;
}

}  // namespace
