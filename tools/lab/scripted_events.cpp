#include "scripted_events.h"

#include <fstream>
#include <sstream>

bool parseScriptedEvents(const std::string& text, ScriptedEvents& events, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#') continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        };
        long frame = 0;
        try {
            size_t used = 0;
            frame = std::stol(first, &used);
            if (used != first.size() || frame < 0) return fail("bad frame number '" + first + "'");
        } catch (...) {
            return fail("bad frame number '" + first + "'");
        }
        std::string kind;
        if (!(words >> kind)) return fail("missing event");
        platform::Event e;
        if (kind == "keydown" || kind == "keyup") {
            std::string code;
            if (!(words >> code)) return fail("missing key code");
            unsigned long vk = 0;
            try {
                size_t used = 0;
                vk = std::stoul(code, &used, 16);
                if (used != code.size()) return fail("bad key code '" + code + "'");
            } catch (...) {
                return fail("bad key code '" + code + "'");
            }
            if (vk == 0 || vk > 255) return fail("key code out of range");
            e.type = kind == "keydown" ? platform::EventType::KeyDown : platform::EventType::KeyUp;
            e.key = static_cast<int>(vk);
        } else if (kind == "move") {
            if (!(words >> e.x >> e.y)) return fail("move needs X Y");
            e.type = platform::EventType::MouseMove;
        } else if (kind == "press" || kind == "release") {
            std::string which;
            if (!(words >> which) || (which != "left" && which != "right")) return fail("needs left or right");
            e.type = kind == "press" ? platform::EventType::MouseDown : platform::EventType::MouseUp;
            e.button = which == "left" ? platform::MouseButton::Left : platform::MouseButton::Right;
            e.x = e.y = -1;  // keep the current cursor position
        } else if (kind == "activate") {
            e.type = platform::EventType::Activate;
        } else if (kind == "deactivate") {
            e.type = platform::EventType::Deactivate;
        } else if (kind == "close") {
            e.type = platform::EventType::Close;
        } else {
            return fail("unknown event '" + kind + "'");
        }
        events.emplace(frame, e);
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
