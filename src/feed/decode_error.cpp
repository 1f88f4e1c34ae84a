#include "feed/decode_error.hpp"

namespace ostrel {

std::string_view kindName(DecodeErrorKind kind) {
  switch (kind) {
    case DecodeErrorKind::malformedJson:
      return "malformed JSON";
    case DecodeErrorKind::wrongType:
      return "wrong type";
    case DecodeErrorKind::missingKey:
      return "missing key";
    case DecodeErrorKind::nullValue:
      return "null value";
    case DecodeErrorKind::notAnInteger:
      return "not an integer";
    case DecodeErrorKind::outOfRange:
      return "out of range";
    case DecodeErrorKind::notADate:
      return "not a date";
    case DecodeErrorKind::duplicateKey:
      return "duplicate key";
    case DecodeErrorKind::tooLarge:
      return "too large";
  }
  return "malformed JSON";
}

std::string message(const DecodeError& error) {
  std::string text{kindName(error.kind)};
  // A date's detail is the string as written, shown even when it is empty.
  if (!error.detail.empty() || error.kind == DecodeErrorKind::notADate) {
    text += ": ";
    text += error.detail;
  }
  return text;
}

}  // namespace ostrel
