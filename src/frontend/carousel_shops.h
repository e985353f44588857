// The shops that browse their items on the carousel: Tech Tuning (25), Rims
// (26), Body Kit, Spoiler, Hood Scoop, Roof Scoop and Optics (27..31), Vinyls
// on top and on side and Neon (32..34), and Change Car (36). Every arrow step
// puts the item on the working car at once, so the garage shows it; Buy pays
// the item's price and writes it into the stored car; Back puts the stored car
// back on show. Nothing reaches the disk here: the career file is written at
// exit, from the stored car.
#pragma once

#include "frontend/menu_framework.h"

#include <cstdint>
#include <span>

extern const MenuScreen techTuningScreen;  // 25
extern const MenuScreen rimsScreen;        // 26
extern const MenuScreen bodyKitScreen;     // 27
extern const MenuScreen spoilerScreen;     // 28
extern const MenuScreen hoodScoopScreen;   // 29
extern const MenuScreen roofScoopScreen;   // 30
extern const MenuScreen opticsScreen;      // 31
extern const MenuScreen topVinylsScreen;   // 32
extern const MenuScreen sideVinylsScreen;  // 33
extern const MenuScreen neonScreen;        // 34
extern const MenuScreen changeCarScreen;   // 36

// Goes to a carousel shop with the carousel on the working car's item (a
// damaged career's item is kept to the shop's range). Change Car also shows
// the current car as the dealer sells it: stock parts and paint, no vinyls,
// neon or tech packet.
void openCarouselShop(int32_t screen);

// A shop's prices by item number; empty for a screen that is no carousel shop.
std::span<const int32_t> carouselShopPrices(int32_t screen);
