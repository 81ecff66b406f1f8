// Combat: what one attack on a hidden cell does, settled by chance and by
// the tables of health, ammunition and score.
#pragma once

// Attacks the cell under the pointer (column viewCol + gMouseX / 40, row
// viewRow + gMouseY / 40), reseeding the generator from the clock first.
// Opens the event window with the outcome. A pointer whose cell lies outside
// the field attacks nothing.
void ResolveAttack(int viewCol, int viewRow);
