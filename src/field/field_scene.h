// The field screen: one frame of play, from the start of a game to the
// death and win checks, the rocket event and the flip.
#pragma once

void FieldScene();
