#include "frontend/shop_prices.h"

#include <algorithm>
#include <iterator>

ShopPrices shopPrices;

namespace {

constexpr int32_t packetPrices[] = {250, 300, 400, 550, 800};
constexpr int32_t rimPrices[] = {150, 175, 200, 225, 250, 275, 300, 325};
constexpr int32_t bodyKitPrices[] = {200, 250, 300, 350};
constexpr int32_t spoilerPrices[] = {0, 80, 100, 150, 200, 250};
constexpr int32_t hoodScoopPrices[] = {0, 60, 90, 120, 150, 250};
constexpr int32_t roofScoopPrices[] = {0, 50, 80, 100, 150, 250};
constexpr int32_t opticsPrices[] = {150, 200, 250, 300};
constexpr int32_t vinylPrices[] = {0,   50,  50,  50,  75,  75,  75,  100, 100, 100, 125,
                                   125, 125, 150, 150, 150, 175, 175, 175, 175, 175};
constexpr int32_t neonPrices[] = {0,   100, 100, 100, 125, 125, 125, 150, 150, 150, 175,
                                  175, 175, 200, 200, 200, 250, 250, 250, 250, 250};
constexpr int32_t paintPrice = 100;

template <size_t N>
void fill(int32_t (&to)[N], const int32_t (&from)[N]) {
    std::copy(std::begin(from), std::end(from), to);
}

}  // namespace

void fillPriceTables() {
    ShopPrices& p = shopPrices;
    fill(p.packets, packetPrices);
    fill(p.rims, rimPrices);
    // Each car costs 50 more than the one before it.
    for (int k = 0; k < int(std::size(p.cars)); ++k) p.cars[k] = 200 + 50 * k;
    fill(p.bodyKits, bodyKitPrices);
    fill(p.spoilers, spoilerPrices);
    fill(p.hoodScoops, hoodScoopPrices);
    fill(p.roofScoops, roofScoopPrices);
    fill(p.optics, opticsPrices);
    fill(p.topVinyls, vinylPrices);
    fill(p.sideVinyls, vinylPrices);
    fill(p.neon, neonPrices);
    p.paint = paintPrice;
}
