#include "timeline/sample.hpp"

namespace ostrel {

Feed Sample::feed(const Clock& clock) {
  const Date now = clock.now();
  const UnitColor finc{.light = "#A91991", .dark = "#EA86D9"};
  const UnitColor amed{.light = "#4D7812", .dark = "#A0DF49"};
  return Feed{
      .v = 1,
      .enabled = true,
      .at = now,
      .week = "Week 10 of 13",
      .classes =
          std::vector<ClassItem>{
              {.unit = "FINC3600",
               .title = "Lecture",
               .where = "ABS Lecture Theatre 1010",
               .start = now + 2'400,
               .end = now + 6'000,
               .color = finc},
              {.unit = "AMED3003",
               .title = "Tutorial",
               .where = std::nullopt,
               .start = now + 93'600,
               .end = now + 97'200,
               .color = amed},
          },
      .due =
          std::vector<DueItem>{
              {.unit = "AMED3003",
               .name = "Oral presentation",
               .due = now + 172'800,
               .weight = 20.0,
               .color = amed},
              {.unit = "FINC3600",
               .name = "Part 2 report",
               .due = now + 259'200,
               .weight = 30.0,
               .color = finc},
          },
      .cards = 7,
  };
}

}  // namespace ostrel
