#pragma once
/// \file render_error.hpp
/// Why a drawing could not be made, and the renderer's result: the bytes of an image, a measurer, or
/// this error. Nothing in the renderer throws.
///
///     render::Result<std::string> png = renderWidget(face, family, scheme, fonts, {});
///     if (!png) return fail(png.error().message);

#include <string>

#include "base/result.hpp"

namespace ostrel::render {

struct RenderError {
  enum class Kind {
    missingFont,  ///< fontconfig has no face of a family or weight the renderer needs
    drawing,      ///< Cairo could not draw or encode (out of memory, a scale out of range)
  };
  Kind kind = Kind::drawing;
  std::string message;  ///< one line, for the command line
  friend bool operator==(const RenderError&, const RenderError&) = default;
};

/// A value or a `RenderError`.
template <class T>
using Result = ostrel::Result<T, RenderError>;

}  // namespace ostrel::render
