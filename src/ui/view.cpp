#include "ui/view.hpp"

#include "time/date_format.hpp"
#include "time/string_table.hpp"

namespace ostrel {

View View::with(Modifier m) && {
  modifiers.push_back(std::move(m));
  return std::move(*this);
}

View View::font(Font f) && {
  return std::move(*this).with(modifier::Font{f});
}
View View::tracking(double points) && {
  return std::move(*this).with(modifier::Tracking{points});
}
View View::foregroundStyle(Style s) && {
  return std::move(*this).with(modifier::ForegroundStyle{s});
}
View View::fill(Color c) && {
  return std::move(*this).with(modifier::Fill{c});
}
View View::lineLimit(std::int64_t lines) && {
  return std::move(*this).with(modifier::LineLimit{lines});
}
View View::minimumScaleFactor(double factor) && {
  return std::move(*this).with(modifier::MinimumScaleFactor{factor});
}
View View::monospacedDigit() && {
  return std::move(*this).with(modifier::MonospacedDigit{});
}
View View::frame(double width, double height) && {
  return std::move(*this).with(modifier::Frame{width, height, Alignment::center});
}
View View::frame(std::optional<double> maxWidth, std::optional<double> maxHeight, Alignment alignment) && {
  return std::move(*this).with(modifier::FlexibleFrame{maxWidth, maxHeight, alignment});
}
View View::padding() && {
  return std::move(*this).with(modifier::Padding{Edges::all, std::nullopt});
}
View View::padding(Edges edges, double length) && {
  return std::move(*this).with(modifier::Padding{edges, length});
}
View View::background(View behind, Alignment alignment) && {
  return std::move(*this).with(modifier::Background{moved(std::move(behind)), alignment});
}
View View::containerBackground(View content, Alignment alignment) && {
  return std::move(*this).with(modifier::ContainerBackground{moved(std::move(content)), alignment});
}

const TextContent* View::text() const {
  const auto* t = std::get_if<viewtype::Text>(&type);
  return t ? &t->content : nullptr;
}

namespace {
View node(ViewType type, std::vector<View> children = {}) {
  View v;
  v.type = std::move(type);
  v.children = std::move(children);
  return v;
}
}  // namespace

View HStack(VerticalAlignment alignment, double spacing, std::vector<View> children) {
  return node(viewtype::HStack{alignment, spacing}, std::move(children));
}
View VStack(HorizontalAlignment alignment, double spacing, std::vector<View> children) {
  return node(viewtype::VStack{alignment, spacing}, std::move(children));
}
View ZStack(Alignment alignment, std::vector<View> children) {
  return node(viewtype::ZStack{alignment}, std::move(children));
}
View Group(std::vector<View> children) {
  return node(viewtype::Group{}, std::move(children));
}
View ForEach(std::vector<View> rows) {
  return node(viewtype::ForEach{}, std::move(rows));
}
View Spacer(double minLength) {
  return node(viewtype::Spacer{minLength});
}
View Divider() {
  return node(viewtype::Divider{});
}
View Circle() {
  return node(viewtype::Circle{});
}
View RoundedRectangle(double cornerRadius) {
  return node(viewtype::RoundedRectangle{cornerRadius});
}
View ColorView(Color c) {
  return node(viewtype::Color{c});
}
View RadialGradient(std::vector<Color> colors, UnitPoint center, double startRadius, double endRadius) {
  return node(viewtype::RadialGradient{std::move(colors), center, startRadius, endRadius});
}
View AnyView(View content) {
  return node(viewtype::AnyView{}, moved(std::move(content)));
}
View Composite(std::string name, Args args, View body) {
  return node(viewtype::Composite{std::move(name), std::move(args)}, moved(std::move(body)));
}

std::string Text::shownPart(std::string_view s) {
  if (s.size() <= longestShown) return std::string(s);
  std::size_t end = longestShown;
  // Back to the first byte of a character: continuation bytes are 10xxxxxx.
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  std::string out(s.substr(0, end));
  out += "\u2026";
  return out;
}

View Text::verbatim(std::string_view s) {
  std::string key = shownPart(s);
  std::string shown = key;
  return node(viewtype::Text{
      .content = {.verbatim = true, .key = std::move(key), .arguments = {}, .shown = std::move(shown)},
      .date = std::nullopt});
}

View Text::localized(std::string key, const std::vector<Argument>& arguments) {
  std::vector<std::string> shownArgs;
  shownArgs.reserve(arguments.size());
  for (const auto& a : arguments) {
    shownArgs.push_back(std::holds_alternative<std::string>(a) ? std::get<std::string>(a)
                                                               : std::to_string(std::get<std::int64_t>(a)));
  }
  std::string shown = StringTable::format(key, arguments);
  return node(viewtype::Text{.content = {.verbatim = false,
                                         .key = std::move(key),
                                         .arguments = std::move(shownArgs),
                                         .shown = std::move(shown)},
                             .date = std::nullopt});
}

View Text::date(Date date, DateFields fields, const Environment& env) {
  const bool full = fields == DateFields::weekdayTime;
  const auto dates = env.formatter();
  std::string shown = full ? dates->weekdayTime(date) : dates->time(date);
  return node(viewtype::Text{
      .content = {.verbatim = true, .key = shown, .arguments = {}, .shown = shown},
      .date = viewtype::Text::FormattedDate{.date = date.sinceEpoch, .format = full ? "EEEjmm" : "jmm"}});
}

}  // namespace ostrel
