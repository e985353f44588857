// The 3D garage behind the menus: the player's working car on show in a lit
// showroom, drawn fresh every front-end frame, so every part, rim, colour,
// vinyl and neon chosen in a shop shows at once. The camera glides to a view
// for each screen and can be swung by dragging the mouse. The finished picture
// goes into sceneCopy and its glow into glowTarget, which the menus draw as
// their background.
#pragma once

#include "physics/vector_math.h"

struct GarageCamera {
    float pitch = 5.0f;        // degrees about x, kept to 1..23
    float yaw = 300.0f;        // degrees about y
    float pitchSpeed = 0.0f;   // free mode, -1..1
    float yawSpeed = 0.0f;
};

extern GarageCamera garageCamera;
// The camera stands this far from the car (the first step of the camera transform).
extern const Vec3 garageCameraOffset;

// The preset view (pitch, yaw) of a screen; any screen without its own gets (2, 320).
struct GarageView {
    float pitch;
    float yaw;
};
GarageView garageViewFor(int screen);

// One preset-mode step of dt ticks towards `target`: the yaw turns the short
// way round (through 0/360 when that is shorter), at a speed proportional to
// the remaining angle (0.5 to 100 degrees per 0.045 dt), the pitch so that both
// arrive together; when the yaw passes its target both snap to it. A yaw
// already on target moves the pitch straight to its target.
void stepGarageCameraTowards(GarageCamera& camera, GarageView target, float dt);
// One free-mode step: while a mouse button is held the drag since the last
// step adds to the angular speeds; the speeds die out; the angles follow.
void stepGarageCameraFree(GarageCamera& camera, float dt);
// The frame's camera step as the menus ask for it: free after a click on no
// button, the shown screen's view once its fade is over, unchanged during a fade.
void updateGarageCamera(float dt);

// The camera's position and view direction in the garage (the car at the origin).
Vec3 garageCameraEye();
Vec3 garageCameraDirection();

// The axle distances F and R of a car model (by model mod 6) and the display
// frame of wheel 0..3 (front right, front left, rear right, rear left): front
// wheels turned -30 degrees, the left pair turned round.
void garageAxles(int carModel, float& front, float& rear);
Mat4 garageWheelFrame(int carModel, int wheel);

// Loads the garage set (room, glass, plants, lamps) at the end of the start-up screen.
void loadGarage();
// Repaints the player's livery (race-car slot 0) for the garage.
void setGarageCar(int carModel, const float paintColor[3], int topVinyl, int sideVinyl);
// setGarageCar with the working car's model, paint and vinyls.
void paintGarageWithWorkingCar();

// The whole garage frame: camera step, environment view, opaque and glass
// passes, composite, then the copy into sceneCopy and the glow passes. The
// livery is repainted first when the working car's model, paint or vinyls
// differ from what it shows.
void drawGarageScene();
// Whether the garage is drawn behind a front-end screen: every screen but the pause screen.
bool garageShownBehind(int screen);
