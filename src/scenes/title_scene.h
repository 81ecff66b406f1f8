// The title and warning screens.
#pragma once

void TitleScene();
