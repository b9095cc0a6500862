#include "platform/Application.h"

#include <csignal>
#include <cstdio>

#include <SDL.h>

#include "platform/AudioDevice.h"
#include "platform/FrameRecord.h"
#include "platform/GamePads.h"
#include "platform/Messages.h"
#include "platform/VirtualKey.h"
#include "platform/Window.h"

namespace {

const char* const WindowTitle = "ORB";

// Set from a signal handler, so it is the one thing here that must be a
// plain global: a termination request the next event pump turns into a quit.
volatile std::sig_atomic_t terminationRequested = 0;

void RequestTermination(int)
{
    terminationRequested = 1;
}

// SIGTERM, SIGINT and SIGHUP end the program as Escape does, after the frame
// in progress, with everything released. The handler is used once: a second
// signal ends a program that is stuck (in a message box, say) at once.
void HandleTermination()
{
    struct sigaction action {};
    action.sa_handler = RequestTermination;
    // A save in progress when the signal comes goes on instead of failing.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        sigaction(number, &action, nullptr);
}

// Letters go by the key's label, on any layout; the digits are the top-row
// keys by their place, so layouts whose top row needs Shift for digits
// (AZERTY) still place blocks in the editor.
int VirtualKeyOf(SDL_Scancode scancode, SDL_Keycode code)
{
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0)
        return '0';
    switch (scancode) {
    case SDL_SCANCODE_MINUS:
        return VirtualKey::Minus;
    case SDL_SCANCODE_EQUALS:
        return VirtualKey::Equals;
    case SDL_SCANCODE_LEFTBRACKET:
        return VirtualKey::LeftBracket;
    case SDL_SCANCODE_RIGHTBRACKET:
        return VirtualKey::RightBracket;
    default:
        break;
    }
    if (code >= SDLK_a && code <= SDLK_z)
        return 'A' + (code - SDLK_a);
    switch (code) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VirtualKey::Return;
    case SDLK_ESCAPE:
        return VirtualKey::Escape;
    case SDLK_SPACE:
        return VirtualKey::Space;
    case SDLK_LEFT:
        return VirtualKey::Left;
    case SDLK_UP:
        return VirtualKey::Up;
    case SDLK_RIGHT:
        return VirtualKey::Right;
    case SDLK_DOWN:
        return VirtualKey::Down;
    case SDLK_BACKSPACE:
        return VirtualKey::Back;
    case SDLK_TAB:
        return VirtualKey::Tab;
    case SDLK_F1:
        return VirtualKey::F1;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VirtualKey::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VirtualKey::Control;
    default:
        return -1;
    }
}

MessageAnswer ShowSdlMessageBox(const MessageRequest& request, Language language, SDL_Window* owner)
{
    const int returnAndEscape =
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    // SDL lays buttons out in array order; the default button carries the key flags.
    const SDL_MessageBoxButtonData okButtons[] = {
        {returnAndEscape, static_cast<int>(MessageAnswer::Ok), "OK"},
    };
    const std::string yes = YesLabel(language);
    const std::string no = NoLabel(language);
    const SDL_MessageBoxButtonData yesNoButtons[] = {
        {0, static_cast<int>(MessageAnswer::Yes), yes.c_str()},
        {returnAndEscape, static_cast<int>(MessageAnswer::No), no.c_str()},
    };
    const bool yesNo = request.buttons == MessageButtons::YesNo;

    SDL_MessageBoxData data{};
    data.flags = request.icon == MessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    data.window = owner;
    data.title = request.caption.c_str();
    data.message = request.text.c_str();
    data.numbuttons = yesNo ? 2 : 1;
    data.buttons = yesNo ? yesNoButtons : okButtons;

    // SDL draws the box in a child process of its own, and that child has been
    // seen to crash while it placed the box from SDL's display data: a box
    // that failed is shown once more without an owner before its default
    // answer is taken, and the game goes on either way.
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) == 0 && pressed >= 0)
        return static_cast<MessageAnswer>(pressed);
    data.window = nullptr;
    if (SDL_ShowMessageBox(&data, &pressed) == 0 && pressed >= 0)
        return static_cast<MessageAnswer>(pressed);
    const MessageAnswer answer = DefaultAnswer(request);
    std::fprintf(stderr, "%s: a message box could not be shown (%s); taken as answered %s: %s\n", WindowTitle,
                 SDL_GetError(), answer == MessageAnswer::Yes ? "Yes" : answer == MessageAnswer::No ? "No" : "OK",
                 request.text.c_str());
    return answer;
}

// A box belongs to the window only once the window is on the screen.
SDL_Window* MessageOwner(const Window* window)
{
    if (!window || (SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_SHOWN) == 0)
        return nullptr;
    return window->Handle();
}

// The game's keys the keyboard holds down at this moment.
std::vector<int> KeysDownNow()
{
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    std::vector<int> keys;
    for (int scancode = 0; scancode < count; ++scancode) {
        if (!state[scancode])
            continue;
        const auto code = static_cast<SDL_Scancode>(scancode);
        if (const int key = VirtualKeyOf(code, SDL_GetKeyFromScancode(code)); key >= 0)
            keys.push_back(key);
    }
    return keys;
}

// Switches the display mode, and is no Enter for the scenes.
bool IsAltEnter(const SDL_Keysym& key)
{
    return (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT) != 0;
}

}  // namespace

Application::Application() = default;

Application::~Application()
{
    if (pads) {
        pads.reset();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    DestroyWindow();
    if (videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool Application::Create(bool withWindow, std::string& error)
{
    HandleTermination();
    // Asked before SDL's video starts: SDL then places the box on the X
    // screen by itself. With video started it reads the position from its
    // first display's data, which a run under load was seen to find empty,
    // and the box's process crashed every time it was asked.
    fullScreen = fullScreenAnswer ? *fullScreenAnswer
                                  : ShowMessage(Message(MessageId::FullScreenQuestion)) == MessageAnswer::Yes;
    if (withWindow) {
        // Our own handlers answer termination signals, in every mode.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            error = SDL_GetError();
            return false;
        }
        videoStarted = true;
        window = Window::Create(WindowTitle, ScreenWidth, ScreenHeight, error);
        if (!window)
            return false;
        if (!scriptedKeys)
            OpenGamePads();
        window->SetFullScreen(fullScreen);
    }
    return true;
}

AudioDevice& Application::Audio()
{
    if (!audio)
        audio = std::make_unique<AudioDevice>();
    return *audio;
}

void Application::ShowWindow()
{
    if (window)
        window->Show();
}

bool Application::OpenGamePads()
{
    // A game without controllers still runs; the ones present now arrive as added.
    if (!pads && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0)
        pads = std::make_unique<GamePads>([this](int key, bool down) { KeyEvent(key, down); });
    return pads != nullptr;
}

void Application::DestroyWindow()
{
    window.reset();
}

void Application::ToggleFullScreen()
{
    fullScreen = !fullScreen;
    if (window)
        window->SetFullScreen(fullScreen);
}

bool Application::PumpEvents()
{
    if (videoStarted || pads) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (pads && pads->Handle(event))
                continue;
            if (scriptedKeys && (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP || event.type == SDL_WINDOWEVENT))
                continue;
            switch (event.type) {
            case SDL_QUIT:
                PostQuit();
                break;
            case SDL_KEYDOWN:
                if (IsAltEnter(event.key.keysym)) {
                    if (!event.key.repeat)
                        ToggleFullScreen();
                    break;
                }
                if (!event.key.repeat)
                    KeyEvent(VirtualKeyOf(event.key.keysym.scancode, event.key.keysym.sym), true);
                break;
            case SDL_KEYUP:
                KeyEvent(VirtualKeyOf(event.key.keysym.scancode, event.key.keysym.sym), false);
                break;
            case SDL_WINDOWEVENT:
                // A key held when the focus goes stays held while the window is
                // away (letting go of a charge there must not fire it); a key let
                // go meanwhile never reports it, so on return the keys follow the
                // keyboard as it is then.
                if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
                    keyboard.ReleaseAllExcept(KeysDownNow());
                break;
            default:
                break;
            }
        }
    }
    if (terminationRequested)
        PostQuit();
    return !quitPosted;
}

void Application::KeyEvent(int virtualKey, bool down)
{
    if (down) {
        keyboard.Press(virtualKey);
        if (virtualKey == VirtualKey::Escape && escapeQuits)
            PostQuit();
    } else {
        keyboard.Release(virtualKey);
    }
}

void Application::SetClipboardText(const std::string& text)
{
    if (videoStarted && !scriptedKeys)
        SDL_SetClipboardText(text.c_str());
    else
        runClipboard = text;
}

std::string Application::ClipboardText() const
{
    if (!videoStarted || scriptedKeys)
        return runClipboard;
    char* text = SDL_GetClipboardText();
    std::string copied = text ? text : "";
    SDL_free(text);
    return copied;
}

MessageAnswer Application::ShowMessage(const MessageRequest& given)
{
    const MessageRequest request = Translated(given, language);
    if (frameRecord)
        frameRecord->messages.push_back(given);
    if (messageResponder)
        return messageResponder(request);
    return ShowSdlMessageBox(request, language, MessageOwner(window.get()));
}
