#include "platform/Language.h"

#include <cstdlib>
#include <utility>

namespace {

// Every fixed text a message box of the game shows, with its English.
const std::pair<const char*, const char*> EnglishTexts[] = {
    {"フルスクリーンにしますか？", "Play in full screen?"},
    {"確認", "Question"},
    {"はい", "Yes"},
    {"いいえ", "No"},
    {"ファイルがありません", "A file is missing."},
    {"読み込みエラー", "Read error"},
    {"シェーダコンパイルエラー", "Shader compile error"},
    {"Xファイル読み込みエラー", "The model file cannot be read."},
    {"DirectX初期化失敗", "The graphics could not be started."},
    {"Direct3Dの初期化に失敗", "The graphics device could not be set up."},
    {"Direct3D初期化", "Graphics device"},
};

}  // namespace

Language LanguageFromEnvironment()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return LanguageOfLocale(value);
    }
    return Language::Japanese;
}

Language LanguageOfLocale(const std::string& locale)
{
    const std::string name = locale.substr(0, locale.find_first_of("_.@"));
    return name == "ja" || name == "C" || name == "POSIX" || name.empty() ? Language::Japanese : Language::English;
}

std::string Translate(const std::string& text, Language language)
{
    if (language == Language::Japanese)
        return text;
    for (const auto& [japanese, english] : EnglishTexts) {
        if (text == japanese)
            return english;
    }
    return text;
}
