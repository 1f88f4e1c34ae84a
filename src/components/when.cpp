#include "components/when.hpp"

#include "components/phrase.hpp"

namespace ostrel {

View When::body(const Environment& env) const {
  return Text::verbatim(Phrase::until(date, now, env));
}

View When::view(const Environment& env) const {
  return Composite("When", {{{"date", date.sinceEpoch}, {"now", now.sinceEpoch}}}, body(env));
}

}  // namespace ostrel
