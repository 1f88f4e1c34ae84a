// The translators' template in po/ lists exactly the keys the code marks: the template made from
// the sources at build time is compared with the committed one (the `pot` target updates it).

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace ostrel {
namespace {

/// The message ids of a template, the header's empty one left out; an id written over several
/// quoted lines is joined. Escapes stay as written.
std::set<std::string> messageIds(const std::string& path) {
  std::ifstream in(path);
  std::set<std::string> ids;
  std::string line, id;
  bool inId = false;
  const auto flush = [&] {
    if (inId && !id.empty()) ids.insert(id);
    inId = false;
    id.clear();
  };
  while (std::getline(in, line)) {
    if (line.rfind("msgid \"", 0) == 0) {
      flush();
      inId = true;
      id = line.substr(7, line.size() - 8);
    } else if (inId && line.size() >= 2 && line.front() == '"') {
      id += line.substr(1, line.size() - 2);
    } else {
      flush();
    }
  }
  flush();
  return ids;
}

#ifdef OSTREL_POT
TEST(TranslationTemplate, ListsExactlyTheKeysTheCodeMarks) {
  const std::set<std::string> fromCode = messageIds(OSTREL_POT);
  const std::set<std::string> committed = messageIds(OSTREL_SOURCE_DIR "/po/ostrel-widgets.pot");
  ASSERT_FALSE(fromCode.empty()) << OSTREL_POT;
  for (const std::string& id : fromCode) {
    EXPECT_TRUE(committed.contains(id))
        << "po/ostrel-widgets.pot lacks \"" << id << "\"; build the pot target";
  }
  for (const std::string& id : committed) {
    EXPECT_TRUE(fromCode.contains(id))
        << "po/ostrel-widgets.pot lists \"" << id << "\", which no code marks; build the pot target";
  }
}
#endif

}  // namespace
}  // namespace ostrel
