#include "app/input.h"

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
