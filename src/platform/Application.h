#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Keyboard.h"
#include "platform/Language.h"
#include "platform/MessageBox.h"

class AudioDevice;
class GamePads;
class Window;
struct FrameRecord;

// What the operating system gives the game: the one window, the full-screen
// choice, the keyboard, message boxes, the sound output and the quit request.
// The program owns one; whatever needs the window, the keys or a box is handed it.
class Application {
public:
    static constexpr int ScreenWidth = 1280;
    static constexpr int ScreenHeight = 720;

    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Opens the window titled "ORB" (hidden until ShowWindow) and asks whether to
    // run full screen, unless the answer was given in advance. Without a window
    // (headless runs) only the question is asked.
    bool Create(bool withWindow, std::string& error);
    // The full-screen question's answer, given before Create (from the command line).
    void AnswerFullScreen(bool answer) { fullScreenAnswer = answer; }
    // Between full screen and a window, at any time (Alt+Enter).
    void ToggleFullScreen();
    void ShowWindow();
    Window* GetWindow() { return window.get(); }
    void DestroyWindow();

    // Takes game controllers as keys from now on (see GamePads); Create does
    // so for a window. False when the system has no controller support.
    bool OpenGamePads();

    // Handles every pending window and controller event. False once a quit was posted.
    bool PumpEvents();
    void PostQuit() { quitPosted = true; }
    bool QuitPosted() const { return quitPosted; }

    // Keys come from a script alone (the harness): the window's key and focus
    // events and game controllers are not taken, so other windows coming
    // and going, or a person at the machine, cannot change a scripted run.
    // Set before Create.
    void TakeKeysFromScriptOnly() { scriptedKeys = true; }

    // A key went down or up, from the window or from a script. Escape quits from
    // every scene, as the window's own key handling did.
    void KeyEvent(int virtualKey, bool down);
    Keyboard& Keys() { return keyboard; }

    // The system's clipboard as text. Without a window, or with keys from a
    // script, a clipboard of the run's own: no other program changes a run.
    void SetClipboardText(const std::string& text);
    std::string ClipboardText() const;

    // The language message boxes speak; their texts are given in Japanese.
    void SetLanguage(Language shown) { language = shown; }

    // Shows a modal box owned by the window, in the player's language, and
    // returns the answer. With a responder set (the harness) the box is not
    // shown: the responder answers. Both it and the frame record see the
    // texts as shown.
    MessageAnswer ShowMessage(const MessageRequest& request);
    using MessageResponder = std::function<MessageAnswer(const MessageRequest&)>;
    void SetMessageResponder(MessageResponder responder) { messageResponder = std::move(responder); }

    // The sound output every scene's SoundPlayer plays through; closed until opened.
    AudioDevice& Audio();

    // Where this frame's sound calls and messages are reported; null in the game.
    void SetFrameRecord(FrameRecord* record) { frameRecord = record; }
    FrameRecord* Record() { return frameRecord; }

    bool fullScreen = false;
    // Escape quits from every scene. With the play aids the scenes take it
    // as a way back instead, and the title alone quits with it.
    bool escapeQuits = true;

private:
    std::unique_ptr<Window> window;
    std::unique_ptr<AudioDevice> audio;
    std::unique_ptr<GamePads> pads;
    std::optional<bool> fullScreenAnswer;
    Language language = Language::Japanese;
    Keyboard keyboard;
    bool quitPosted = false;
    bool scriptedKeys = false;
    bool videoStarted = false;
    std::string runClipboard;
    MessageResponder messageResponder;
    FrameRecord* frameRecord = nullptr;
};
