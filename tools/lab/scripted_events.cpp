#include "scripted_events.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

bool parseNumber(const std::string& text, long& value, int base = 10) {
    try {
        size_t used = 0;
        value = std::stol(text, &used, base);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

const char* const padAxisNames[] = {"leftx", "lefty", "lefttrigger", "righttrigger", "wheel"};
const char* const padButtonNames[] = {"a", "b", "x", "y", "back", "start", "up", "down", "left", "right"};

int indexOf(const std::string& word, const char* const* names, int count) {
    for (int i = 0; i < count; ++i)
        if (word == names[i]) return i;
    return -1;
}

}  // namespace

bool parseScriptedEvents(const std::string& text, ScriptedEvents& events, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    bool ordered = true;  // only absolute frames: sorted by frame
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#') continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        };
        ScriptStep step;
        step.relative = first[0] == '+';
        if (!parseNumber(step.relative ? first.substr(1) : first, step.frame) || step.frame < 0 ||
            first == "+")
            return fail("bad frame number '" + first + "'");
        std::string kind;
        if (!(words >> kind)) return fail("missing event");
        platform::Event& e = step.event;
        if (kind == "keydown" || kind == "keyup") {
            std::string code;
            long vk = 0;
            if (!(words >> code)) return fail("missing key code");
            if (!parseNumber(code, vk, 16)) return fail("bad key code '" + code + "'");
            if (vk <= 0 || vk > 255) return fail("key code out of range");
            e.type = kind == "keydown" ? platform::EventType::KeyDown : platform::EventType::KeyUp;
            e.key = static_cast<int>(vk);
        } else if (kind == "move") {
            if (!(words >> e.x >> e.y)) return fail("move needs X Y");
            e.type = platform::EventType::MouseMove;
        } else if (kind == "click") {
            if (!(words >> step.x >> step.y)) return fail("click needs X Y");
            if (step.x < 0 || step.x >= 800 || step.y < 0 || step.y >= 600)
                return fail("click X Y lies outside the 800 x 600 menu space");
            step.kind = ScriptStep::Kind::Click;
        } else if (kind == "press" || kind == "release") {
            std::string which;
            if (!(words >> which) || (which != "left" && which != "right")) return fail("needs left or right");
            e.type = kind == "press" ? platform::EventType::MouseDown : platform::EventType::MouseUp;
            e.button = which == "left" ? platform::MouseButton::Left : platform::MouseButton::Right;
            e.x = e.y = -1;  // keep the current cursor position
        } else if (kind == "altenter") {
            e.type = platform::EventType::KeyDown;
            e.key = 0x0D;
            e.alt = true;
        } else if (kind == "pad") {
            std::string what, name;
            if (!(words >> e.pad >> what)) return fail("pad needs an id and connect, disconnect, axis, press or release");
            if (what == "connect") {
                e.type = platform::EventType::PadAdded;
            } else if (what == "disconnect") {
                e.type = platform::EventType::PadRemoved;
            } else if (what == "axis") {
                if (!(words >> name >> e.value)) return fail("pad axis needs NAME VALUE");
                e.control = indexOf(name, padAxisNames, 5);
                if (e.control < 0) return fail("unknown pad axis '" + name + "'");
                if (e.value < -32768 || e.value > 32767) return fail("pad axis value out of range");
                e.type = platform::EventType::PadAxis;
            } else if (what == "press" || what == "release") {
                if (!(words >> name)) return fail("pad " + what + " needs a button");
                e.control = indexOf(name, padButtonNames, 10);
                if (e.control < 0) return fail("unknown pad button '" + name + "'");
                e.type = what == "press" ? platform::EventType::PadButtonDown : platform::EventType::PadButtonUp;
            } else {
                return fail("unknown pad event '" + what + "'");
            }
        } else if (kind == "activate") {
            e.type = platform::EventType::Activate;
        } else if (kind == "deactivate") {
            e.type = platform::EventType::Deactivate;
        } else if (kind == "close") {
            e.type = platform::EventType::Close;
        } else if (kind == "wait") {
            long screen = 0;
            std::string word;
            if (!(words >> word) || !parseNumber(word, screen)) return fail("wait needs a screen number");
            step.kind = ScriptStep::Kind::Wait;
            step.screen = int32_t(screen);
        } else if (kind == "shot") {
            if (!(words >> step.path)) return fail("shot needs a file name");
            step.kind = ScriptStep::Kind::Shot;
        } else {
            return fail("unknown event '" + kind + "'");
        }
        if (step.relative || step.kind == ScriptStep::Kind::Wait) ordered = false;
        events.steps.push_back(step);
    }
    if (ordered) {
        std::stable_sort(events.steps.begin(), events.steps.end(),
                         [](const ScriptStep& a, const ScriptStep& b) { return a.frame < b.frame; });
    }
    return true;
}

bool loadScriptedEvents(const std::string& path, ScriptedEvents& events, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    return parseScriptedEvents(text.str(), events, error);
}

DueSteps takeDueSteps(ScriptedEvents& events, long frame, int32_t gameState, int32_t shownScreen, int width,
                      int height) {
    DueSteps due;
    while (!events.finished()) {
        const ScriptStep& step = events.steps[events.next];
        const long when = step.relative ? events.lastRun + step.frame : step.frame;
        if (frame < when) break;
        // A race runs with no screen shown; a menu screen must be on view.
        const bool shown = gameState == step.screen && (step.screen == 0 || shownScreen == step.screen);
        if (step.kind == ScriptStep::Kind::Wait && !shown) break;
        switch (step.kind) {
        case ScriptStep::Kind::Event:
            due.events.push_back(step.event);
            break;
        case ScriptStep::Kind::Click: {
            platform::Event e;
            e.type = platform::EventType::MouseMove;
            // The smallest pixel that maps back onto (or just past) the menu unit.
            e.x = (step.x * width + 799) / 800;
            e.y = (step.y * height + 599) / 600;
            due.events.push_back(e);
            e.type = platform::EventType::MouseDown;
            e.button = platform::MouseButton::Left;
            due.events.push_back(e);
            e.type = platform::EventType::MouseUp;
            due.events.push_back(e);
            break;
        }
        case ScriptStep::Kind::Shot:
            due.shots.push_back(step.path);
            break;
        case ScriptStep::Kind::Wait:
            break;
        }
        events.lastRun = frame;
        ++events.next;
    }
    return due;
}

bool parseShotRequest(const std::string& text, ShotRequest& shot) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size()) return false;
    try {
        size_t used = 0;
        shot.frame = std::stol(text.substr(0, colon), &used);
        if (used != colon || shot.frame < 0) return false;
    } catch (...) {
        return false;
    }
    shot.path = text.substr(colon + 1);
    return true;
}
