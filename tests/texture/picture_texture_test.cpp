#include <gtest/gtest.h>

#include "tests/support/gl_test.h"
#include "tests/texture/texture_test_support.h"

class PictureTexture : public GlTest {};

TEST_F(PictureTexture, AllTwelveResourcesLoad)
{
    TextureLoader loader;
    loader.SetMipmapping(1);
    for (int id = 119; id <= 130; ++id) {
        TextureInfo info = ZeroInfo();
        const int kind = id == 119 ? KeyablePicture : PlainPicture;
        ASSERT_EQ(loader.LoadTextureResource(id, "IMAGES", info, kind), 1) << id;
        EXPECT_NE(info.glName, 0u);
        const TextureLevel level = QueryLevel(info.glName);
        EXPECT_EQ(level.width, id == 119 ? 32 : 1024);
        EXPECT_EQ(level.height, id == 119 ? 32 : 1024);
    }
}
