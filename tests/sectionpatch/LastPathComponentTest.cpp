// The split rule the patch matches paths by.

#include "LastPathComponent.h"

#include <gtest/gtest.h>

namespace {

using sectionpatch::lastPathComponent;

TEST(LastPathComponent, IsTheTextAfterTheLastSeparator) {
  EXPECT_EQ(lastPathComponent("/System/Library/WeeAppPlugins/Velloria.bundle"), "Velloria.bundle");
  EXPECT_EQ(lastPathComponent("Library/Velloria.bundle"), "Velloria.bundle");
  EXPECT_EQ(lastPathComponent("//a///b"), "b");
}

TEST(LastPathComponent, OfAPathWithoutSeparatorIsThePath) {
  EXPECT_EQ(lastPathComponent("Velloria.bundle"), "Velloria.bundle");
  EXPECT_EQ(lastPathComponent(" "), " ");
}

TEST(LastPathComponent, OfATrailingSeparatorIsASeparator) {
  EXPECT_EQ(lastPathComponent("/Library/Velloria.bundle/"), "/");
  EXPECT_EQ(lastPathComponent("Velloria.bundle//"), "/");
}

TEST(LastPathComponent, OfTheRootIsTheRoot) {
  EXPECT_EQ(lastPathComponent("/"), "/");
  EXPECT_EQ(lastPathComponent("///"), "/");
}

TEST(LastPathComponent, OfTheEmptyPathIsNothing) { EXPECT_FALSE(lastPathComponent("").has_value()); }

TEST(LastPathComponent, KeepsBytesBeyondAscii) {
  EXPECT_EQ(lastPathComponent("/a/Vellöria.bundle"), "Vellöria.bundle");
  EXPECT_EQ(lastPathComponent(std::string_view("/a/b\0c", 6)), std::string_view("b\0c", 3));
}

}  // namespace
