// Hostile property lists: whatever the bytes, reading ends quickly with a
// value or with nothing — no crash, no stack exhaustion, no runaway memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PlistTestSupport.h"
#include "TempRoot.h"
#include "platform/plist/PropertyList.h"

using platform::Value;

namespace {

// A binary list of objects given as encoded bytes; references are one byte
// wide unless told, offsets four bytes.
std::string binaryList(const std::vector<std::string>& objects, std::uint64_t top = 0, unsigned refSize = 1,
                       std::uint64_t countOverride = 0, std::uint64_t tableOverride = 0) {
  std::string out = "bplist00";
  std::vector<std::uint32_t> offsets;
  for (const auto& o : objects) {
    offsets.push_back(static_cast<std::uint32_t>(out.size()));
    out += o;
  }
  std::uint64_t table = out.size();
  for (auto off : offsets) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((off >> shift) & 0xFF);
  }
  std::string trailer(6, '\0');
  trailer += static_cast<char>(4);
  trailer += static_cast<char>(refSize);
  auto be64 = [](std::uint64_t v) {
    std::string s;
    for (int shift = 56; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
    return s;
  };
  trailer += be64(countOverride ? countOverride : objects.size());
  trailer += be64(top);
  trailer += be64(tableOverride ? tableOverride : table);
  return out + trailer;
}

std::string array1(std::initializer_list<unsigned char> refs) {
  std::string s(1, static_cast<char>(0xA0 | refs.size()));
  for (auto r : refs) s += static_cast<char>(r);
  return s;
}

std::optional<Value> parse(const std::string& bytes) { return platform::parsePropertyList(bytes); }

}  // namespace

TEST(PropertyListHostileTest, BinaryReferencesAreChecked) {
  std::string str = "\x51x";  // ASCII string "x"
  EXPECT_EQ(*parse(binaryList({array1({1}), str})), Value(platform::Array{"x"}));
  EXPECT_FALSE(parse(binaryList({array1({7}), str})));            // reference past the objects
  EXPECT_FALSE(parse(binaryList({array1({0})})));                 // an array holding itself
  EXPECT_FALSE(parse(binaryList({array1({1}), array1({0})})));    // a longer cycle
  EXPECT_FALSE(parse(binaryList({array1({1}), str}, 5)));         // top object out of range
  EXPECT_FALSE(parse(binaryList({array1({1}), str}, 0, 1, 1000)));  // more objects than offsets
  EXPECT_FALSE(parse(binaryList({array1({1}), str}, 0, 1, 0, 1u << 30)));  // table past the end
  EXPECT_FALSE(parse(binaryList({"\x5Fx", str})));               // length marker missing
  EXPECT_FALSE(parse(binaryList({"\x5F\x13\x7F\xFF\xFF\xFF\xFF\xFF\xFF\xFFx"})));  // huge length
  EXPECT_FALSE(parse(binaryList({"\x80\x01"})));                  // UIDs are not values
  EXPECT_FALSE(parse(binaryList({"\xD1\x01\x01", "\x10\x05"})));  // a key that is not a string
  EXPECT_FALSE(parse(binaryList({std::string("\x61\xD8\x00", 3)})));  // unpaired surrogate
  std::string whole = binaryList({array1({1}), str});
  for (std::size_t cut = 6; cut < whole.size(); ++cut) EXPECT_FALSE(parse(whole.substr(0, cut))) << cut;
}

TEST(PropertyListHostileTest, SharedObjectsCannotExplode) {
  // Forty arrays, each holding the next twice: 2^40 values if expanded.
  std::vector<std::string> objects;
  for (unsigned char i = 0; i < 40; ++i) objects.push_back(array1({static_cast<unsigned char>(i + 1), static_cast<unsigned char>(i + 1)}));
  objects.push_back("\x51x");
  EXPECT_FALSE(parse(binaryList(objects)));
}

TEST(PropertyListHostileTest, DeepNestingIsRefusedWithoutRecursing) {
  const int depth = 100000;
  std::string xml = "<?xml version=\"1.0\"?><plist>";
  for (int i = 0; i < depth; ++i) xml += "<array>";
  for (int i = 0; i < depth; ++i) xml += "</array>";
  EXPECT_FALSE(parse(xml + "</plist>"));

  std::vector<std::string> objects;
  for (std::uint32_t i = 0; i < depth; ++i) {
    std::uint32_t next = i + 1;
    std::string a = "\xA1";
    for (int shift = 24; shift >= 0; shift -= 8) a += static_cast<char>((next >> shift) & 0xFF);
    objects.push_back(a);
  }
  objects.push_back("\x51x");
  EXPECT_FALSE(parse(binaryList(objects, 0, 4)));

  // Up to the limit, nesting is fine.
  std::string ok = "<?xml version=\"1.0\"?><plist>";
  for (int i = 0; i < 500; ++i) ok += "<array>";
  for (int i = 0; i < 500; ++i) ok += "</array>";
  EXPECT_TRUE(parse(ok + "</plist>"));
}

TEST(PropertyListHostileTest, MalformedXMLReadsAsNothing) {
  std::string good = *platform::serializeXML(platform::Dictionary{{"a", platform::Array{1, "b"}}});
  for (std::size_t cut = 1; cut < good.size(); cut += 7) EXPECT_FALSE(parse(good.substr(0, cut))) << cut;
  EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><dict><key>a</key></dict></plist>"));
  EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><array><key>a</key></array></plist>"));
  EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><integer>1</real></plist>"));
  EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><!-- unterminated"));
  EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><dict><string>a</string></dict></plist>"));
  EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><string>a<true/></string></plist>"));
  EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><blink/></plist>"));
  EXPECT_FALSE(parse(""));
}

TEST(PropertyListHostileTest, OversizedFilesAreNotRead) {
  testing_support::TempRoot root;
  std::string path = root.file("/huge.plist");
  {
    std::ofstream(path) << "<?xml version=\"1.0\"?><plist><string>";
  }
  std::filesystem::resize_file(path, 300ull << 20);  // sparse: no real bytes written
  EXPECT_FALSE(platform::readPropertyListFile(path));
  platform::PropertyListLimits small;
  small.maxBytes = 16;
  EXPECT_FALSE(platform::parsePropertyList("<?xml version=\"1.0\"?><plist><true/></plist>", small));
}

TEST(PropertyListHostileTest, EveryCorpusFileReadsOrIsRefused) {
  std::filesystem::path corpus = VELLORIA_CORPUS_DIR;
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int read = 0, refused = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file() || entry.path().filename() == "README.md") continue;
    auto value = platform::readPropertyListFile(entry.path().string());
    (value ? read : refused)++;
    // Whatever reads must write and read back the same.
    if (value) {
      if (auto xml = platform::serializeXML(*value)) {
        auto again = platform::parsePropertyList(*xml);
        ASSERT_TRUE(again) << entry.path();
        EXPECT_EQ(*again, *value) << entry.path();
      }
    }
  }
  EXPECT_GT(read, 0);
  EXPECT_GT(refused, 0);
  // Well-formed files of every offset and reference width read.
  for (int width = 1; width <= 8; ++width) {
    std::string suffix = width == 1 ? "byte.bplist" : "bytes.bplist";
    EXPECT_TRUE(platform::readPropertyListFile((corpus / "samples" / ("off" + std::to_string(width) + suffix)).string()));
    EXPECT_TRUE(platform::readPropertyListFile((corpus / "samples" / ("dictref" + std::to_string(width) + suffix)).string()));
  }
  EXPECT_FALSE(platform::readPropertyListFile((corpus / "samples" / "recursion.bplist").string()));
  EXPECT_FALSE(platform::readPropertyListFile((corpus / "samples" / "malformed_dict.bplist").string()));
}
