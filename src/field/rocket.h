// The Stalker's rocket launcher: after 1000 quiet frames a rocket flies up
// the screen from one of three lanes toward a player figure that follows
// the pointer; it hits or misses by lane and figure position.
#pragma once

// One frame of the event; the field frame calls it while gRocketActive is 1
// and the event window is closed.
void RocketDriver();
// One animation step: figure, rocket, and at the last step the outcome.
void RocketStep();

// The player figure's offset for a pointer x: 0, 30, 60, 120, 150 or 180.
int RocketPlayerOffset(int mouseX);
// The lane, 1 to 3, the rocket comes from for a pointer x.
int RocketLane(int mouseX);
// Whether a rocket in `lane` hits a figure at offset p.
bool RocketHits(int lane, int p);
