#include "time/upper_case.hpp"

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace ostrel {

std::string upperCased(std::string_view text) {
  icu::UnicodeString s =
      icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  s.toUpper(icu::Locale::getRoot());
  std::string out;
  s.toUTF8String(out);
  return out;
}

}  // namespace ostrel
