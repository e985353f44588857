#include "render/renderer_setup.h"

#include "app/game_state.h"

bool rendererSetup() {
    GameState = gameStates::mainMenu;
    return true;
}
