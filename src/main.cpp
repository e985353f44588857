#include "app/game_paths.h"
#include "app/main_loop.h"

int main() {
    // An installed game reads its data from the install and saves per user.
    if (!useGamePaths(findGamePaths())) return 1;
    return nightrunMain();
}
