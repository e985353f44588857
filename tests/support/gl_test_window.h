// The platform test back end, and a hidden window with a current GL context for
// tests that upload textures or draw without opening the game's own window.
#pragma once

#include "platform/platform.h"
#include "platform/test_backend.h"

namespace test_support {

// Installed on every call (other tests may have swapped it): message boxes land
// in its record instead of on the screen.
inline platform::TestBackend& testPlatform() {
    static platform::TestBackend backend;
    platform::installTestBackend(&backend);
    return backend;
}

// Made on the first call and kept for the rest of the process, so the size is
// the first caller's.
inline bool hiddenGlWindow(const char* title, int width, int height) {
    testPlatform();
    if (!platform::windowExists()) {
        platform::WindowRequest request;
        request.title = title;
        request.width = width;
        request.height = height;
        if (platform::createWindow(request) != platform::WindowResult::Ok) return false;
    }
    return platform::hasGlContext();
}

}  // namespace test_support
