#include "ui/args.hpp"

namespace ostrel {

const ArgumentValue* Args::find(std::string_view name) const {
  for (const auto& [key, value] : items) {
    if (key == name) return &value;
  }
  return nullptr;
}

}  // namespace ostrel
