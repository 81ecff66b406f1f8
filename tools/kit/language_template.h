// The text of a language pack written as a PO file (formats/language_text.h):
// a header, then every line of the game, each under the notes that tell a
// translator where it shows, how wide it may be and where a number is
// written over it. With no translations it is the template,
// vedo-zeza1.pot, that a translator's tool starts a new language from.
#pragma once

#include <functional>
#include <string>

#include "lang/game_lines.h"

namespace kit {

inline constexpr char kTemplateName[] = "vedo-zeza1.pot";

struct PackHeader {
  std::string comment;     // the file's opening comment, without the marks
  std::string language;    // "en"; empty for the template
  std::string team;        // Language-Team
  std::string translator;  // Last-Translator
  std::string revised;     // PO-Revision-Date, "YEAR-MO-DA HO:MI+ZONE"
};

// `translation` gives each line's msgstr; the template leaves them empty.
std::string WritePackText(const PackHeader& header,
                          const std::function<std::string(const GameLine&)>& translation);

}  // namespace kit
