#include "kit/language_template.h"

#include "formats/language_text.h"
#include "lang/language_pack.h"
#include "platform/draw/text_draw.h"

namespace kit {

std::string WritePackText(const PackHeader& header,
                          const std::function<std::string(const GameLine&)>& translation) {
  std::string out;
  std::size_t at = 0;
  while (at < header.comment.size()) {
    const std::size_t end = std::min(header.comment.find('\n', at), header.comment.size());
    const std::string line = header.comment.substr(at, end - at);
    out += line.empty() ? "#\n" : "# " + line + "\n";
    at = end + 1;
  }
  // The fields gettext's tools expect of every header.
  out += "msgid \"\"\nmsgstr \"\"\n";
  for (const std::string& field :
       {std::string("Project-Id-Version: Vedo Zeza1"), std::string("Report-Msgid-Bugs-To: "),
        "PO-Revision-Date: " + (header.revised.empty() ? "YEAR-MO-DA HO:MI+ZONE" : header.revised),
        "Last-Translator: " +
            (header.translator.empty() ? "FULL NAME <EMAIL@ADDRESS>" : header.translator),
        "Language-Team: " + (header.team.empty() ? "LANGUAGE <LL@li.org>" : header.team),
        "Language: " + header.language, std::string("MIME-Version: 1.0"),
        std::string("Content-Type: text/plain; charset=UTF-8"),
        std::string("Content-Transfer-Encoding: 8bit")}) {
    out += PoQuoted(field + "\n") + "\n";
  }
  for (const GameLine& line : GameLines()) {
    const int korean = platform::TextWidthCp949(platform::Utf8ToCp949(line.korean).c_str());
    out += "\n#. " + line.where + "\n#. width: at most " + std::to_string(line.box) +
           " pixels (the Korean line takes " + std::to_string(korean) + ")\n";
    if (line.number.format != nullptr) {
      out += "#. number: " + std::string(line.number.what) + " (\"" + line.number.format +
             "\") are written over pixels " + std::to_string(line.number.dx) + " to " +
             std::to_string(NumberEnd(line) - 1) + " of the line, which must be blanks\n";
    }
    out += "msgctxt " + PoQuoted(line.key) + "\nmsgid " + PoQuoted(line.korean) + "\nmsgstr " +
           PoQuoted(translation(line)) + "\n";
  }
  return out;
}

}  // namespace kit
