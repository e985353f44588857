// The platform layer: window and GL context, display modes, input events
// (keys, mouse, game controllers), message boxes, the millisecond clock, the
// cursor, opening a URL and where the executable lies.
// Only src/platform includes SDL; everything else talks to these functions.
//
// Two back ends implement the same functions: the real one (SDL2) and a test
// back end (see test_backend.h) with a caller-driven clock, scripted events,
// recorded message boxes and URLs and a configurable display-mode list. While a
// test back end is installed every function below consults it first; the GL
// window itself is still a real SDL window (hidden), so drawing can be read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    int refreshRate = 0;
};

enum class EventType {
    KeyDown,     // key: Windows virtual-key code
    KeyUp,       // key: Windows virtual-key code
    MouseDown,   // button, x, y (window pixels)
    MouseUp,     // button, x, y
    MouseMove,   // x, y
    Activate,
    Deactivate,
    Close,
    Resize,      // width, height (client area in pixels)
    ScreenSaver, // the system wants to start the screen saver; the game refuses it
    PadAdded,    // pad: a controller was connected (its id for the events that follow)
    PadRemoved,  // pad
    PadAxis,     // pad, control: PadAxisId, value: -32768..32767 (triggers and pedals 0..32767)
    PadButtonDown,  // pad, control: PadButtonId
    PadButtonUp,    // pad, control: PadButtonId
};

// Controls of a game controller, as SDL's game-controller layout names them.
// A wheel (a joystick that is not a known pad) reports its steering as Wheel
// and its pedals as the triggers, pressed from 0 up to 32767.
enum class PadAxisId { LeftX, LeftY, TriggerLeft, TriggerRight, Wheel, Count };
enum class PadButtonId { A, B, X, Y, Back, Start, DpadUp, DpadDown, DpadLeft, DpadRight, Count };

enum class MouseButton { Left, Right };

struct Event {
    EventType type = EventType::Close;
    int key = 0;
    MouseButton button = MouseButton::Left;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int pad = 0;          // controller events: the controller's id
    int control = 0;      // controller events: PadAxisId or PadButtonId
    int value = 0;        // PadAxis: the axis position
    bool repeat = false;  // KeyDown: the key is held and the system repeats it
    bool alt = false;     // KeyDown: an Alt key is held
};

enum class MessageIcon { Exclamation, Stop, Information };
enum class MessageButtons { Ok, YesNo };

struct WindowRequest {
    std::string title;
    int width = 800;
    int height = 600;
    int colourBits = 32;
    bool fullscreen = false;
};

// Shows a modal message box. Returns true for OK or Yes, false for No.
bool messageBox(const std::string& text, const std::string& caption,
                MessageButtons buttons, MessageIcon icon);

// Milliseconds since an arbitrary origin; wraps at 2^32 like any such counter.
uint32_t milliseconds();

// Starts the video system when it is not running yet; false, with the reason,
// when it cannot (no display server, say). Without it there are no display
// modes and no window.
bool startVideo(std::string& reason);

// Full-screen display modes of the primary display (none without video).
std::vector<DisplayMode> listDisplayModes();
// Switches the display to a full-screen mode; false when the mode cannot be set.
bool setDisplayMode(int width, int height, int bitsPerPixel);
// Gives the display back its desktop mode.
void restoreDisplayMode();
// True while the game window covers the display in a full-screen mode.
bool windowFullscreen();

// The one game window with a GL compatibility context: double buffered,
// 24-bit depth, destination alpha. Each step reports failure separately so the
// caller can show the message that belongs to it.
enum class WindowResult {
    Ok,
    WindowFailed,        // the window itself could not be created
    ContextFailed,       // no GL context with the required pixel format
    MakeCurrentFailed,   // the context could not be made current
};
WindowResult createWindow(const WindowRequest& request);
void destroyWindow();
bool windowExists();
// True when a GL context is current (false for the windowless test back end).
bool hasGlContext();
// Moves and sizes the window (used when the window is re-activated).
void placeWindow(int x, int y, int width, int height);
void swapBuffers();
void setSwapInterval(int interval);
// Address of a GL entry point (extensions), or null.
void* glProcAddress(const char* name);

void showCursor(bool visible);
// Cursor position in window pixels (x right, y down).
void cursorPosition(int& x, int& y);

// Takes the next pending window event; false when there is none.
bool pollEvent(Event& event);

// Opens a URL (http or file) with the desktop's handler. Returns false on failure.
bool openUrl(const std::string& url);

// Keeps the screen saver and display power-off away while the game runs.
void inhibitScreenSaver();

// The folder holding the running executable (with a trailing slash), or empty.
std::string executableDirectory();

// Translates an SDL keycode to a Windows virtual-key code (0 when unmapped).
// Exposed for tests; the event pump uses it.
int virtualKeyFromSdlKeycode(int32_t sdlKeycode);

}  // namespace platform
