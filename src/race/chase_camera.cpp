#include "race/chase_camera.h"

#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/settings.h"
#include "audio/sound_device.h"
#include "physics/physics_world.h"
#include "race/car_dynamics.h"
#include "race/race_flow.h"

#include <AL/al.h>
#include <GL/glu.h>

#include <cmath>

ChaseCamera chaseCamera;
Vec3 listenerPosition;
Vec3 cameraPosition;

namespace {

// Moves `value` towards `target` by a share of the gap, when they differ by more than 0.01.
void converge(float& value, float target, float f) {
    const float gap = target - value;
    if (std::fabs(gap) > 0.01f) value += gap * 0.015f * f;
}

void placeSound(int effect, const RaceCar& car) {
    const Vec3 p = physics::getPosition(car.body);
    const Vec3 v = physics::getLinearVelocity(car.body);
    soundEffects[effect].place(p.x, p.y, p.z, v.x, v.y, v.z);
}

void placeListenerAndSounds(const RaceCar& player) {
    listenerPosition = chaseCamera.eye;
    if (!soundDeviceOpen()) return;
    const Vec3 velocity = physics::getLinearVelocity(player.body);
    const Vec3 forward = normalise(chaseCamera.center - chaseCamera.eye);
    const float orientation[6] = {forward.x, forward.y, forward.z, 0.0f, 1.0f, 0.0f};
    alListener3f(AL_POSITION, chaseCamera.eye.x, chaseCamera.eye.y, chaseCamera.eye.z);
    alListener3f(AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    alListenerfv(AL_ORIENTATION, orientation);

    for (int effect : {sounds::enginePass, sounds::skid, sounds::gear, sounds::nitro, sounds::wind}) placeSound(effect, player);
    for (int i = 0; i < raceCarCount; ++i) {
        if (!raceCars[i].body) continue;
        placeSound(sounds::engine0 + i, raceCars[i]);
        if (i > 0) placeSound(sounds::accel0 + i - 1, raceCars[i]);
    }
}

void lookAt() {
    gluLookAt(chaseCamera.eye.x, chaseCamera.eye.y, chaseCamera.eye.z, chaseCamera.center.x, chaseCamera.center.y,
              chaseCamera.center.z, 0.0, 1.0, 0.0);
}

}  // namespace

void resetChaseCamera() {
    chaseCamera.headingX = -5.5f;
    chaseCamera.headingZ = -1.0f;
}

void introOffsets(int path, float t, Vec3& eye, Vec3& center) {
    const bool first = t < 4.0f;
    const float s = first ? t / 4.0f : (t - 4.0f) / 4.0f;
    switch (path) {
    case 0:
        if (first) {
            eye = {8.0f - 4.0f * s, 0.5f, 16.0f - 21.0f * s};
            center = {3.0f - 2.5f * s, 0.0f, 13.5f - 9.5f * s};
        } else {
            eye = {-4.5f - 2.0f * s, 0.0f, 16.0f * s};
            center = {-2.5f, 0.5f + s, 13.5f * s};
        }
        break;
    case 1:
        if (first) {
            eye = {5.0f * s, 3.5f - 3.0f * s, 0.0f};
            center = {-0.5f + 0.5f * s, 0.5f * s, 0.0f};
        } else {
            eye = {-1.0f - 5.0f * s, 0.5f, 6.75f - 1.2f * s};
            center = {-3.0f * s, 0.5f - 0.5f * s, 6.75f + 2.0f * s};
        }
        break;
    default:
        if (first) {
            eye = {1.0f + 3.5f * s, 3.0f - 2.5f * s, -1.0f + 19.5f * s};
            center = {-0.5f + 2.0f * s, 0.0f, -1.5f + 13.0f * s};
        } else {
            eye = {-4.5f, 0.5f + 0.5f * s, 4.5f + 13.0f * s};
            center = {-0.5f * s, 0.5f + 0.5f * s, 4.5f + 4.5f * s};
        }
        break;
    }
}

void computeChaseCamera(Vec3 p, Vec3 forward, float k, float f) {
    ChaseCamera& c = chaseCamera;
    if (f < 9.5f) {
        converge(c.headingX, forward.x, f);
        converge(c.headingZ, forward.z, f);
    }
    const float back = 7.3f - k;
    c.eye = {p.x - back * c.headingX, p.y + 2.0f, p.z - back * c.headingZ};
    c.center = {p.x + 30.0f * c.headingX, p.y, p.z + 30.0f * c.headingZ};
    if (countdownActive && phaseTimer < 8.0f) {
        Vec3 eyeOffset, centerOffset;
        introOffsets(introPath, phaseTimer < 0.0f ? 0.0f : phaseTimer, eyeOffset, centerOffset);
        c.eye = p + eyeOffset;
        c.center = p + centerOffset;
    }
    cameraPosition = c.eye;
}

void updateCameraAndListener() {
    const RaceCar& player = raceCars[0];
    if (!player.body) return;
    computeChaseCamera(physics::getPosition(player.body), player.flatForward, loopFlags.speedBlur,
                       frameTiming.frameTicks);
    placeListenerAndSounds(player);
}

void updateChaseCamera(bool secondPass) {
    if (!secondPass) updateCameraAndListener();
    lookAt();
}
