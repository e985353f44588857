// Held keys, mouse state and the five driving-key bindings. Keys are Windows
// virtual-key codes, which the platform layer delivers whatever the system.
#pragma once

#include <cstdint>
#include <string>

// 1 while the key with that virtual-key code is held.
extern uint8_t KeyDown[256];

struct MouseState {
    bool leftHeld = false;
    bool rightHeld = false;
    bool clickPending = false;  // set by a press, cleared by the first front-end button that acts
    int pressX = 0, pressY = 0; // menu-space position at the last press or release
    int dragX = 0, dragY = 0;   // last position seen by the garage drag
};
extern MouseState mouseState;

struct MenuCursor {
    int x = 0;  // 800 x 600 menu space, y downward
    int y = 0;
};
extern MenuCursor menuCursor;

namespace keyCodes {
constexpr int shift = 0x10;
constexpr int ctrl = 0x11;
constexpr int enter = 0x0D;
constexpr int escape = 0x1B;
constexpr int space = 0x20;
constexpr int left = 0x25;
constexpr int up = 0x26;
constexpr int right = 0x27;
constexpr int down = 0x28;
constexpr int f1 = 0x70;
constexpr int f5 = 0x74;
}  // namespace keyCodes

// The five binding slots: steer left, steer right, accelerate, brake, nitro.
constexpr int bindingCount = 5;
// The Options screen's display copy of the bindings and its selected slot (-1: none).
extern int32_t displayedKeys[bindingCount];
extern int32_t selectedBinding;

// True while a key code (which may be any value from the settings file) is held.
bool isKeyHeld(int32_t code);
bool isBindableKey(int code);
// The name the Controls tab shows for a code ("Q ", "shift", " up"...), empty for others.
std::string bindingKeyName(int code);
// Binding capture, one pass of the main loop: the lowest held bindable key goes
// into the selected slot (both copies). The selection is cleared whenever a key
// is found, selected slot or not. Returns the key taken, or -1.
int captureBindingKey(int32_t keys[bindingCount]);
// Clears every held key, e.g. when the window loses focus and key-ups may never come.
void clearHeldKeys();

// ---- Game controllers ----
// The state of every connected pad or wheel, fed by the controller events.
constexpr int padSlotCount = 4;
constexpr int padAxisCount = 5;    // platform::PadAxisId
constexpr int padButtonCount = 10; // platform::PadButtonId
struct PadSlot {
    bool connected = false;
    int id = 0;
    int axes[padAxisCount] = {};
    bool buttons[padButtonCount] = {};
};
extern PadSlot padSlots[padSlotCount];

// What the connected controllers ask of the car, after dead zones and the
// response curve: steering -1..1 (positive to the left), throttle and brake
// 0..1, nitro. All zero without a controller.
struct PadDrive {
    float steer = 0.0f;
    float throttle = 0.0f;
    float brake = 0.0f;
    bool nitro = false;
};
PadDrive padDrive();
// Number of connected controllers.
int connectedPads();

// The stick's share of full lock for an axis position: nothing inside the dead
// zone, then a curve that is gentle near the centre, reaches 0.5 half way
// through the live travel and 1 at the end. A wheel's axis is linear with a
// small dead zone. Signed like the position.
float stickResponse(int position, bool wheel);
// A trigger's or pedal's share 0..1, with a small dead zone at rest.
float triggerResponse(int position);

// Connection, disconnection, axis and button events. A disconnected
// controller lets go of everything it held. False for the events of a
// controller that is not connected (or found no free slot): they change nothing.
bool handlePadEvent(int type, int pad, int control, int value);
// Releases every controller control (the window lost focus, a new run).
void releasePads();
