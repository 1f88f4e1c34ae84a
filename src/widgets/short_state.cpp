#include "widgets/short_state.hpp"

#include "components/keys.hpp"
#include "time/string_table.hpp"

namespace ostrel {

std::optional<ShortState> ShortState::ofNote(const Loaded& loaded) {
  switch (loaded.which()) {
    case Loaded::Case::off:
      return ShortState{.state = "off", .text = StringTable::lookup(keys::widgetsOff)};
    case Loaded::Case::missing:
      return ShortState{.state = "missing", .text = StringTable::lookup(keys::openOstrel)};
    case Loaded::Case::feed:
      break;
  }
  return std::nullopt;
}

std::string ShortState::unitLine(const std::string& unit, const std::string& rest) {
  return unit.empty() ? rest : unit + " " + rest;
}

}  // namespace ostrel
