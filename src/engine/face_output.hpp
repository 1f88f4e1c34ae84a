#pragma once
/// \file face_output.hpp
/// What the engine hands to whatever shows faces: PNG files, status-bar lines, desktop windows.
///
///     class Printer : public FaceOutput {
///       void show(const Face& face) override { std::cout << dumpText(face.view(ColorScheme::light)); }
///     };
///     Printer printer;
///     engine.subscribe(printer);   // called once per change of that widget's face, never for
///                                  // an unchanged one
///
/// The engine calls `show` on the thread that runs its main loop, for each widget in the order the
/// widgets were given, first when it starts and then whenever that widget's face changes.

#include "engine/face.hpp"

namespace ostrel {

/// Something that shows faces. Implementations must not throw; one that cannot go on (a closed
/// standard output) asks the engine to stop rather than failing here.
class FaceOutput {
 public:
  FaceOutput() = default;
  FaceOutput(const FaceOutput&) = delete;
  FaceOutput& operator=(const FaceOutput&) = delete;
  FaceOutput(FaceOutput&&) = delete;
  FaceOutput& operator=(FaceOutput&&) = delete;
  virtual ~FaceOutput() = default;

  /// Shows `face` in place of the one this output showed before for the same kind and family.
  virtual void show(const Face& face) = 0;
};

}  // namespace ostrel
