#pragma once
/// \file ui.hpp
/// The view-framework pieces the widget views are built from, in one include: the `View` tree and
/// its primitives and modifiers, `Environment`, the string table and date formatting.
///
/// The convention every view of `components/` and `views/` follows:
///
/// - A view is a plain struct of its fields (an aggregate, fields in their documented order), so
///   `Heading{.text = "Next up"}` or `Code{.unit = c.unit, .color = c.color, .size = 10}`.
/// - `View body(const Environment& env) const` builds the view's content from primitives and other
///   views. What the view reads "from its environment" (the colour scheme, the system version, the
///   locale and time zone) it takes from `env`; everything else comes from its fields.
/// - `View view(const Environment& env) const` is how one view places another: it returns the named
///   composite node `Composite("Heading", args, body(env))`, whose arguments are the view's fields
///   (so that dumps and tree comparisons show which view stood where) and whose one child is the body.
///
///     View row = HStack(VerticalAlignment::center, 5, {
///         Code{.unit = c.unit, .color = c.color, .size = 10}.view(env),
///         Text::verbatim(c.title).font(Font::system(11, Font::Weight::medium)).lineLimit(1),
///     });
///
/// Localisable texts are `Text::localized(key, arguments)` with a key from `components/keys.hpp`;
/// feed text is always `Text::verbatim`.

#include "time/date.hpp"          // IWYU pragma: export
#include "time/date_format.hpp"   // IWYU pragma: export
#include "time/string_table.hpp"  // IWYU pragma: export
#include "ui/environment.hpp"     // IWYU pragma: export
#include "ui/view.hpp"            // IWYU pragma: export
