// Everything loaded in the one frame that ends the start-up loading screen.
#pragma once

void loadStartupContent();
