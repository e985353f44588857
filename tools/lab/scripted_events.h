// Scripted input for the lab tool: one event per line, "FRAME keydown VK",
// "keyup VK" (VK in hex), "move X Y", "press left|right", "release left|right",
// "activate", "deactivate", "close". Blank lines and lines starting with # are skipped.
#pragma once

#include "platform/platform.h"

#include <map>
#include <string>
#include <vector>

using ScriptedEvents = std::multimap<long, platform::Event>;

// Parses a script; on a bad line sets `error` (with the line number) and returns false.
bool parseScriptedEvents(const std::string& text, ScriptedEvents& events, std::string& error);
bool loadScriptedEvents(const std::string& path, ScriptedEvents& events, std::string& error);

// Common options: "FRAME:FILE.png" screenshot requests.
struct ShotRequest {
    long frame = 0;
    std::string path;
};
bool parseShotRequest(const std::string& text, ShotRequest& shot);
