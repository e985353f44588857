// The main menu, the quit question, the career menu and the Information page.
#pragma once

#include "frontend/menu_framework.h"

extern const MenuScreen mainMenuScreen;     // 1
extern const MenuScreen quitScreen;         // 90
extern const MenuScreen careerMenuScreen;   // 20
extern const MenuScreen informationScreen;  // 50
