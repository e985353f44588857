// The SDL2 back end of the platform layer, with the test back end's redirections.
#include "platform/platform.h"
#include "platform/test_backend.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace platform {

namespace {

TestBackend* activeTest = nullptr;
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
bool videoStarted = false;
bool fullscreenMode = false;

std::string videoError;

bool startVideo() {
    if (videoStarted) return true;
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        videoError = SDL_GetError();
        return false;
    }
    // Controllers are optional: without them the game runs on keys and mouse.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "nightrun: game controllers unavailable: %s\n", SDL_GetError());
    videoStarted = true;
    return true;
}

// Open controllers: pads through the game-controller layer, wheels (joysticks
// no layout knows) as raw joysticks whose pedals are measured from where they
// rest when the wheel is connected.
struct OpenPad {
    SDL_JoystickID id = -1;
    SDL_GameController* pad = nullptr;
    SDL_Joystick* wheel = nullptr;
    Sint16 pedalRest[3] = {};
};
constexpr int maxPads = 8;
OpenPad openPads[maxPads];

OpenPad* findPad(SDL_JoystickID id) {
    for (OpenPad& p : openPads)
        if ((p.pad || p.wheel) && p.id == id) return &p;
    return nullptr;
}

OpenPad* freePad() {
    for (OpenPad& p : openPads)
        if (!p.pad && !p.wheel) return &p;
    return nullptr;
}

void closePad(OpenPad& p) {
    if (p.pad) SDL_GameControllerClose(p.pad);
    if (p.wheel) SDL_JoystickClose(p.wheel);
    p = OpenPad{};
}

int padAxis(Uint8 axis) {
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX: return int(PadAxisId::LeftX);
    case SDL_CONTROLLER_AXIS_LEFTY: return int(PadAxisId::LeftY);
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT: return int(PadAxisId::TriggerLeft);
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: return int(PadAxisId::TriggerRight);
    default: return -1;
    }
}

int padButton(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return int(PadButtonId::A);
    case SDL_CONTROLLER_BUTTON_B: return int(PadButtonId::B);
    case SDL_CONTROLLER_BUTTON_X: return int(PadButtonId::X);
    case SDL_CONTROLLER_BUTTON_Y: return int(PadButtonId::Y);
    case SDL_CONTROLLER_BUTTON_BACK: return int(PadButtonId::Back);
    case SDL_CONTROLLER_BUTTON_START: return int(PadButtonId::Start);
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return int(PadButtonId::DpadUp);
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return int(PadButtonId::DpadDown);
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return int(PadButtonId::DpadLeft);
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return int(PadButtonId::DpadRight);
    default: return -1;
    }
}

// A pedal's travel from where it rests, 0..32767, measured against the room
// left on the side it moves to: the far end is full travel whichever end it rests at.
int pedalTravel(Sint16 value, Sint16 rest) {
    const int from = int(value) - int(rest);
    const int room = from >= 0 ? 32767 - int(rest) : int(rest) + 32768;
    return std::min(32767, std::abs(from) * 32767 / std::max(room, 1));
}

// Translates one SDL controller event; false for events the game does not use.
bool translatePadEvent(const SDL_Event& e, Event& event) {
    event = {};
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: {
        OpenPad* slot = freePad();
        if (!slot) return false;
        SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which);
        if (!pad) return false;
        const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
        if (findPad(id)) {  // already open (SDL can announce a pad twice)
            SDL_GameControllerClose(pad);
            return false;
        }
        slot->id = id;
        slot->pad = pad;
        event.type = EventType::PadAdded;
        event.pad = id;
        return true;
    }
    case SDL_JOYDEVICEADDED: {
        if (SDL_IsGameController(e.jdevice.which)) return false;  // comes as a pad
        OpenPad* slot = freePad();
        if (!slot) return false;
        SDL_Joystick* wheel = SDL_JoystickOpen(e.jdevice.which);
        if (!wheel) return false;
        const SDL_JoystickID id = SDL_JoystickInstanceID(wheel);
        if (SDL_JoystickNumAxes(wheel) < 1 || findPad(id)) {
            SDL_JoystickClose(wheel);
            return false;
        }
        slot->id = id;
        slot->wheel = wheel;
        for (int a = 1; a <= 2; ++a) {
            Sint16 rest = 0;
            if (!SDL_JoystickGetAxisInitialState(wheel, a, &rest)) rest = SDL_JoystickGetAxis(wheel, a);
            slot->pedalRest[a] = rest;
        }
        event.type = EventType::PadAdded;
        event.pad = id;
        return true;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_JOYDEVICEREMOVED: {
        const SDL_JoystickID id = e.type == SDL_JOYDEVICEREMOVED ? e.jdevice.which : e.cdevice.which;
        OpenPad* p = findPad(id);
        if (!p) return false;
        closePad(*p);
        event.type = EventType::PadRemoved;
        event.pad = id;
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
        const int axis = padAxis(e.caxis.axis);
        if (axis < 0 || !findPad(e.caxis.which)) return false;
        event.type = EventType::PadAxis;
        event.pad = e.caxis.which;
        event.control = axis;
        event.value = e.caxis.value;
        return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const int button = padButton(e.cbutton.button);
        if (button < 0 || !findPad(e.cbutton.which)) return false;
        event.type = e.type == SDL_CONTROLLERBUTTONDOWN ? EventType::PadButtonDown : EventType::PadButtonUp;
        event.pad = e.cbutton.which;
        event.control = button;
        return true;
    }
    case SDL_JOYAXISMOTION: {
        OpenPad* p = findPad(e.jaxis.which);
        if (!p || !p->wheel || e.jaxis.axis > 2) return false;
        event.type = EventType::PadAxis;
        event.pad = e.jaxis.which;
        if (e.jaxis.axis == 0) {
            event.control = int(PadAxisId::Wheel);
            event.value = e.jaxis.value;
        } else {
            // Throttle on the second axis, brake on the third.
            event.control = int(e.jaxis.axis == 1 ? PadAxisId::TriggerRight : PadAxisId::TriggerLeft);
            event.value = pedalTravel(e.jaxis.value, p->pedalRest[e.jaxis.axis]);
        }
        return true;
    }
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
        OpenPad* p = findPad(e.jbutton.which);
        if (!p || !p->wheel || e.jbutton.button > 3) return false;
        event.type = e.type == SDL_JOYBUTTONDOWN ? EventType::PadButtonDown : EventType::PadButtonUp;
        event.pad = e.jbutton.which;
        event.control = e.jbutton.button;  // the first four: A, B, X, Y
        return true;
    }
    default:
        return false;
    }
}

}  // namespace

bool startVideo(std::string& reason) {
    if (activeTest && activeTest->failVideo) {
        reason = "the test back end refuses video";
        return false;
    }
    if (activeTest && activeTest->windowless) return true;
    if (startVideo()) return true;
    reason = videoError;
    return false;
}

void installTestBackend(TestBackend* backend) { activeTest = backend; }
TestBackend* testBackend() { return activeTest; }

bool messageBox(const std::string& text, const std::string& caption,
                MessageButtons buttons, MessageIcon icon) {
    if (activeTest) {
        bool answer = buttons == MessageButtons::YesNo ? activeTest->answerYes : true;
        activeTest->messageBoxes.push_back({text, caption, buttons, icon, answer});
        return answer;
    }
    Uint32 flags = icon == MessageIcon::Information ? SDL_MESSAGEBOX_INFORMATION
                 : icon == MessageIcon::Stop        ? SDL_MESSAGEBOX_ERROR
                                                    : SDL_MESSAGEBOX_WARNING;
    // A full-screen window would hide the box; give the desktop back first.
    if (fullscreenMode && window) SDL_SetWindowFullscreen(window, 0);
    if (buttons == MessageButtons::Ok) {
        if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), window) != 0)
            std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return true;
    }
    const SDL_MessageBoxButtonData choices[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
    };
    SDL_MessageBoxData data{flags, window, caption.c_str(), text.c_str(), 2, choices, nullptr};
    int pressed = 0;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        // No way to ask (no display server): take the safe answer and say so.
        std::fprintf(stderr, "%s: %s (answered No)\n", caption.c_str(), text.c_str());
        return false;
    }
    return pressed == 1;
}

uint32_t milliseconds() {
    if (activeTest) return activeTest->clockMs;
    return static_cast<uint32_t>(SDL_GetTicks64());
}

std::vector<DisplayMode> listDisplayModes() {
    if (activeTest) return activeTest->failVideo ? std::vector<DisplayMode>{} : activeTest->displayModes;
    std::vector<DisplayMode> modes;
    if (!startVideo()) return modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        modes.push_back({mode.w, mode.h, static_cast<int>(SDL_BITSPERPIXEL(mode.format)), mode.refresh_rate});
    }
    return modes;
}

bool setDisplayMode(int width, int height, int bitsPerPixel) {
    if (activeTest && !activeTest->realFullscreen) {
        for (const DisplayMode& mode : activeTest->displayModes) {
            if (mode.width == width && mode.height == height) {
                ++activeTest->displayModeSwitches;
                activeTest->fullscreen = true;
                return true;
            }
        }
        return false;
    }
    if (!startVideo()) return false;
    // The mode must exist exactly; SDL would otherwise pick the closest one.
    bool listed = false;
    for (const DisplayMode& mode : listDisplayModes())
        if (mode.width == width && mode.height == height) listed = true;
    if (!listed) return false;
    fullscreenMode = true;
    if (window) {
        SDL_DisplayMode wanted{};
        wanted.w = width;
        wanted.h = height;
        SDL_DisplayMode closest;
        if (!SDL_GetClosestDisplayMode(0, &wanted, &closest)) return false;
        SDL_SetWindowSize(window, width, height);
        if (SDL_SetWindowDisplayMode(window, &closest) != 0) return false;
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) return false;
    }
    if (activeTest) {
        ++activeTest->displayModeSwitches;
        activeTest->fullscreen = true;
    }
    return true;
}

void restoreDisplayMode() {
    if (activeTest) activeTest->fullscreen = false;
    if (activeTest && !activeTest->realFullscreen) return;
    if (window && fullscreenMode) SDL_SetWindowFullscreen(window, 0);
    fullscreenMode = false;
}

bool windowFullscreen() {
    if (activeTest && !activeTest->realFullscreen) return activeTest->fullscreen;
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
}

WindowResult createWindow(const WindowRequest& request) {
    if (activeTest && (activeTest->failWindow || activeTest->failVideo)) return WindowResult::WindowFailed;
    if (activeTest && activeTest->windowless) return WindowResult::Ok;
    if (!startVideo()) return WindowResult::WindowFailed;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    Uint32 flags = SDL_WINDOW_OPENGL;
    const bool shown = !activeTest || activeTest->realFullscreen;
    flags |= shown ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    fullscreenMode = request.fullscreen && shown;
    if (activeTest) activeTest->fullscreen = request.fullscreen;
    if (fullscreenMode) flags |= SDL_WINDOW_FULLSCREEN;
    window = SDL_CreateWindow(request.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                              request.width, request.height, flags);
    if (!window) return WindowResult::WindowFailed;
    if (fullscreenMode) {
        SDL_DisplayMode wanted{}, closest;
        wanted.w = request.width;
        wanted.h = request.height;
        if (SDL_GetClosestDisplayMode(0, &wanted, &closest)) SDL_SetWindowDisplayMode(window, &closest);
    }
    context = SDL_GL_CreateContext(window);
    if (!context) return WindowResult::ContextFailed;
    if (SDL_GL_MakeCurrent(window, context) != 0) return WindowResult::MakeCurrentFailed;
    SDL_RaiseWindow(window);
    return WindowResult::Ok;
}

void destroyWindow() {
    if (context) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    fullscreenMode = false;
}

bool windowExists() { return window != nullptr || (activeTest && activeTest->windowless); }

bool hasGlContext() { return context != nullptr; }

void placeWindow(int x, int y, int width, int height) {
    if (!window) return;
    SDL_SetWindowSize(window, width, height);
    if (!fullscreenMode) SDL_SetWindowPosition(window, x, y);
    if (!activeTest) SDL_ShowWindow(window);
}

void swapBuffers() {
    if (activeTest) ++activeTest->swapCount;
    if (window) SDL_GL_SwapWindow(window);
}

void setSwapInterval(int interval) {
    if (window) SDL_GL_SetSwapInterval(interval);
}

void* glProcAddress(const char* name) {
    if (!window) return nullptr;
    return SDL_GL_GetProcAddress(name);
}

void showCursor(bool visible) {
    if (activeTest) {
        activeTest->cursorVisible = visible;
        return;
    }
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void cursorPosition(int& x, int& y) {
    if (activeTest) {
        x = activeTest->cursorX;
        y = activeTest->cursorY;
        return;
    }
    SDL_GetMouseState(&x, &y);
}

bool pollEvent(Event& event) {
    if (activeTest) {
        // A hidden test window still gets events from the server; drain and drop them.
        if (videoStarted) {
            SDL_Event ignored;
            while (SDL_PollEvent(&ignored)) {}
        }
        if (activeTest->events.empty()) return false;
        event = activeTest->events.front();
        activeTest->events.pop_front();
        if (event.type == EventType::MouseMove || event.type == EventType::MouseDown ||
            event.type == EventType::MouseUp) {
            // A press or release without a position happens where the cursor is.
            if (event.x < 0 || event.y < 0) {
                event.x = activeTest->cursorX;
                event.y = activeTest->cursorY;
            }
            activeTest->cursorX = event.x;
            activeTest->cursorY = event.y;
        }
        return true;
    }
    if (!videoStarted) return false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int vk = virtualKeyFromSdlKeycode(e.key.keysym.sym);
            if (vk == 0) continue;
            event = {};
            event.type = e.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
            event.key = vk;
            event.repeat = e.key.repeat != 0;
            event.alt = (e.key.keysym.mod & KMOD_ALT) != 0;
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) continue;
            event = {};
            event.type = e.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
            event.button = e.button.button == SDL_BUTTON_LEFT ? MouseButton::Left : MouseButton::Right;
            event.x = e.button.x;
            event.y = e.button.y;
            return true;
        case SDL_MOUSEMOTION:
            event = {};
            event.type = EventType::MouseMove;
            event.x = e.motion.x;
            event.y = e.motion.y;
            return true;
        case SDL_QUIT:
            event = {};
            event.type = EventType::Close;
            return true;
        case SDL_WINDOWEVENT:
            event = {};
            switch (e.window.event) {
            case SDL_WINDOWEVENT_FOCUS_GAINED:
            case SDL_WINDOWEVENT_RESTORED:
                event.type = EventType::Activate;
                return true;
            case SDL_WINDOWEVENT_FOCUS_LOST:
            case SDL_WINDOWEVENT_MINIMIZED:
                event.type = EventType::Deactivate;
                return true;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                event.type = EventType::Resize;
                event.width = e.window.data1;
                event.height = e.window.data2;
                return true;
            case SDL_WINDOWEVENT_CLOSE:
                event.type = EventType::Close;
                return true;
            default:
                continue;
            }
        default:
            if (translatePadEvent(e, event)) return true;
            continue;
        }
    }
    return false;
}

bool openUrl(const std::string& url) {
    if (activeTest) {
        activeTest->openedUrls.push_back(url);
        return true;
    }
    return SDL_OpenURL(url.c_str()) == 0;
}

void inhibitScreenSaver() {
    if (activeTest) return;
    SDL_DisableScreenSaver();
}

std::string executableDirectory() {
    if (activeTest && !activeTest->executableDir.empty()) return activeTest->executableDir;
    char* path = SDL_GetBasePath();
    if (!path) return "";
    std::string folder = path;
    SDL_free(path);
    return folder;
}

int virtualKeyFromSdlKeycode(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return 0x41 + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return 0x30 + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + (key - SDLK_KP_1);
    switch (key) {
    case SDLK_KP_0: return 0x60;
    case SDLK_ESCAPE: return 0x1B;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 0x0D;
    case SDLK_SPACE: return 0x20;
    case SDLK_TAB: return 0x09;
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 0x11;
    case SDLK_LALT:
    case SDLK_RALT: return 0x12;
    case SDLK_PAUSE: return 0x13;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    case SDLK_INSERT: return 0x2D;
    case SDLK_DELETE: return 0x2E;
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_BACKQUOTE: return 0xC0;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_QUOTE: return 0xDE;
    default: return 0;
    }
}

}  // namespace platform
