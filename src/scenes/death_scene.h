// The death screen.
#pragma once

void DeathScene();
