// The events, listed once: each event number (gEventNumber) with the page the
// event window shows for it. The EV_* constants, the state's check of
// gEventNumber, the window's pages and the catalogue of their lines are all
// made from this list.
//
// Include it after defining
//   EVENT(name, number, stem, lines, sheet, column, row, sound)
// where `stem` keys the page's lines among the game's lines
// (lang/game_lines.cpp: "stem.title", "stem.knife.2"... or "stem.1" to
// "stem.3"); `lines` is Fight (a title and a pair per weapon), Ammo (the
// ammunition sets) or Fixed (three lines); the portrait is cell (column, row)
// of portrait sheet `sheet` (1 or 2, event1.bmp or event2.bmp; the zombie
// picks its own by gPortraitVariant); `sound` is the SND_* name without its
// prefix, played as the window opens, or NONE. The order is the order of the
// catalogue's lines. EVENT is undefined again at the end; no include guard.
EVENT(EV_ZOMBIE, 9, "zombie", Fight, 1, 0, 0, ZOMBIE)
EVENT(EV_HUNTER, 8, "hunter", Fight, 1, 1, 2, HUNTER)
EVENT(EV_CERBERUS, 10, "cerberus", Fight, 1, 0, 2, KERO)
EVENT(EV_FILE, 1, "file", Fixed, 2, 0, 0, FILE)
EVENT(EV_AMMO, 6, "ammo", Ammo, 2, 0, 1, NONE)
EVENT(EV_SPRAY_FOUND, 7, "spray_found", Fixed, 2, 1, 1, SPRAY)
EVENT(EV_STALKER, 11, "stalker", Fight, 2, 1, 2, STALKER)
EVENT(EV_ROCKET_DODGED, 55, "rocket_dodged", Fixed, 2, 0, 0, NONE)
EVENT(EV_ROCKET_HIT, 66, "rocket_hit", Fixed, 2, 0, 2, NONE)
EVENT(EV_ESCAPED, 77, "escaped", Fixed, 2, 1, 0, NONE)
EVENT(EV_REVIVED, 94, "revived", Fixed, 2, 0, 2, NONE)
EVENT(EV_SPRAY_USED, 99, "spray_used", Fixed, 2, 1, 1, SPRAY)

#undef EVENT
