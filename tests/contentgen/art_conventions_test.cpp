// Conventions of single interface images that the game's drawing relies on:
// edges that must vanish, tiles that must wrap, cells that must be filled.
#include "interface/interface_art.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using gen::Color;
using gen::Raster;

float brightness(const Color& c) { return c.r + c.g + c.b; }

// Largest colour step between the right edge and the left edge (as the texture wraps).
float wrapSeamX(const Raster& r) {
    float worst = 0;
    for (int y = 0; y < r.height(); ++y) {
        const Color& a = r.at(r.width() - 1, y);
        const Color& b = r.at(0, y);
        worst = std::max({worst, std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b), std::fabs(a.a - b.a)});
    }
    return worst;
}

// Calls f with every pixel on the image's border.
template <class F>
void forEachEdgePixel(const Raster& img, F f) {
    for (int x = 0; x < img.width(); ++x) {
        f(img.at(x, 0));
        f(img.at(x, img.height() - 1));
    }
    for (int y = 0; y < img.height(); ++y) {
        f(img.at(0, y));
        f(img.at(img.width() - 1, y));
    }
}

float innerStepX(const Raster& r) {
    float worst = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 1; x < r.width(); ++x) {
            const Color& a = r.at(x - 1, y);
            const Color& b = r.at(x, y);
            worst = std::max({worst, std::fabs(a.r - b.r), std::fabs(a.a - b.a)});
        }
    return worst;
}

TEST(ArtConventions, IconAtlasFillsCellsZeroToTwentyEight) {
    Raster atlas = gen::ui::iconAtlas();
    const int cell = atlas.height();
    ASSERT_EQ(atlas.width(), 32 * cell);
    for (int i = 0; i < 32; ++i) {
        double ink = 0;
        float minX = 1e9f, maxX = -1, minY = 1e9f, maxY = -1;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) {
                float a = atlas.at(i * cell + x, y).a;
                ink += a;
                if (a > 0.5f) {
                    minX = std::min(minX, static_cast<float>(x)); maxX = std::max(maxX, static_cast<float>(x));
                    minY = std::min(minY, static_cast<float>(y)); maxY = std::max(maxY, static_cast<float>(y));
                }
                if (a > 0) EXPECT_GT(atlas.at(i * cell + x, y).r, 0.99f) << "icons are white, tinted by the game";
            }
        if (i <= 28) {
            EXPECT_GT(ink, cell * cell * 0.08) << "icon " << i;
            // Roughly centred, with air at the cell borders so neighbours never bleed in.
            EXPECT_NEAR((minX + maxX) * 0.5f, cell * 0.5f, cell * 0.12f) << "icon " << i;
            EXPECT_NEAR((minY + maxY) * 0.5f, cell * 0.5f, cell * 0.12f) << "icon " << i;
            EXPECT_GE(minX, 1.0f) << i;
            EXPECT_LE(maxX, cell - 2.0f) << i;
        } else {
            EXPECT_EQ(ink, 0.0) << "cell " << i << " is empty";
        }
    }
}

TEST(ArtConventions, AdditiveImagesAreBlackAtTheirEdges) {
    // Drawn with one/one or source-alpha/one blending: any light at the border would show the quad.
    for (const Raster& img : {gen::ui::lampHalo(), gen::ui::neonGlow(), gen::ui::countdownDigit(3), gen::ui::startWord()})
        forEachEdgePixel(img, [](const Color& c) { EXPECT_LT(brightness(c), 0.03f); });
    Raster halo = gen::ui::lampHalo();
    EXPECT_GT(brightness(halo.at(64, 64)), 2.5f);  // the lamp itself is bright
}

TEST(ArtConventions, ShadowsDarkenOnlyUnderTheCar) {
    // Multiplied with the floor: white leaves it as it is.
    for (const Raster& img : {gen::ui::carShadow(), gen::ui::garageShadow()}) {
        forEachEdgePixel(img, [](const Color& c) { EXPECT_GT(c.r, 0.98f); });
        EXPECT_LT(img.at(img.width() / 2, img.height() / 2).r, 0.4f);
    }
}

TEST(ArtConventions, ParticleImagesFadeToNothingAtTheirEdges) {
    for (const Raster& img : {gen::ui::smokePuff(), gen::ui::firePuff(), gen::ui::checkpointMarker(), gen::ui::checkpointRing()})
        forEachEdgePixel(img, [](const Color& c) { EXPECT_LT(c.a, 0.01f); });
    for (const Raster& img : {gen::ui::smokePuff(), gen::ui::firePuff(), gen::ui::checkpointMarker()})
        EXPECT_GT(img.at(img.width() / 2, img.height() / 2).a, 0.2f);
    Raster ring = gen::ui::checkpointRing();
    EXPECT_GT(ring.at(ring.width() / 2 + 52, ring.height() / 2).a, 0.9f);
}

TEST(ArtConventions, ScrollingAndSkyImagesTile) {
    // These scroll through their texture coordinates, so the right edge meets the left.
    for (const Raster& img : {gen::ui::bandOverlay(), gen::ui::stripeOverlay(), gen::ui::nightClouds()}) {
        EXPECT_LE(wrapSeamX(img), innerStepX(img) + 0.02f);
    }
    Raster clouds = gen::ui::nightClouds();
    float worst = 0, inner = 0;
    for (int x = 0; x < clouds.width(); ++x) {
        worst = std::max(worst, std::fabs(clouds.at(x, 0).r - clouds.at(x, clouds.height() - 1).r));
        inner = std::max(inner, std::fabs(clouds.at(x, 1).r - clouds.at(x, 0).r));
    }
    EXPECT_LE(worst, inner + 0.02f);
}

TEST(ArtConventions, ArrowsPointWhereTheGameExpects) {
    // The menu arrow points left (mirrored for the right); the route arrow and the needle point up.
    auto centroid = [](const Raster& r, bool horizontal) {
        double sum = 0, w = 0;
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x) {
                float a = r.at(x, y).a > 0.5f ? 1.0f : 0.0f;
                sum += a * (horizontal ? x : y);
                w += a;
            }
        return static_cast<float>(sum / std::max(w, 1.0));
    };
    Raster arrow = gen::ui::arrowImage();
    // The tip is the leftmost opaque point, at mid height.
    int tipX = arrow.width(), tipY = 0;
    for (int y = 0; y < arrow.height(); ++y)
        for (int x = 0; x < arrow.width(); ++x)
            if (arrow.at(x, y).a > 0.5f && x < tipX) {
                tipX = x;
                tipY = y;
            }
    EXPECT_LT(tipX, centroid(arrow, true));
    EXPECT_NEAR(tipY, arrow.height() / 2, 3);
    Raster needle = gen::ui::revNeedle();
    // The needle is widest at the bottom: more ink in the lower half.
    EXPECT_GT(centroid(needle, false), needle.height() * 0.5f);
    Raster route = gen::ui::routeArrow();
    // Each chevron's point is on top: the top row of the first chevron is at the centre column.
    int firstRow = -1;
    for (int y = 0; y < route.height() && firstRow < 0; ++y)
        for (int x = 0; x < route.width(); ++x)
            if (route.at(x, y).a > 0.5f) {
                firstRow = y;
                EXPECT_NEAR(x, route.width() / 2, 3);
                break;
            }
    EXPECT_GE(firstRow, 0);
}

TEST(ArtConventions, CursorHotSpotIsTheTopLeftCorner) {
    Raster cursor = gen::ui::cursorImage();
    // The tip: opaque within a few pixels of (0, 0), nothing further up-left.
    EXPECT_GT(cursor.at(4, 4).a, 0.9f);
    EXPECT_LT(cursor.at(0, 0).a, 0.1f);
}

}  // namespace
