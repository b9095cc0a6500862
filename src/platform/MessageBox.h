#pragma once

#include <string>

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Question, Error };
enum class MessageAnswer { Ok, Yes, No };

// Every box the game shows. Each has its fixed words, in the game's own
// Japanese and in English; a box about a file, a compiler or a folder also
// shows what it is given (its detail) in the text or the caption.
enum class MessageId {
    FullScreenQuestion,  // "フルスクリーンにしますか？", caption "確認", Yes and No
    FileMissing,         // "ファイルがありません", caption "読み込みエラー"
    ModelUnreadable,     // "Xファイル読み込みエラー", caption the model's path
    ShaderCompileError,  // the compiler's text, caption "シェーダコンパイルエラー"
    DeviceSetUpFailed,   // "Direct3Dの初期化に失敗", caption "Direct3D初期化", error icon
    GraphicsFailed,      // "DirectX初期化失敗", no caption
    DataFolderFailed,    // the reason, caption the program's name, error icon
};

// One modal message box, with its words in Japanese. Yes/No boxes have No as
// their default answer, which is also what Enter and Escape choose.
struct MessageRequest {
    MessageId id = MessageId::FileMissing;
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// What a box answers when nobody is asked: No for a question, OK otherwise.
inline MessageAnswer DefaultAnswer(const MessageRequest& request)
{
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}
