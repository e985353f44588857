// Named points in a frame where a profiler may look at the clock (the lab's
// bench-frame --profile); nothing happens unless one is installed.
#pragma once

extern void (*frameStageHook)(const char* stageDone);

inline void frameStage(const char* stageDone) {
    if (frameStageHook) frameStageHook(stageDone);
}
