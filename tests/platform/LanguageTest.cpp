#include <gtest/gtest.h>

#include "platform/Language.h"

namespace {

TEST(Language, OnlyALocaleThatNamesJapaneseKeepsTheJapaneseTexts)
{
    for (const char* locale : {"ja", "ja_JP", "ja_JP.UTF-8", "ja_JP.eucJP@euro"})
        EXPECT_EQ(LanguageOfLocale(locale), Language::Japanese) << locale;
    for (const char* locale : {"", "C", "C.UTF-8", "POSIX", "en_GB.UTF-8", "de_DE", "jam", "japanese"})
        EXPECT_EQ(LanguageOfLocale(locale), Language::English) << locale;
}

}  // namespace
