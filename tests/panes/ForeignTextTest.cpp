// Files that other programs wrote with text XML cannot carry (controls,
// U+FFFE, U+FFFF; U+0000 too where the encoding holds it), in a top-level or
// nested key or value, in XML or binary: every route that writes still
// lands, keeps every foreign key and value exactly (as we, plistlib and
// libplist read them), and leaves a file every reader takes.
#include <plist/plist.h>

#include <cstdlib>
#include <functional>
#include <iterator>
#include <vector>

#include "PaneHarness.h"
#include "VLRPCustomizeColorsController.h"
#include "VLRPCustomizeHolidaysController.h"
#include "VLRSettingsController.h"
#include "Velloria/QHPreferences.h"

namespace {

using platform::Array;
using platform::Dictionary;
using platform::Value;

const std::string kXMLText = "x\x01\x1F\xEF\xBF\xBE\xEF\xBF\xBFy";
const std::string kBinaryText = kXMLText + std::string("\0z", 2);
// How the XML file spells kXMLText: character references.
const std::string kXMLReferences = "x&#x1;&#31;&#xFFFE;&#xFFFF;y";

// The foreign text in one of four positions; "extra-colors" is the nested
// dictionary, so the colours editor itself loads it.
Dictionary foreignContent(int position, const std::string& text) {
  switch (position) {
    case 0: return Dictionary{{text, "top key"}};
    case 1: return Dictionary{{"top value", text}};
    case 2: return Dictionary{{"extra-colors", Dictionary{{text, "ABCDEF"}}}};
    default: return Dictionary{{"extra-colors", Dictionary{{"Nested", Array{Dictionary{{"v", text}}}}}}};
  }
}

// Whether every entry of `part` is in `whole` (dictionaries compared entry
// by entry, since a route adds to or deletes from the nested one).
bool within(const Dictionary& part, const Dictionary& whole) {
  for (const auto& [key, value] : part) {
    const Value* there = whole.find(key);
    if (!there) return false;
    bool same = value.dictionary() && there->dictionary() ? within(*value.dictionary(), *there->dictionary())
                                                          : value == *there;
    if (!same) return false;
  }
  return true;
}

struct Route {
  const char* name;
  bool domain;  // writes the preference domain, else the widget data file
  std::function<void(pane_test::PaneHarness&)> write;
  std::function<bool(const Dictionary&)> landed;
};

template <class Pane>
void deleteRow(const std::string& name) {
  pane_test::ShownPane<Pane> e;
  for (long i = 0; i < e.rowCount(); ++i) {
    if (e.name(i) == name) {
      e.pane->performDeletionActionForSpecifier(e.pane->specifierAtIndex(i).get());
      return;
    }
  }
  ADD_FAILURE() << "no row " << name;
}

const Value* inKey(const Dictionary& file, const char* key, const char* entry) {
  const Value* d = file.find(key);
  return d && d->dictionary() ? d->dictionary()->find(entry) : nullptr;
}

std::vector<Route> routes() {
  return {
      {"QHPreferenceSetIntForKey", true,
       [](auto&) {
         void* pool = objc_autoreleasePoolPush();
         QHPreferenceSetIntForKey(CFSTR("written"), 7);
         objc_autoreleasePoolPop(pool);
       },
       [](const Dictionary& f) { return f.find("written") && *f.find("written") == Value(7); }},
      {"QHPreferenceSetStringForKey", true,
       [](auto&) { QHPreferenceSetStringForKey(CFSTR("written"), CFSTR("text")); },
       [](const Dictionary& f) { return f.find("written") && *f.find("written") == Value("text"); }},
      {"a switch of a pane", true,
       [](auto&) {
         VLRSettingsController pane;
         auto row = PSSpecifier::preferenceSpecifierNamed("row", &pane, "", "", "", PSSwitchCell, "");
         row->setProperty(Value("written"), "key");
         pane.setPreferenceValue(Value(true), row.get());
       },
       [](const Dictionary& f) { return f.find("written") && *f.find("written") == Value(true); }},
      {"colours editor add", false,
       [](auto&) {
         pane_test::ShownPane<VLRPCustomizeColorsController> e;
         e.enter(1, "New", 2, "123456");
       },
       [](const Dictionary& f) { return inKey(f, "extra-colors", "New") != nullptr; }},
      {"colours editor delete", false, [](auto&) { deleteRow<VLRPCustomizeColorsController>("Del"); },
       [](const Dictionary& f) { return !inKey(f, "extra-colors", "Del"); }},
      {"holidays editor add", false,
       [](auto&) {
         pane_test::ShownPane<VLRPCustomizeHolidaysController> e;
         e.enter(3, "Hol", 4, "0303");
       },
       [](const Dictionary& f) { return inKey(f, "solar-festivals", "0303") != nullptr; }},
      {"holidays editor delete", false, [](auto&) { deleteRow<VLRPCustomizeHolidaysController>("0909"); },
       [](const Dictionary& f) { return !inKey(f, "solar-festivals", "0909"); }},
  };
}

// Entries the delete routes remove; they are no foreign content.
const Dictionary kOwnEntries{{"extra-colors", Dictionary{{"Del", "654321"}}},
                             {"solar-festivals", Dictionary{{"0909", "Dx"}}}};

// The file with the foreign content at `position`, in the encoding asked for.
std::string foreignFile(int position, bool binary) {
  Dictionary content = kOwnEntries;
  for (auto& [key, value] : foreignContent(position, binary ? kBinaryText : "@FOREIGN@")) {
    Value* mine = content.find(key);
    if (mine && value.dictionary()) {
      for (const auto& [k, v] : *value.dictionary()) mine->dictionary()->set(k, v);
    } else {
      content.set(key, value);
    }
  }
  if (binary) return *platform::serializeBinary(content);
  std::string xml = *platform::serializeXML(content);
  xml.replace(xml.find("@FOREIGN@"), 9, kXMLReferences);
  return xml;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void spit(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

bool libplistReads(const std::string& bytes, std::size_t keys) {
  plist_t root = nullptr;
  auto size = static_cast<std::uint32_t>(bytes.size());
  if (bytes.starts_with("bplist00"))
    plist_from_bin(bytes.data(), size, &root);
  else
    plist_from_xml(bytes.data(), size, &root);
  bool ok = root && plist_get_node_type(root) == PLIST_DICT && plist_dict_get_size(root) == keys;
  if (root) plist_free(root);
  return ok;
}

}  // namespace

TEST(ForeignText, EveryRouteWritesAndKeepsForeignText) {
  struct Written {
    std::string what, copy;
    Dictionary file;
  };
  std::vector<Written> written;
  testing_support::TempRoot results;  // outlives each case's device root
  std::string resultsDir = results.path().string();
  int landed = 0, cases = 0;
  for (const Route& route : routes()) {
    for (bool binary : {false, true}) {
      for (int position = 0; position < 4; ++position) {
        std::string what = std::string(route.name) + (binary ? ", binary" : ", XML") + ", position " +
                           std::to_string(position);
        pane_test::PaneHarness harness;
        std::string path = route.domain ? harness.domainFile() : harness.widgetDataFile();
        spit(path, foreignFile(position, binary));
        Dictionary foreign = foreignContent(position, binary ? kBinaryText : kXMLText);
        ASSERT_TRUE(within(foreign, platform::readDictionaryFile(path).value_or(Dictionary()))) << what;

        route.write(harness);
        ++cases;
        std::string bytes = slurp(path);
        std::optional<Value> file = platform::parsePropertyList(bytes);
        ASSERT_TRUE(file && file->dictionary()) << what;
        bool ok = route.landed(*file->dictionary());
        EXPECT_TRUE(ok) << what << ": the write did not land";
        EXPECT_TRUE(within(foreign, *file->dictionary())) << what << ": foreign content changed";
        EXPECT_TRUE(bytes.starts_with("bplist00")) << what;
        EXPECT_TRUE(libplistReads(bytes, file->dictionary()->size())) << what;
        landed += ok;
        std::string copy = resultsDir + "/" + std::to_string(cases) + ".plist";
        spit(copy, bytes);
        written.push_back({what, copy, *file->dictionary()});
      }
    }
  }
  std::printf("%d of %d writes landed beside foreign text XML cannot carry\n", landed, cases);

  // plistlib reads each file as we do: it writes back what it read, and we
  // find the same dictionary there.
  if (std::system("python3 -c 'import plistlib' >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3 with plistlib";
  std::string copyAll = "python3 -c 'import plistlib,glob\nfor f in glob.glob(\"" + resultsDir +
                        "/*.plist\"): plistlib.dump(plistlib.load(open(f,\"rb\")), open(f+\".py\",\"wb\"), "
                        "fmt=plistlib.FMT_BINARY, sort_keys=False)'";
  ASSERT_EQ(std::system(copyAll.c_str()), 0);
  for (const Written& w : written) {
    EXPECT_EQ(platform::readDictionaryFile(w.copy + ".py"), w.file) << w.what << ": plistlib read it otherwise";
  }
}
