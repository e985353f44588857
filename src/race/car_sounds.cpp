#include "race/car_sounds.h"

#include "app/settings.h"
#include "audio/sound_device.h"
#include "physics/physics_world.h"
#include "race/ai_driver.h"
#include "race/car_control.h"
#include "race/car_dynamics.h"
#include "race/race_flow.h"

#include <algorithm>
#include <cmath>

CarEffectLevels carEffectLevels[4];
float throttleLevel = 0.0f;

namespace {

// Starts a sound unless it is already playing.
void plays(SoundEffect& effect) {
    if (!effect.isPlaying()) effect.play();
}

void placeAtCar(SoundEffect& effect, const RaceCar& car) {
    if (!car.body) return;
    const Vec3 p = physics::getPosition(car.body);
    const Vec3 v = physics::getLinearVelocity(car.body);
    effect.place(p.x, p.y, p.z, v.x, v.y, v.z);
}

}  // namespace

bool raceSoundOn() { return gameSettings.sound && soundDeviceOpen(); }

float enginePitch(float rpm) { return std::clamp((rpm - 1000.0f) * 0.0002f + 0.35f, 0.15f, 2.5f); }

void startRaceSounds() {
    throttleLevel = 0.0f;
    for (CarEffectLevels& levels : carEffectLevels) levels = CarEffectLevels{};
    if (!raceSoundOn()) return;
    for (int i = 0; i < 4; ++i) {
        soundEffects[sounds::engine0 + i].setGain(0.0f);
        soundEffects[sounds::engine0 + i].play();
    }
    for (int effect : {sounds::enginePass, sounds::skid, sounds::wind}) {
        soundEffects[effect].setGain(0.0f);
        soundEffects[effect].play();
    }
}

void stopRaceSounds() {
    for (int k = 0; k < soundEffectCount; ++k)
        if (k != sounds::click && k != sounds::hover) soundEffects[k].stop();
}

void updatePlayerSkid(const RaceCar& car, float f, float speed) {
    if (car.rearGrip >= 0.7f || speed <= 7.0f) playerSkidLevel -= 0.0125f * f;
    else playerSkidLevel += 0.01f * f;
    playerSkidLevel = std::clamp(playerSkidLevel, 0.0f, 1.0f);
}

void playerCarSounds(const RaceCar& car, float f, float speed, bool onThrottle) {
    throttleLevel = std::clamp(throttleLevel + (onThrottle ? 0.02f : -0.02f) * f, 0.0f, 1.0f);
    if (!raceSoundOn()) return;

    const float pitch = enginePitch(car.engineRpm);
    SoundEffect& onLoad = soundEffects[sounds::engine0];
    SoundEffect& offLoad = soundEffects[sounds::enginePass];
    onLoad.setGain(throttleLevel);
    offLoad.setGain(1.0f - throttleLevel);
    onLoad.setPitch(pitch);
    offLoad.setPitch(pitch);
    soundEffects[sounds::skid].setGain(playerSkidLevel);
    SoundEffect& wind = soundEffects[sounds::wind];
    if (wind.isPlaying()) wind.setGain(std::clamp(0.066f * speed - 1.0f, 0.0f, 1.0f));
}

void computerEngineSound(const RaceCar& car) {
    if (car.index < 1 || car.index > 3 || !raceSoundOn()) return;
    const float pitch = enginePitch(car.engineRpm);
    SoundEffect& engine = soundEffects[sounds::engine0 + car.index];
    engine.setPitch(pitch);
    engine.setGain(countdownActive ? 0.15f : std::clamp(0.4f * pitch, 0.15f, 1.0f));
}

void countdownRevving(RaceCar& car, float f) {
    if (!countdownActive || car.index < 1 || car.index > 3) return;
    float& t = car.countdownTimer;
    if (t < 1.0f) {
        t += 0.01f * f;
        car.targetRpm = car.engineRpm = std::clamp(std::sin(3.14f * t) * 6000.0f + 1000.0f, 1000.0f, 7000.0f);
    } else {
        t += (0.001f * static_cast<float>(car.index) + 0.0045f) * f;
    }
    if (t > 2.0f) {
        t = 0.0f;
        if (raceSoundOn()) plays(soundEffects[sounds::accel0 + car.index - 1]);
    }
}

void gearChangeSound() {
    if (raceSoundOn()) plays(soundEffects[sounds::gear]);
}

void nitroSound(bool burning) {
    if (!raceSoundOn()) return;
    SoundEffect& nitro = soundEffects[sounds::nitro];
    if (burning) plays(nitro);
    else nitro.stop();
}

void checkpointSound(Vec3 position, Vec3 velocity) {
    if (!raceSoundOn()) return;
    SoundEffect& point = soundEffects[sounds::checkpoint];
    point.place(position.x, position.y, position.z, velocity.x, velocity.y, velocity.z);
    plays(point);
}

void trafficHornSound(int choice, Vec3 position, Vec3 velocity) {
    if (!raceSoundOn()) return;
    for (int k = 0; k < 3; ++k)
        soundEffects[sounds::signal0 + k].place(position.x, position.y, position.z, velocity.x, velocity.y, velocity.z);
    plays(soundEffects[sounds::signal0 + std::clamp(choice, 0, 2)]);
}

int crashBand(float m) {
    if (m > 600.0f && m <= 1100.0f) return 0;
    if (m > 1100.0f && m <= 1400.0f) return 1;
    if (m > 1400.0f && m <= 30000.0f) return 2;
    return -1;
}

void crashSound(RaceCar& car) {
    if (!car.body || car.crashTimer <= 1.0f) return;
    const int band = crashBand(length(physics::getAngularMomentum(car.body)));
    if (band < 0) return;
    car.crashTimer = 0.0f;
    if (!raceSoundOn()) return;
    SoundEffect& crash = soundEffects[sounds::crash0 + band];
    placeAtCar(crash, car);
    plays(crash);
}

void updateCarEffectLevels(bool playerNitro) {
    for (int i = 0; i < 4; ++i) {
        const RaceCar& car = raceCars[i];
        CarEffectLevels& e = carEffectLevels[i];
        const bool player = i == 0;
        e.dustLife = player ? playerSkidLevel : computerSkidLevel;
        e.dustEmitting = player ? playerSkidLevel > 0.01f : computerSkidLevel > 0.5f;
        const bool green = player ? playerNitro : carSpeed(car) > 17.0f;
        e.fireColour[0] = green ? 0.25f : 1.0f;
        e.fireColour[1] = 1.0f;
        e.fireColour[2] = green ? 0.0f : 1.0f;
        if (player) e.fireLife = playerNitro ? 1.0f : std::clamp((car.engineRpm - 4000.0f) * 0.00025f, 0.0f, 1.0f);
        else e.fireLife = (car.engineRpm - 1000.0f) * 0.0002f;
        e.fireEmitting = true;
        e.smokeLife = player ? 1.0f : 0.0f;
        e.smokeEmitting = player;
    }
}
