#include <gtest/gtest.h>

#include "HarnessOptions.h"

namespace {

bool Parse(const std::vector<std::string>& arguments, HarnessOptions& options, std::string& error)
{
    return ParseHarnessOptions(arguments, "/default/runtime", options, error);
}

TEST(HarnessOptions, DefaultsRunTheTitleInTheBuiltRuntimeDirectoryAnsweringNo)
{
    HarnessOptions options;
    std::string error;
    ASSERT_TRUE(Parse({}, options, error)) << error;
    EXPECT_EQ(options.dataDirectory, "/default/runtime");
    EXPECT_EQ(options.scene, SceneId::Title);
    EXPECT_FALSE(options.frames.has_value());
    EXPECT_FALSE(options.answerFullScreen);
    EXPECT_FALSE(options.headless);
    EXPECT_FALSE(options.realtime);
}

TEST(HarnessOptions, ReadsEveryOption)
{
    HarnessOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--data", "d", "--frames", "30", "--scene", "game", "--group", "2", "--stage", "6",
                       "--answer-fullscreen", "yes", "--realtime", "--screenshot", "3:a.png", "--screenshot",
                       "9:dir/b.png", "--keys", "k.txt", "--trace", "t.jsonl"},
                      options, error))
        << error;
    EXPECT_EQ(options.dataDirectory, "d");
    EXPECT_EQ(options.frames, 30);
    EXPECT_EQ(options.scene, SceneId::Game);
    EXPECT_EQ(options.stageGroup, 2);
    EXPECT_EQ(options.stageNumber, 6);
    EXPECT_TRUE(options.answerFullScreen);
    EXPECT_TRUE(options.realtime);
    ASSERT_EQ(options.screenshots.size(), 2u);
    EXPECT_EQ(options.screenshots[1].frame, 9);
    EXPECT_EQ(options.screenshots[1].file, "dir/b.png");
    EXPECT_EQ(options.keysFile, "k.txt");
    EXPECT_EQ(options.traceFile, "t.jsonl");
}

TEST(HarnessOptions, RejectsBadOptionsWithAOneLineReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--frames"},
        {"--frames", "-1"},
        {"--frames", "12x"},
        {"--scene", "menu"},
        {"--group", "two"},
        {"--answer-fullscreen", "maybe"},
        {"--screenshot", "12"},
        {"--screenshot", "x:a.png"},
        {"--screenshot", "3:"},
        {"--headless", "--screenshot", "1:a.png"},
        {"stray"},
    };
    for (const auto& arguments : bad) {
        HarnessOptions options;
        std::string error;
        EXPECT_FALSE(Parse(arguments, options, error)) << arguments[0];
        EXPECT_FALSE(error.empty()) << arguments[0];
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

}  // namespace
