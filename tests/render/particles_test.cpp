// Particle emitters: the .eff reader with missing, short and damaged files, the
// update's advances per frame, blending, fading out. A folder in place of the
// file is refused with the other readers in tests/content.
#include "render/particles.h"

#include "support/image_files.h"
#include "support/temp_dir.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// The 24 values of an .eff image; the fields a test does not care about are
// those of a plain emitter.
struct EffValues {
    int32_t v[24] = {};
    EffValues() {
        setInt(0, 8);       // particles
        setFloat(2, 1.0f);  // maximum size
        setFloat(9, 1.0f);  // fade scale
        for (int i : {10, 11, 12}) setInt(i, 5);  // spread ranges
        setInt(16, 10);     // fade range
        setFloat(17, 100.0f);  // fade divisor
        setFloat(18, 0.05f);   // fade base
        setFloat(20, 0.3f);    // start size
        setFloat(22, 1.0f);    // start life
    }
    void setInt(int i, int32_t x) { v[i] = x; }
    void setFloat(int i, float x) { std::memcpy(&v[i], &x, 4); }
    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> out(96);
        for (int i = 0; i < 24; ++i) {
            const uint32_t u = uint32_t(v[i]);
            for (int b = 0; b < 4; ++b) out[size_t(4 * i + b)] = uint8_t(u >> (8 * b));
        }
        return out;
    }
};

ParticleEmitter parsed(const EffValues& values) {
    ParticleEmitter e;
    const std::vector<uint8_t> b = values.bytes();
    EXPECT_TRUE(parseParticleEffect(b.data(), b.size(), e));
    return e;
}

bool isEmpty(const ParticleEmitter& e) {
    return e.particles.empty() && e.particleCount == 0 && e.fadeRange == 0 && e.startLife == 0.0f && !e.emitting;
}

}  // namespace

TEST(ParticleEffects, AFrameScaleOf0AdvancesOnceAnd20AdvancesSixTimes) {
    EXPECT_EQ(particleAdvances(0.0f), 1);
    EXPECT_EQ(particleAdvances(20.0f), 6);
    EXPECT_EQ(particleAdvances(1000.0f), 6);
    EXPECT_EQ(particleAdvances(std::numeric_limits<float>::quiet_NaN()), 1);

    // Each advance takes fade x fade scale off a particle's life and adds the
    // acceleration to its velocity.
    EffValues values;
    values.setInt(16, 1);  // every particle fades by the fade base
    values.setFloat(4, 0.5f);
    ParticleEmitter e = parsed(values);
    for (Particle& p : e.particles) p.life = 10.0f;
    updateParticles(e, 0.0f, {});
    EXPECT_NEAR(e.particles[0].life, 10.0f - 0.05f, 1e-5f);
    EXPECT_NEAR(e.particles[0].velocity.y, 0.5f, 1e-6f);
    updateParticles(e, 20.0f, {});
    EXPECT_NEAR(e.particles[0].life, 10.0f - 7 * 0.05f, 1e-4f);
    EXPECT_NEAR(e.particles[0].velocity.y, 3.5f, 1e-5f);
}

TEST(ParticleEffects, TheLastValueChoosesTheBlendingAndAFadeRangeOf1GivesEveryParticleTheFadeBase) {
    EffValues values;
    values.setInt(1, 1);
    values.setInt(23, 0);
    values.setInt(16, 1);
    ParticleEmitter alpha = parsed(values);
    EXPECT_EQ(particleBlend(alpha).source, uint32_t(GL_SRC_ALPHA));
    EXPECT_EQ(particleBlend(alpha).destination, uint32_t(GL_ONE_MINUS_SRC_ALPHA));
    ASSERT_EQ(alpha.particles.size(), 8u);
    for (const Particle& p : alpha.particles) {
        EXPECT_FLOAT_EQ(p.fade, 0.05f);
        EXPECT_TRUE(p.alive);
        EXPECT_EQ(p.life, 0.0f);
        EXPECT_FLOAT_EQ(p.size, 0.3f);
        EXPECT_FLOAT_EQ(p.speedFactor, 1.0f);  // the start life
    }

    values.setInt(1, 0);
    values.setInt(23, 1);
    values.setInt(16, 10);
    ParticleEmitter additive = parsed(values);
    EXPECT_EQ(particleBlend(additive).destination, uint32_t(GL_ONE));
    bool differ = false;
    for (const Particle& p : additive.particles) {
        EXPECT_GE(p.fade, 0.05f);
        EXPECT_LE(p.fade, 0.05f + 0.09f + 1e-6f);
        differ = differ || p.fade != additive.particles[0].fade;
    }
    EXPECT_TRUE(differ);
}

TEST(ParticleEffects, WhileEmittingParticlesRespawnAndOnceStoppedTheyFadeOutForGood) {
    EffValues values;
    values.setFloat(6, 0.01f);  // step scale x
    ParticleEmitter e = parsed(values);
    e.emitting = true;
    e.startLife = 0.8f;
    updateParticles(e, 1.6f, {100.0f, 0.0f, 0.0f});
    for (const Particle& p : e.particles) {
        // Born at the origin with the base velocity and a spread of 0..4 less 0.
        EXPECT_NEAR(p.life, 0.8f, 1e-6f);
        EXPECT_GE(p.velocity.x, 100.0f);
        EXPECT_LE(p.velocity.x, 104.0f);
        EXPECT_EQ(p.position.x, 0.0f);
        EXPECT_EQ(p.speedFactor, 1.0f);
    }
    for (int k = 0; k < 10; ++k) updateParticles(e, 1.6f, {100.0f, 0.0f, 0.0f});
    EXPECT_GT(e.particles[0].position.x, 0.0f);

    e.emitting = false;
    for (int k = 0; k < 100; ++k) updateParticles(e, 1.6f, {});
    for (const Particle& p : e.particles) {
        EXPECT_LT(p.life, -1.0f) << "faded out and never born again";
        EXPECT_TRUE(p.alive);  // particles are never removed
    }
}

TEST(ParticleEffects, AMissingShortOrDamagedFileGivesAnEmptyEmitter) {
    TempDir dir("eff");
    auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        test_support::writeFileBytes(dir.file(name), bytes);
        return dir.file(name);
    };
    ParticleEmitter e = parsed(EffValues{});

    testing::internal::CaptureStderr();
    loadParticleEffect(e, (dir.path() / "missing.eff").string());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a missing effect is not an error";
    EXPECT_TRUE(isEmpty(e));

    std::vector<std::string> damaged;
    std::vector<uint8_t> bytes = EffValues{}.bytes();
    bytes.resize(95);
    damaged.push_back(write("short.eff", bytes));
    damaged.push_back(write("empty.eff", {}));
    EffValues huge;
    huge.setInt(0, 2000000000);
    damaged.push_back(write("huge.eff", huge.bytes()));
    EffValues negative;
    negative.setInt(0, -5);
    damaged.push_back(write("negative.eff", negative.bytes()));
    for (int field : {10, 11, 12, 16}) {
        EffValues zeroRange;
        zeroRange.setInt(field, 0);
        damaged.push_back(write("range" + std::to_string(field) + ".eff", zeroRange.bytes()));
    }
    EffValues zeroDivisor;
    zeroDivisor.setFloat(17, 0.0f);
    damaged.push_back(write("divisor.eff", zeroDivisor.bytes()));
    EffValues notANumber;
    notANumber.setFloat(3, std::numeric_limits<float>::quiet_NaN());
    damaged.push_back(write("nan.eff", notANumber.bytes()));

    for (const std::string& path : damaged) {
        e = parsed(EffValues{});
        testing::internal::CaptureStderr();
        loadParticleEffect(e, path);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(isEmpty(e)) << path;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << path << ": " << said;
        // An empty emitter updates and draws nothing.
        updateParticles(e, 20.0f, {1.0f, 1.0f, 1.0f});
        EXPECT_TRUE(e.particles.empty());
    }

    // Bytes past the 96 are not read; the image itself loads.
    std::vector<uint8_t> longer = EffValues{}.bytes();
    longer.resize(4096, 0xff);
    loadParticleEffect(e, write("long.eff", longer));
    EXPECT_EQ(e.particles.size(), 8u);
}
