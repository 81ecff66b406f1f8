// The ending: the revealed picture, the music and the credits.
#pragma once

void EndingScene();
