// Reading the frame back and writing it as a PNG, on a headless context.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <png.h>

#include "shell/gl_api.h"
#include "shell/snapshot.h"
#include "tests/support/gl_test.h"

namespace {

class Snapshot : public GlTest {
protected:
    int SurfaceWidth() const override { return 8; }
    int SurfaceHeight() const override { return 4; }
};

TEST_F(Snapshot, RowsComeTopFirstAndSurviveThePngFile)
{
    // Red below, green in the top row (GL counts rows from the bottom).
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 3, 8, 1);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    const std::vector<unsigned char> rgb = ReadFramePixels(8, 4);
    ASSERT_EQ(rgb.size(), 8u * 4 * 3);
    EXPECT_EQ(rgb[0], 0);
    EXPECT_EQ(rgb[1], 255);  // top row green
    EXPECT_EQ(rgb[3 * 8 * 3], 255);
    EXPECT_EQ(rgb[3 * 8 * 3 + 1], 0);  // bottom row red

    const std::string path = testing::TempDir() + "orinthal-snapshot-test.png";
    std::string error;
    ASSERT_TRUE(WritePngFile(path, 8, 4, rgb, &error)) << error;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    EXPECT_EQ(image.width, 8u);
    EXPECT_EQ(image.height, 4u);
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> back(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, back.data(), 0, nullptr));
    EXPECT_EQ(back, rgb);
    std::remove(path.c_str());
}

TEST(SnapshotFile, UnwritablePathIsReportedAndLeavesNothing)
{
    const std::vector<unsigned char> rgb(3, 0);
    std::string error;
    EXPECT_FALSE(WritePngFile("/nonexistent-folder/x.png", 1, 1, rgb, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(WritePngFile(testing::TempDir() + "x.png", 2, 1, rgb, &error)) << "too few pixels";
}

}  // namespace
