// The binary writer and the choice of encoding: what we write in binary reads
// back identically with our reader, with Python's plistlib and with libplist;
// files stay XML, byte for byte, unless XML cannot carry their content.
#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "PlistTestSupport.h"
#include "TempRoot.h"
#include "platform/PropertyList.h"

using platform::Array;
using platform::Data;
using platform::Date;
using platform::Dictionary;
using platform::Value;
using testing_support::python;
using testing_support::slurp;

namespace {

// Every kind of value at every width the encoding distinguishes, with text
// XML cannot carry, repeated strings and keys (one of them shared far beyond
// the size of the file), and enough objects and bytes for wider references
// and offsets.
Value everything() {
  Data bytes;
  for (int i = 0; i < 70000; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 7));
  Array many;
  for (int i = 0; i < 300; ++i) many.push_back("item " + std::to_string(i));
  return Dictionary{
      {"ints", Array{0, 255, 256, 65535, 65536, 4294967295u, 4294967296LL, std::numeric_limits<long long>::max(), -1,
                     std::numeric_limits<long long>::min(), 1ULL << 63,
                     std::numeric_limits<unsigned long long>::max()}},
      {"reals", Array{0.1, -0.0, 2.5, 1e300, -std::numeric_limits<double>::infinity()}},
      {"dates", Array{Date{12.5}, Date{700000000.25}, Date{-1e9}, Date{0}}},
      {"data", Array{Data{}, bytes}},
      {"text", Array{"", "ascii", "caf\xC3\xA9", "\xF0\x9F\x8E\x89 party", std::string("\x01\x1F\0end", 6),
                     "\xEF\xBF\xBE\xEF\xBF\xBF", std::string(40, 'x')}},
      {"bools", Array{true, false}},
      {"ascii", Dictionary{{"ascii", "ascii"}, {"caf\xC3\xA9", Array{Dictionary{{"ascii", 1}}}}}},
      {"many", many},
      {"shared", Array(2000, Value(std::string(1000, 's')))},
      {std::string("key\x02", 4), Dictionary{{"\xEF\xBF\xBF", "nested"}}},
  };
}

// Whether libplist read the value that v holds: integers compared as their
// 64 bits (libplist 2.2 keeps no sign), reals bit for bit, dates to the
// microsecond it gives (its split of a date before 2001 into seconds and
// microseconds drops the fraction's sign, so such dates are whole here),
// strings up to a U+0000, where libplist 2.2 ends them.
bool sameAsLibplist(const Value& v, plist_t node) {
  switch (v.type()) {
    case Value::Type::Dictionary: {
      if (plist_get_node_type(node) != PLIST_DICT || plist_dict_get_size(node) != v.dictionary()->size()) return false;
      for (const auto& [key, item] : *v.dictionary()) {
        plist_t found = plist_dict_get_item(node, key.c_str());
        if (!found || !sameAsLibplist(item, found)) return false;
      }
      return true;
    }
    case Value::Type::Array: {
      if (plist_get_node_type(node) != PLIST_ARRAY || plist_array_get_size(node) != v.array()->size()) return false;
      for (std::uint32_t i = 0; i < v.array()->size(); ++i) {
        if (!sameAsLibplist((*v.array())[i], plist_array_get_item(node, i))) return false;
      }
      return true;
    }
    case Value::Type::String: {
      std::uint64_t length = 0;
      const char* text = plist_get_node_type(node) == PLIST_STRING ? plist_get_string_ptr(node, &length) : nullptr;
      std::string_view expected = *v.string();
      return text && std::string_view(text, length) == expected.substr(0, expected.find('\0'));
    }
    case Value::Type::Integer: {
      std::uint64_t u = 0;
      if (plist_get_node_type(node) != PLIST_UINT) return false;
      plist_get_uint_val(node, &u);
      return u == static_cast<std::uint64_t>(v.int64Value());
    }
    case Value::Type::Real: {
      double d = 0, expected = v.doubleValue();
      if (plist_get_node_type(node) != PLIST_REAL) return false;
      plist_get_real_val(node, &d);
      return std::memcmp(&d, &expected, sizeof d) == 0;
    }
    case Value::Type::Boolean: {
      std::uint8_t b = 0;
      if (plist_get_node_type(node) != PLIST_BOOLEAN) return false;
      plist_get_bool_val(node, &b);
      return (b != 0) == *v.boolean();
    }
    case Value::Type::Data: {
      std::uint64_t length = 0;
      const char* bytes = plist_get_node_type(node) == PLIST_DATA ? plist_get_data_ptr(node, &length) : nullptr;
      return bytes && length == v.data()->size() && (length == 0 || std::memcmp(bytes, v.data()->data(), length) == 0);
    }
    case Value::Type::Date: {
      std::int32_t sec = 0, usec = 0;
      if (plist_get_node_type(node) != PLIST_DATE) return false;
      plist_get_date_val(node, &sec, &usec);
      return std::fabs(sec + usec / 1e6 - v.date()->seconds) < 1e-6;
    }
    default: return false;
  }
}

}  // namespace

TEST(BinaryPlistWriteTest, ReadsBackIdenticallyEverywhere) {
  Value original = everything();
  auto binary = platform::serializeBinary(original);
  ASSERT_TRUE(binary);
  ASSERT_TRUE(binary->starts_with("bplist00"));
  // Our reader: equal values, and the same bytes again (so types, signs and
  // bits of reals survive, too).
  auto back = platform::parsePropertyList(*binary);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, original);
  EXPECT_EQ(platform::serializeBinary(*back), binary);
  // Equal strings and keys are written once.
  EXPECT_EQ(binary->find("\x55" "ascii"), binary->rfind("\x55" "ascii"));

  // libplist reads every value.
  plist_t root = nullptr;
  plist_from_bin(binary->data(), static_cast<std::uint32_t>(binary->size()), &root);
  ASSERT_TRUE(root);
  EXPECT_TRUE(sameAsLibplist(original, root));
  plist_free(root);

  // plistlib reads it and writes it again (in binary, keeping order): we read
  // that back as the very same value.
  if (!testing_support::havePython()) GTEST_SKIP() << "python3 with plistlib is not installed";
  testing_support::TempRoot dir;
  std::string path = dir.file("/ours.plist"), copy = dir.file("/theirs.plist");
  testing_support::spit(path, *binary);
  ASSERT_TRUE(python("import plistlib; d=plistlib.load(open(\"" + path + "\",\"rb\")); plistlib.dump(d, open(\"" +
                     copy + "\",\"wb\"), fmt=plistlib.FMT_BINARY, sort_keys=False)"));
  auto theirs = platform::readPropertyListFile(copy);
  ASSERT_TRUE(theirs);
  EXPECT_EQ(platform::serializeBinary(*theirs), binary);
}

TEST(BinaryPlistWriteTest, FilesAreBinaryOnlyWhileXMLCannotCarryThem) {
  testing_support::TempRoot dir;
  std::string path = dir.file("/f.plist");
  Dictionary plain{{"a", "x"}, {"n", Dictionary{{"k", Array{1, 2.5, Date{86400}}}}}};
  auto writesXML = [&](const Value& v) {
    return platform::writePropertyListFile(path, v) && slurp(path) == platform::serializeXML(v);
  };
  ASSERT_TRUE(writesXML(plain));
  const Value foreign[] = {
      Dictionary{{std::string("\0top", 4), "x"}},
      Dictionary{{"top", "\x1F"}},
      Dictionary{{"n", Dictionary{{"\xEF\xBF\xBE", 1}}}},
      Dictionary{{"n", Array{Dictionary{{"k", "\xEF\xBF\xBF\x0B"}}}}},
      Dictionary{{"when", Date{0.5}}},
  };
  for (const Value& v : foreign) {
    ASSERT_TRUE(platform::writePropertyListFile(path, v));
    std::string bytes = slurp(path);
    EXPECT_TRUE(bytes.starts_with("bplist00"));
    EXPECT_EQ(platform::parsePropertyList(bytes), v);
    EXPECT_TRUE(writesXML(plain)) << "back to XML once XML can carry the content";
  }
  EXPECT_FALSE(platform::isPropertyListValue(Array{std::string("\xC3")}));
  EXPECT_FALSE(platform::isPropertyListValue(Dictionary{{"k", Value()}}));
  EXPECT_FALSE(platform::writePropertyListFile(path, Dictionary{{std::string("\xFF"), 1}}));
  EXPECT_EQ(slurp(path), platform::serializeXML(plain));
}
