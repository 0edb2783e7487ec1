// Reading and writing property lists: values survive the round trip, the
// written text is Foundation's, scalars read as Core Foundation reads them,
// and an independent implementation (Python's plistlib) agrees with us in
// both directions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PlistTestSupport.h"
#include "TempRoot.h"
#include "platform/plist/PropertyList.h"

using platform::Array;
using platform::Dictionary;
using platform::Value;
using testing_support::python;
using testing_support::slurp;
using testing_support::spit;

namespace {

std::optional<Value> parse(const std::string& text) { return platform::parsePropertyList(text); }

std::optional<Value> parseXMLBody(const std::string& body) {
  return parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n");
}

Value everyType() {
  return Dictionary{
      {"string", "text"},
      {"empty string", ""},
      {"zero", 0},
      {"negative", -42},
      {"int64 min", std::numeric_limits<long long>::min()},
      {"uint64 max", std::numeric_limits<unsigned long long>::max()},
      {"real", 0.1},
      {"large real", 1.5e300},
      {"true", true},
      {"false", false},
      {"data", platform::Data{0, 1, 2, 0xFE, 0xFF}},
      {"long data", platform::Data(200, 0xAB)},
      {"date", platform::Date{-86400.0 * 365}},
      {"array", Array{1, "two", Array{}, Dictionary{}}},
      {"nested", Dictionary{{"z", 1}, {"a", Array{Dictionary{{"k", "v"}}}}}},
  };
}

}  // namespace

TEST(PropertyListTest, EveryTypeRoundTripsInOrder) {
  Value original = everyType();
  auto xml = platform::serializeXML(original);
  ASSERT_TRUE(xml);
  auto back = parse(*xml);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, original);
  // Keys come back in the order written, not sorted.
  std::vector<std::string> keys;
  for (const auto& [key, value] : *back->dictionary()) keys.push_back(key);
  EXPECT_EQ(keys.front(), "string");
  EXPECT_EQ(keys.back(), "nested");
  EXPECT_TRUE(back->dictionary()->find("uint64 max")->isUnsignedBig());
  EXPECT_TRUE(back->dictionary()->find("true")->isBoolean());
}

TEST(PropertyListTest, WritesFoundationLayout) {
  Value v = Dictionary{{"a", "b<&>"}, {"list", Array{1, true}}, {"empty", Dictionary{}}};
  EXPECT_EQ(*platform::serializeXML(v),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
            "<plist version=\"1.0\">\n"
            "<dict>\n"
            "\t<key>a</key>\n"
            "\t<string>b&lt;&amp;&gt;</string>\n"
            "\t<key>list</key>\n"
            "\t<array>\n"
            "\t\t<integer>1</integer>\n"
            "\t\t<true/>\n"
            "\t</array>\n"
            "\t<key>empty</key>\n"
            "\t<dict/>\n"
            "</dict>\n"
            "</plist>\n");
}

TEST(PropertyListTest, IntegersReadAsDecimalLikeCoreFoundation) {
  EXPECT_EQ(*parseXMLBody("<integer>010</integer>"), Value(10));
  EXPECT_EQ(*parseXMLBody("<integer>-010</integer>"), Value(-10));
  EXPECT_EQ(*parseXMLBody("<integer> 0x1F </integer>"), Value(31));
  EXPECT_EQ(*parseXMLBody("<integer>+7</integer>"), Value(7));
  auto big = parseXMLBody("<integer>18446744073709551615</integer>");
  ASSERT_TRUE(big);
  EXPECT_TRUE(big->isUnsignedBig());
  EXPECT_EQ(*parseXMLBody("<integer>-9223372036854775808</integer>"), Value(std::numeric_limits<long long>::min()));
  // Out of range or not a number: the whole list reads as nothing.
  EXPECT_FALSE(parseXMLBody("<integer>18446744073709551616</integer>"));
  EXPECT_FALSE(parseXMLBody("<integer>-9223372036854775809</integer>"));
  EXPECT_FALSE(parseXMLBody("<integer>1.5</integer>"));
  EXPECT_FALSE(parseXMLBody("<integer></integer>"));
  EXPECT_FALSE(parseXMLBody("<array><integer>1</integer><integer>x</integer></array>"));
}

TEST(PropertyListTest, ScalarsInsideArraysKeepTheirOwnText) {
  auto v = parseXMLBody(
      "<dict><key>a</key><array><integer>010</integer><real>2.5</real><!-- <integer>99</integer> -->"
      "<string><![CDATA[<integer>5</integer>]]></string><date>2001-01-02T00:00:00Z</date>"
      "<integer>3</integer></array></dict>");
  ASSERT_TRUE(v);
  Array expected{10, 2.5, "<integer>5</integer>", platform::Date{86400}, 3};
  EXPECT_EQ(*v->dictionary()->find("a"), Value(expected));
}

TEST(PropertyListTest, DatesAndRealsNeverAbort) {
  EXPECT_EQ(*parseXMLBody("<date>2001-01-01T00:00:00Z</date>"), Value(platform::Date{0}));
  EXPECT_EQ(*parseXMLBody("<date>1970-01-01T00:00:00Z</date>"), Value(platform::Date{-978307200}));
  for (const char* bad : {"<date>yesterday</date>", "<date>2001-13-01T00:00:00Z</date>", "<date></date>",
                          "<date>9999999999-01-01T00:00:00Z</date>", "<real>1e</real>", "<real>abc</real>"}) {
    EXPECT_FALSE(parseXMLBody(bad)) << bad;
  }
  EXPECT_TRUE(std::isinf(parseXMLBody("<real>-infinity</real>")->doubleValue()));
  EXPECT_TRUE(std::isnan(parseXMLBody("<real>nan</real>")->doubleValue()));
  Value reals = Array{0.1, -2.0, 1e-300, std::numeric_limits<double>::infinity()};
  EXPECT_EQ(*parse(*platform::serializeXML(reals)), reals);
}

TEST(PropertyListTest, RefusesWhatAFileCannotHold) {
  EXPECT_FALSE(platform::serializeXML(Value()));
  EXPECT_FALSE(platform::serializeXML(Array{Value()}));
  EXPECT_FALSE(platform::serializeXML(Value(std::make_shared<platform::Object>())));
  EXPECT_FALSE(platform::serializeXML(Value(std::string("bad \xFF byte"))));
  EXPECT_FALSE(platform::serializeXML(Value(std::string("bell \x07"))));
  EXPECT_FALSE(platform::serializeXML(Dictionary{{std::string("key\x01"), 1}}));
  EXPECT_FALSE(platform::serializeXML(Value(std::string("\xEF\xBF\xBF"))));  // U+FFFF
  // Strings holding invalid UTF-8 are refused when read, too.
  EXPECT_FALSE(parseXMLBody("<string>\xC3</string>"));

  testing_support::TempRoot root;
  std::string path = root.file("/f.plist");
  ASSERT_TRUE(platform::writePropertyListFile(path, Dictionary{{"kept", 1}}));
  std::string before = slurp(path);
  EXPECT_FALSE(platform::writePropertyListFile(path, Dictionary{{"bad", std::string("\xFF")}}));
  EXPECT_EQ(slurp(path), before);
}

TEST(PropertyListTest, HostileTextRoundTripsThroughPlistlib) {
  if (!testing_support::havePython()) GTEST_SKIP() << "python3 with plistlib is not installed";
  testing_support::TempRoot root;
  std::string path = root.file("/hostile.plist");
  Dictionary hostile{
      {"lt", "a<b"},          {"amp", "&amp; & &#38;"},         {"cdata end", "]]> ]]>"},
      {"tab", "a\tb"},        {"newline", "a\nb"},              {"carriage return", "a\r\nb\r"},
      {"emoji", "\xF0\x9F\x8E\x89 party"}, {"accents", "\xC3\xA9t\xC3\xA9 \xE6\x98\xA5\xE8\x8A\x82"},
      {"long", std::string(100 * 1024, 'x') + "<&>"}, {"<key & ]]>", "k"}, {"spaces", "  both ends  "},
  };
  ASSERT_TRUE(platform::writePropertyListFile(path, hostile));

  // plistlib reads exactly what we wrote: every key and value, compared
  // byte for byte as hex.
  auto hexFromPython = python("import plistlib,sys; d=plistlib.load(open(\"" + path +
                              "\",\"rb\")); sys.stdout.write(\"\\n\".join(k.encode().hex()+\"=\"+d[k].encode().hex() "
                              "for k in d))");
  ASSERT_TRUE(hexFromPython);
  std::string ours;
  auto hex = [](const std::string& s) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
      out += digits[c >> 4];
      out += digits[c & 15];
    }
    return out;
  };
  for (const auto& [k, v] : hostile) ours += (ours.empty() ? "" : "\n") + hex(k) + "=" + hex(*v.string());
  EXPECT_EQ(*hexFromPython, ours);

  // ...and we read what plistlib writes, in XML and in binary.
  for (const char* format : {"FMT_XML", "FMT_BINARY"}) {
    std::string copy = root.file(std::string("/copy-") + format);
    ASSERT_TRUE(python("import plistlib; d=plistlib.load(open(\"" + path + "\",\"rb\")); plistlib.dump(d, open(\"" +
                       copy + "\",\"wb\"), fmt=plistlib." + format + ", sort_keys=False)"));
    auto back = platform::readPropertyListFile(copy);
    ASSERT_TRUE(back) << format;
    Dictionary expected = hostile;
    if (std::string_view(format) == "FMT_XML") {
      // plistlib's XML writer turns carriage returns into line feeds.
      expected.set("carriage return", "a\nb\n");
    }
    EXPECT_EQ(*back, Value(expected)) << format;
  }
}

TEST(PropertyListTest, ReadsBinaryListsWrittenByPlistlib) {
  if (!testing_support::havePython()) GTEST_SKIP() << "python3 with plistlib is not installed";
  testing_support::TempRoot root;
  std::string path = root.file("/binary.plist");
  ASSERT_TRUE(python(
      "import plistlib,datetime; plistlib.dump({\"neg\": -5, \"big\": 2**64-1, \"min\": -2**63, \"byte\": 200, "
      "\"real\": 0.25, \"t\": True, \"f\": False, \"data\": bytes(range(40)), "
      "\"date\": datetime.datetime(2001,1,2), \"uni\": \"\\u00e9\\U0001F600\", \"list\": [1, [2, {}]], "
      "\"shared\": [\"same\", \"same\", \"same\"]}, open(\"" + path + "\",\"wb\"), fmt=plistlib.FMT_BINARY, "
      "sort_keys=False)"));
  auto v = platform::readPropertyListFile(path);
  ASSERT_TRUE(v);
  Value expected = Dictionary{
      {"neg", -5},
      {"big", std::numeric_limits<unsigned long long>::max()},
      {"min", std::numeric_limits<long long>::min()},
      {"byte", 200},
      {"real", 0.25},
      {"t", true},
      {"f", false},
      {"data", [] {
         platform::Data d;
         for (int i = 0; i < 40; ++i) d.push_back(static_cast<std::uint8_t>(i));
         return d;
       }()},
      {"date", platform::Date{86400}},
      {"uni", "\xC3\xA9\xF0\x9F\x98\x80"},
      {"list", Array{1, Array{2, Dictionary{}}}},
      {"shared", Array{"same", "same", "same"}},
  };
  EXPECT_EQ(*v, expected);
  EXPECT_TRUE(v->dictionary()->find("big")->isUnsignedBig());
}

TEST(PropertyListTest, DictionaryFilesNeedADictionaryRoot) {
  testing_support::TempRoot root;
  std::string path = root.file("/x.plist");
  EXPECT_FALSE(platform::readDictionaryFile(path));  // missing
  ASSERT_TRUE(platform::writePropertyListFile(path, Array{1, 2}));
  EXPECT_TRUE(platform::readPropertyListFile(path));
  EXPECT_FALSE(platform::readDictionaryFile(path));
  spit(path, "{ a = b; list = (1, \"two\"); }");  // the old text format also reads
  auto text = platform::readDictionaryFile(path);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text->find("a"), Value("b"));
}

TEST(PropertyListTest, FailedReadsSayWhy) {
  testing_support::TempRoot root;
  std::string path = root.file("/y.plist");
  auto why = [&](const std::string& p, platform::PropertyListLimits limits = {}) {
    std::string reason;
    EXPECT_FALSE(platform::readPropertyListFile(p, reason, limits)) << p;
    return reason;
  };
  EXPECT_EQ(why(path), "no such file");
  EXPECT_EQ(why(root.path().string()), "not a regular file");
  spit(path, "");
  EXPECT_EQ(why(path), "empty");
  spit(path, "<plist><dict><key>a</key></dict></plist>");
  EXPECT_EQ(why(path), "malformed XML property list");
  EXPECT_EQ(why(path, {.maxBytes = 8}), "larger than 8 bytes");
  spit(path, "bplist00\x01\x02");
  EXPECT_EQ(why(path), "malformed binary property list");
  spit(path, "{ a = ");
  EXPECT_EQ(why(path), "not a property list");
  spit(path, "( a, b )");
  std::string reason;
  EXPECT_EQ(platform::readPropertyListFile(path, reason), platform::readPropertyListFile(path));
  EXPECT_EQ(platform::parsePropertyList("( a, b )", reason), Value(Array{"a", "b"}));
}
