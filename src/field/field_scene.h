// The field screen: one frame of play.
#pragma once

void FieldScene();
