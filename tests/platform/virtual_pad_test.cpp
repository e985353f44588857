// A controller through the real SDL path: SDL's virtual joystick, plugged in,
// moved and pulled out, arrives as the game's controller events.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

namespace {

std::vector<platform::Event> drain() {
    std::vector<platform::Event> events;
    platform::Event e;
    for (int i = 0; i < 20; ++i)
        while (platform::pollEvent(e)) events.push_back(e);
    return events;
}

bool has(const std::vector<platform::Event>& events, platform::EventType type, int control = -1, int value = 0) {
    for (const platform::Event& e : events)
        if (e.type == type && (control < 0 || (e.control == control && e.value == value))) return true;
    return false;
}

// Starts SDL's video, events and controllers, then plugs in a virtual joystick;
// its device index, or -1.
int plugIn(SDL_JoystickType type, int axes, int buttons, const char* name) {
    platform::listDisplayModes();
    drain();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = Uint16(type);
    desc.naxes = Uint16(axes);
    desc.nbuttons = Uint16(buttons);
    desc.name = name;
    return SDL_JoystickAttachVirtualEx(&desc);
}

}  // namespace

TEST(VirtualPad, PluggedInMovedAndPulledOutArriveAsControllerEvents) {
    const int index = plugIn(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX,
                             "scripted pad");
    ASSERT_NE(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u);
    ASSERT_GE(index, 0) << SDL_GetError();
    EXPECT_TRUE(has(drain(), platform::EventType::PadAdded));

    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -20000);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 1);
    std::vector<platform::Event> events = drain();
    EXPECT_TRUE(has(events, platform::EventType::PadAxis, int(platform::PadAxisId::TriggerRight), 32767));
    EXPECT_TRUE(has(events, platform::EventType::PadAxis, int(platform::PadAxisId::LeftX), -20000));
    EXPECT_TRUE(has(events, platform::EventType::PadButtonDown, int(platform::PadButtonId::Start)));
    SDL_JoystickClose(stick);

    SDL_JoystickDetachVirtual(index);
    EXPECT_TRUE(has(drain(), platform::EventType::PadRemoved));
}

// A wheel (a joystick no pad layout knows): the first axis steers, the pedals
// are measured from where they rest when it is plugged in.
TEST(VirtualPad, AWheelSteersWithItsFirstAxisAndItsPedalsFromRest) {
    const int index = plugIn(SDL_JOYSTICK_TYPE_WHEEL, 3, 4, "scripted wheel");
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(index));
    EXPECT_TRUE(has(drain(), platform::EventType::PadAdded));

    SDL_Joystick* wheel = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(wheel, nullptr);
    SDL_JoystickSetVirtualAxis(wheel, 0, -16384);
    SDL_JoystickSetVirtualAxis(wheel, 1, 32767);   // throttle pedal all the way down
    SDL_JoystickSetVirtualButton(wheel, 0, 1);
    std::vector<platform::Event> events = drain();
    EXPECT_TRUE(has(events, platform::EventType::PadAxis, int(platform::PadAxisId::Wheel), -16384));
    EXPECT_TRUE(has(events, platform::EventType::PadAxis, int(platform::PadAxisId::TriggerRight), 32767));
    EXPECT_TRUE(has(events, platform::EventType::PadButtonDown, int(platform::PadButtonId::A)));

    SDL_JoystickDetachVirtual(index);
    EXPECT_TRUE(has(drain(), platform::EventType::PadRemoved));
}
