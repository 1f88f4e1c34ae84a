#pragma once
/// \file decode_error.hpp
/// `DecodeError`: why a feed document did not decode. A kind from a closed set, the path of the value
/// at fault and a detail in words:
///
///     DecodeError{DecodeErrorKind::notADate, "classes[2].start", "2026-02-30T10:00:00Z"}
///     message(e) == "not a date: 2026-02-30T10:00:00Z"

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel {

/// What went wrong. The decoder reports exactly one of these for every failure.
enum class DecodeErrorKind : std::uint8_t {
  /// The bytes are not one JSON value: bad grammar, bad UTF-8, a byte-order mark, text after the
  /// value, an empty file. Reported for the document as a whole (empty path), also when the fault
  /// lies under a key that the feed does not name.
  malformedJson,
  /// A value of another JSON type than its field takes: the document not an object, `classes` not an
  /// array, an element not an object, a text field not a string, `enabled` not true or false.
  wrongType,
  /// A required key is not in its object.
  missingKey,
  /// A required key holds null.
  nullValue,
  /// An integer field (`v`, `cards`) holds a number written with a fraction or an exponent.
  notAnInteger,
  /// A number beyond what its field holds: an integer beyond the signed 64-bit range, or a `weight`
  /// beyond the range of a double.
  outOfRange,
  /// A date field holds a string that the date rule rejects; the detail is the string as written.
  notADate,
  /// A key that the record names occurs more than once in one object.
  duplicateKey,
  /// The document is beyond what the decoder can hold: larger than the parser's 4 GiB, or memory ran
  /// out.
  tooLarge,
};

struct DecodeError {
  DecodeErrorKind kind;
  /// Where: `classes[2].start`, `cards`; empty for the document itself.
  std::string path;
  /// More in words ("expected a string, found a number"), or the date string as written; may be empty.
  std::string detail;
  friend bool operator==(const DecodeError&, const DecodeError&) = default;
};

/// The kind in words: "malformed JSON", "wrong type", "missing key", "null value", "not an integer",
/// "out of range", "not a date", "duplicate key", "too large".
[[nodiscard]] std::string_view kindName(DecodeErrorKind kind);

/// The kind and the detail on one line: "wrong type: expected a string, found a number",
/// "missing key", and for dates exactly "not a date: " followed by the string as written.
[[nodiscard]] std::string message(const DecodeError& error);

}  // namespace ostrel
