// The two-page prologue before every game.
#pragma once

void PrologueScene();
