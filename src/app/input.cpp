#include "app/input.h"

#include "platform/platform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

uint8_t KeyDown[256] = {};
MouseState mouseState;
MenuCursor menuCursor;
int32_t displayedKeys[bindingCount] = {0x25, 0x27, 0x26, 0x28, 0x10};
int32_t selectedBinding = -1;

bool isKeyHeld(int32_t code) { return code >= 0 && code < 256 && KeyDown[code] != 0; }

bool isBindableKey(int code) {
    if (code >= 0x41 && code <= 0x5A) return true;
    switch (code) {
    case 0x10: case 0x11: case 0x20:
    case 0xBC: case 0xBE: case 0xBF: case 0xBA: case 0xDE: case 0xDB: case 0xDD:
    case 0x25: case 0x26: case 0x27: case 0x28:
        return true;
    default:
        return false;
    }
}

std::string bindingKeyName(int code) {
    if (code >= 0x41 && code <= 0x5A) return std::string(1, static_cast<char>(code)) + " ";
    switch (code) {
    case 0x10: return "shift";
    case 0x11: return "ctrl";
    case 0x20: return "space";
    case 0xBC: return ",";
    case 0xBE: return ".";
    case 0xBF: return "/";
    case 0xBA: return ";";
    case 0xDE: return "'";
    case 0xDB: return "[";
    case 0xDD: return "]";
    case 0x26: return " up";
    case 0x28: return "down";
    case 0x25: return "left";
    case 0x27: return "right";
    default: return "";
    }
}

int captureBindingKey(int32_t keys[bindingCount]) {
    for (int code = 0; code < 256; ++code) {
        if (!KeyDown[code] || !isBindableKey(code)) continue;
        if (selectedBinding >= 0 && selectedBinding < bindingCount) {
            keys[selectedBinding] = code;
            displayedKeys[selectedBinding] = code;
        }
        selectedBinding = -1;
        return code;
    }
    return -1;
}

void clearHeldKeys() { std::memset(KeyDown, 0, sizeof KeyDown); }

PadSlot padSlots[padSlotCount];

namespace {

constexpr float stickDeadZone = 0.15f;   // worn sticks rest a little off centre
constexpr float wheelDeadZone = 0.02f;
constexpr float triggerDeadZone = 0.05f;

PadSlot* slotOf(int id) {
    for (PadSlot& s : padSlots)
        if (s.connected && s.id == id) return &s;
    return nullptr;
}

float liveTravel(float magnitude, float deadZone) {
    if (magnitude <= deadZone) return 0.0f;
    return std::min(1.0f, (magnitude - deadZone) / (1.0f - deadZone));
}

}  // namespace

float stickResponse(int position, bool wheel) {
    const float x = std::clamp(float(position) / 32767.0f, -1.0f, 1.0f);
    const float u = liveTravel(std::fabs(x), wheel ? wheelDeadZone : stickDeadZone);
    // Half linear, half smoothstep: slope 0.5 at the centre for fine corrections.
    const float y = wheel ? u : 0.5f * u + 0.5f * u * u * (3.0f - 2.0f * u);
    return x < 0.0f ? -y : y;
}

float triggerResponse(int position) {
    return liveTravel(std::clamp(float(position) / 32767.0f, 0.0f, 1.0f), triggerDeadZone);
}

PadDrive padDrive() {
    PadDrive drive;
    using platform::PadAxisId;
    using platform::PadButtonId;
    for (const PadSlot& s : padSlots) {
        if (!s.connected) continue;
        // Stick right is positive; the car steers left for positive angles.
        float steer = -stickResponse(s.axes[int(PadAxisId::LeftX)], false);
        const float wheel = -stickResponse(s.axes[int(PadAxisId::Wheel)], true);
        if (std::fabs(wheel) > std::fabs(steer)) steer = wheel;
        if (std::fabs(steer) > std::fabs(drive.steer)) drive.steer = steer;
        drive.throttle = std::max(drive.throttle, triggerResponse(s.axes[int(PadAxisId::TriggerRight)]));
        drive.brake = std::max(drive.brake, triggerResponse(s.axes[int(PadAxisId::TriggerLeft)]));
        drive.nitro = drive.nitro || s.buttons[int(PadButtonId::A)];
    }
    return drive;
}

int connectedPads() {
    int n = 0;
    for (const PadSlot& s : padSlots) n += s.connected ? 1 : 0;
    return n;
}

bool handlePadEvent(int type, int pad, int control, int value) {
    using platform::EventType;
    const EventType kind = EventType(type);
    if (kind == EventType::PadAdded) {
        if (slotOf(pad)) return true;
        for (PadSlot& s : padSlots) {
            if (s.connected) continue;
            s = PadSlot{};
            s.connected = true;
            s.id = pad;
            return true;
        }
        return false;  // more controllers than slots: the extra one is not used
    }
    PadSlot* s = slotOf(pad);
    if (!s) return false;
    switch (kind) {
    case EventType::PadRemoved:
        *s = PadSlot{};
        break;
    case EventType::PadAxis:
        if (control >= 0 && control < padAxisCount) s->axes[control] = value;
        break;
    case EventType::PadButtonDown:
    case EventType::PadButtonUp:
        if (control < 0 || control >= padButtonCount) break;
        s->buttons[control] = kind == EventType::PadButtonDown;
        break;
    default:
        break;
    }
    return true;
}

void releasePads() {
    for (PadSlot& s : padSlots) {
        std::fill(std::begin(s.axes), std::end(s.axes), 0);
        std::fill(std::begin(s.buttons), std::end(s.buttons), false);
    }
}
