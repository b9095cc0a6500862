#include "game/LookFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "main/FrameLoop.h"
#include "render/GraphicsDevice.h"

void LookFixture::SetUp()
{
    const std::filesystem::path runtime(ORB_RUNTIME_DIR);
    std::filesystem::create_directories("Resource");
    for (const char* folder : {"Resource/Data", "Resource/Texture"})
        std::filesystem::create_directory_symlink(runtime / folder, folder);
    StartGame(true);
}

LookFixture::Picture LookFixture::Frame(const std::string& name)
{
    Picture pixels;
    Device().CaptureNextPresent(&pixels);
    RunFrame(Context());
    if (const char* folder = std::getenv("ORB_LOOK_DIR"))
        WritePicture(std::string(folder) + "/" + name + ".png", pixels);
    return pixels;
}

void LookFixture::ExpectSamePicture(const Picture& withShortcuts, const Picture& full)
{
    ASSERT_EQ(withShortcuts.size(), full.size());
    int largest = 0;
    int differing = 0;
    for (std::size_t i = 0; i + 3 < full.size(); i += 4) {
        int pixel = 0;
        for (std::size_t c = 0; c < 3; ++c)
            pixel = std::max(pixel, std::abs(withShortcuts[i + c] - full[i + c]));
        largest = std::max(largest, pixel);
        differing += pixel > 1;
    }
    EXPECT_LE(largest, 2);
    EXPECT_LE(differing, 100) << "of " << full.size() / 4 << " pixels";
}
