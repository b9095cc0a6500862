#include "platform/Messages.h"

namespace {

// The fixed words of a box: its text or caption where that is not its detail.
struct Words {
    const char* japaneseText;
    const char* englishText;
    const char* japaneseCaption;
    const char* englishCaption;
};

// Null where the box shows its detail instead.
Words WordsOf(MessageId id)
{
    switch (id) {
    case MessageId::FullScreenQuestion:
        return {"フルスクリーンにしますか？", "Play in full screen?", "確認", "Question"};
    case MessageId::FileMissing:
        return {"ファイルがありません", "A file is missing.", "読み込みエラー", "Read error"};
    case MessageId::ModelUnreadable:
        return {"Xファイル読み込みエラー", "The model file cannot be read.", nullptr, nullptr};
    case MessageId::ShaderCompileError:
        return {nullptr, nullptr, "シェーダコンパイルエラー", "Shader compile error"};
    case MessageId::DeviceSetUpFailed:
        return {"Direct3Dの初期化に失敗", "The graphics device could not be set up.", "Direct3D初期化",
                "Graphics device"};
    case MessageId::GraphicsFailed:
        return {"DirectX初期化失敗", "The graphics could not be started.", "", ""};
    case MessageId::DataFolderFailed:
        return {nullptr, nullptr, nullptr, nullptr};
    }
    return {nullptr, nullptr, nullptr, nullptr};
}

}  // namespace

MessageRequest Message(MessageId id, const std::string& detail)
{
    const Words words = WordsOf(id);
    MessageRequest request;
    request.id = id;
    request.text = words.japaneseText ? words.japaneseText : detail;
    request.caption = words.japaneseCaption ? words.japaneseCaption : detail;
    if (id == MessageId::FullScreenQuestion) {
        request.buttons = MessageButtons::YesNo;
        request.icon = MessageIcon::Question;
    }
    if (id == MessageId::DeviceSetUpFailed || id == MessageId::DataFolderFailed)
        request.icon = MessageIcon::Error;
    return request;
}

MessageRequest Translated(const MessageRequest& request, Language language)
{
    if (language == Language::Japanese)
        return request;
    const Words words = WordsOf(request.id);
    MessageRequest translated = request;
    if (words.englishText)
        translated.text = words.englishText;
    if (words.englishCaption)
        translated.caption = words.englishCaption;
    return translated;
}

std::string YesLabel(Language language)
{
    return language == Language::Japanese ? "はい" : "Yes";
}

std::string NoLabel(Language language)
{
    return language == Language::Japanese ? "いいえ" : "No";
}
