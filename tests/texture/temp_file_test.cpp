// The temporary file that loads from memory pass through, and TGA resources.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/gl_test.h"
#include "tests/texture/texture_test_support.h"
#include "texture/temp_file.h"

namespace {

const std::string kFixtures = TEXTURE_FIXTURES;

TEST(TempFile, IsWrittenInTheCurrentDirectoryForItsOwnerOnly)
{
    ScratchDirectory scratch;
    const unsigned char bytes[] = {1, 2, 3, 4, 5};
    char path[260];
    ASSERT_TRUE(WriteTempFile(bytes, sizeof bytes, path, sizeof path));
    EXPECT_EQ(std::string(path), scratch.TempFile());
    struct stat status;
    ASSERT_EQ(lstat(path, &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadFile(path), std::vector<uint8_t>(bytes, bytes + sizeof bytes));

    // Written again, it replaces the old one.
    ASSERT_TRUE(WriteTempFile(bytes, 2, path, sizeof path));
    EXPECT_EQ(ReadFile(path).size(), 2u);
    DeleteTempFile(path);
    EXPECT_FALSE(Exists(path));
}

TEST(TempFile, NeverWritesThroughASymbolicLink)
{
    ScratchDirectory scratch;
    const std::string victim = scratch.Path() + "/victim";
    FILE* file = fopen(victim.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs("keep me", file);
    fclose(file);
    ASSERT_EQ(symlink(victim.c_str(), scratch.TempFile().c_str()), 0);

    const unsigned char bytes[] = {9, 9, 9};
    char path[260];
    ASSERT_TRUE(WriteTempFile(bytes, sizeof bytes, path, sizeof path));
    struct stat status;
    ASSERT_EQ(lstat(path, &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode)) << "the link was replaced by a file of our own";
    const std::vector<uint8_t> kept = ReadFile(victim);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep me");
    DeleteTempFile(path);
    EXPECT_TRUE(Exists(victim));

    // A dangling link pointing somewhere new is not followed either.
    const std::string target = scratch.Path() + "/created-through-link";
    ASSERT_EQ(symlink(target.c_str(), scratch.TempFile().c_str()), 0);
    ASSERT_TRUE(WriteTempFile(bytes, sizeof bytes, path, sizeof path));
    EXPECT_FALSE(Exists(target));
    DeleteTempFile(path);
}

TEST(TempFile, FailsWhenThePathCannotBeMade)
{
    char path[260];
    const unsigned char bytes[] = {1};
    {
        // A directory whose path leaves no room for the name in 260 characters.
        ScratchDirectory scratch;
        const std::string part(60, 'd');
        for (int i = 0; i < 5; ++i) {
            ASSERT_EQ(mkdir(part.c_str(), 0700), 0);
            ASSERT_EQ(chdir(part.c_str()), 0);
        }
        EXPECT_FALSE(WriteTempFile(bytes, sizeof bytes, path, sizeof path));
    }
    {
        // A current directory that no longer exists.
        ScratchDirectory scratch;
        ASSERT_EQ(mkdir("gone", 0700), 0);
        ASSERT_EQ(chdir("gone"), 0);
        ASSERT_EQ(rmdir((scratch.Path() + "/gone").c_str()), 0);
        EXPECT_FALSE(WriteTempFile(bytes, sizeof bytes, path, sizeof path));
    }
    {
        // A directory planted at the name.
        ScratchDirectory scratch;
        ASSERT_EQ(mkdir(scratch.TempFile().c_str(), 0700), 0);
        EXPECT_FALSE(WriteTempFile(bytes, sizeof bytes, path, sizeof path));
    }
}

class TempFileLoad : public GlTest {
protected:
    ScratchDirectory scratch;
    TextureLoader loader;
};

TEST_F(TempFileLoad, TgaResourceLoadsThroughTheTemporaryFileAndLeavesNothing)
{
    TextureInfo info = ZeroInfo();
    ASSERT_EQ(loader.LoadTextureResource(300, "Images", info, TgaImage), 1);
    EXPECT_NE(info.glName, 0u);
    EXPECT_EQ(info.kind, TgaImage);
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 64);
    EXPECT_EQ(info.format, static_cast<uint32_t>(GL_RGBA));
    EXPECT_EQ(info.bitsPerPixel, 32);
    EXPECT_FALSE(Exists(scratch.TempFile()));

    // A resource that is only a header fails, and leaves no file either.
    TextureInfo broken = ZeroInfo();
    EXPECT_EQ(loader.LoadTextureResource(301, "IMAGES", broken, TgaImage), 0);
    EXPECT_EQ(broken.glName, 0u);
    EXPECT_EQ(broken.kind, TgaImage);
    EXPECT_EQ(broken.width, 4);
    EXPECT_EQ(broken.bitsPerPixel, 24);
    EXPECT_FALSE(Exists(scratch.TempFile()));

    // A symbolic link planted at the name changes nothing.
    const std::string victim = scratch.Path() + "/victim";
    ASSERT_EQ(symlink(victim.c_str(), scratch.TempFile().c_str()), 0);
    TextureInfo again = ZeroInfo();
    EXPECT_EQ(loader.LoadTextureResource(300, "IMAGES", again, TgaImage), 1);
    EXPECT_FALSE(Exists(victim));
    EXPECT_FALSE(Exists(scratch.TempFile()));

    // A picture resource asked for as a TGA image is refused as one.
    TextureInfo picture = ZeroInfo();
    EXPECT_EQ(loader.LoadTextureResource(119, "IMAGES", picture, TgaImage), 0);
    EXPECT_EQ(picture.kind, TgaImage);
    EXPECT_FALSE(Exists(scratch.TempFile()));
}

TEST_F(TempFileLoad, WithoutAUsableDirectoryTheKindStaysAsTheCallerLeftIt)
{
    ASSERT_EQ(mkdir("gone", 0700), 0);
    ASSERT_EQ(chdir("gone"), 0);
    ASSERT_EQ(rmdir((scratch.Path() + "/gone").c_str()), 0);
    const std::vector<uint8_t> bytes = ReadFile(kFixtures + "/gradient-24.tga");

    TextureInfo direct{0, 7, 0, 0, 0, 0};
    EXPECT_EQ(loader.LoadViaTempFile(bytes.data(), bytes.size(), direct, TgaImage), 0);
    EXPECT_EQ(direct.kind, 7);

    // Through the dispatcher the kind was recorded before.
    TextureInfo dispatched = ZeroInfo();
    EXPECT_EQ(loader.LoadTextureResource(300, "IMAGES", dispatched, TgaImage), 0);
    EXPECT_EQ(dispatched.kind, TgaImage);
    EXPECT_EQ(dispatched.glName, 0u);
}

TEST_F(TempFileLoad, UnreadableTgaFilesLoadNothing)
{
    TextureInfo info{5, 7, 1, 2, 3, 4};
    const TextureInfo before = info;
    EXPECT_EQ(loader.LoadTgaFile("/nonexistent/image.tga", info), 0);
    EXPECT_EQ(loader.LoadTgaFile(scratch.Path().c_str(), info), 0);  // a directory
    EXPECT_EQ(loader.LoadTgaFile("/dev/null", info), 0);
    EXPECT_TRUE(SameInfo(info, before));
    // A device that never ends holds no image of any size it can name.
    EXPECT_EQ(loader.LoadTgaFile("/dev/zero", info), 0);
    EXPECT_EQ(info.glName, 5u);
}

}  // namespace
