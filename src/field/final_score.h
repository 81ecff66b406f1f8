// The end of a won game: bonuses for ammunition left, for the share of
// finds among opened cells and for speed, then the grade; starts the ending.
#pragma once

void ComputeFinalScore();
