// Saves the current back buffer as a PNG.
#pragma once

#include <string>

bool saveScreenshot(const std::string& path, int width, int height);
