#pragma once
/// \file reading.hpp
/// A view tree read aloud: the words of a face, in order, on one line, the way a screen reader walks
/// it. Status-bar lines, tooltips and the accessible names of widget windows all use it.
///
///     reading(face)   // "Next up: FINC3600, Lecture, in 40 min, ABS Lecture Theatre 1010"
///
/// The rules:
/// 1. Texts are read as shown (after the string table and formatting), in tree order: a node's
///    children in order, depth first.
/// 2. What a modifier holds (the contents of `background` and `containerBackground`) is decoration
///    and is not read; neither are shapes, colours, gradients, spacers and dividers, which show no
///    words.
/// 3. A composite named "Heading" is read from its arguments: its `text` as written (not in the
///    capitals it is drawn in), then ", " and its `trailing` text when it has one. What follows a
///    heading is introduced by ": "; a heading that follows other words starts a new sentence (". ").
/// 4. The rows of a `ForEach` are separated by "; ", everything else by ", ".
/// 5. Each text is trimmed of spaces and of the separator dots a face draws between pieces ("·",
///    "•"); control characters, line breaks included, are read as one space; a text left empty is
///    skipped. The result is one line; an empty tree reads as "".

#include <string>

#include "ui/view.hpp"

namespace ostrel {

/// The words of `tree`, in order, on one line. Never fails.
[[nodiscard]] std::string reading(const View& tree);

}  // namespace ostrel
