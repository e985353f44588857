// What the tuning shop charges, in whole dollars, indexed by the item number
// as it is stored in CarConfig. Filled with the car catalogue at the end of
// the start-up loading screen. Price 0 is "none" (no spoiler, scoop, vinyl or neon).
#pragma once

#include <cstdint>

struct ShopPrices {
    int32_t packets[5] = {};
    int32_t rims[8] = {};
    int32_t cars[18] = {};
    int32_t bodyKits[4] = {};
    int32_t spoilers[6] = {};
    int32_t hoodScoops[6] = {};
    int32_t roofScoops[6] = {};
    int32_t optics[4] = {};
    int32_t topVinyls[21] = {};
    int32_t sideVinyls[21] = {};
    int32_t neon[21] = {};
    int32_t paint = 0;  // any colour, the car's own included
};

extern ShopPrices shopPrices;

void fillPriceTables();
