#include "platform/name_index.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tornvel {
namespace {

TEST(NameIndexTest, EmptyIndexFindsNothing) {
  NameIndex<int> index;
  EXPECT_EQ(index.find("ABC1"), nullptr);
  EXPECT_EQ(index.find(""), nullptr);
  EXPECT_EQ(index.size(), 0u);
}

TEST(NameIndexTest, KeepsTheFirstValueOfAName) {
  NameIndex<int> index;
  index.insertFirst("ABC1", 1);
  index.insertFirst("ABC1", 2);
  ASSERT_NE(index.find("ABC1"), nullptr);
  EXPECT_EQ(*index.find("ABC1"), 1);
  EXPECT_EQ(index.size(), 1u);
}

TEST(NameIndexTest, ComparesWholeNamesExactly) {
  NameIndex<int> index;
  index.insertFirst("ABC1", 1);
  EXPECT_EQ(index.find("ABC"), nullptr);
  EXPECT_EQ(index.find("ABC12"), nullptr);
  EXPECT_EQ(index.find("abc1"), nullptr);
  EXPECT_EQ(index.find("ABC1 "), nullptr);
  EXPECT_EQ(index.find(std::string_view("ABC1\0", 5)), nullptr);
}

TEST(NameIndexTest, TheEmptyNameIsANameLikeAnyOther) {
  NameIndex<int> index;
  EXPECT_EQ(index.find(""), nullptr);
  index.insertFirst("", 7);
  ASSERT_NE(index.find(""), nullptr);
  EXPECT_EQ(*index.find(""), 7);
  EXPECT_EQ(index.find(" "), nullptr);
}

// Names of every length up to 24 that differ from each other in a single
// byte, at every position: the hash and the comparison read each byte.
TEST(NameIndexTest, TellsApartNamesThatDifferInOneByte) {
  NameIndex<int> index;
  std::vector<std::string> names;
  for (std::size_t length = 1; length <= 24; ++length) {
    for (std::size_t position = 0; position < length; ++position) {
      std::string name(length, 'Q');
      name[position] = 'Z';
      names.push_back(name);
    }
    names.emplace_back(length, 'Q');
  }
  for (std::size_t i = 0; i < names.size(); ++i) index.insertFirst(names[i], static_cast<int>(i));
  ASSERT_EQ(index.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int* found = index.find(names[i]);
    ASSERT_NE(found, nullptr) << names[i];
    EXPECT_EQ(*found, static_cast<int>(i)) << names[i];
  }
  EXPECT_EQ(index.find(std::string(25, 'Q')), nullptr);
  EXPECT_EQ(index.find("QQQQQQQY"), nullptr);
}

// Grows past several table sizes and still finds every name it was given and
// none it was not, names as the exceptions of a large control file look.
TEST(NameIndexTest, FindsEveryNameAfterGrowing) {
  NameIndex<std::size_t> index;
  char buffer[16];
  for (std::size_t i = 0; i < 2000; ++i) {
    std::snprintf(buffer, sizeof buffer, "LKWT%04zu", i);
    index.insertFirst(buffer, i);
  }
  EXPECT_EQ(index.size(), 2000u);
  for (std::size_t i = 0; i < 2000; ++i) {
    std::snprintf(buffer, sizeof buffer, "LKWT%04zu", i);
    const std::size_t* found = index.find(buffer);
    ASSERT_NE(found, nullptr) << buffer;
    EXPECT_EQ(*found, i);
    std::snprintf(buffer, sizeof buffer, "OLDX%04zu", i);
    EXPECT_EQ(index.find(buffer), nullptr) << buffer;
  }
}

TEST(NameIndexTest, ClearForgetsEverything) {
  NameIndex<int> index;
  index.insertFirst("ABC1", 1);
  index.clear();
  EXPECT_EQ(index.find("ABC1"), nullptr);
  index.insertFirst("ABC1", 2);
  ASSERT_NE(index.find("ABC1"), nullptr);
  EXPECT_EQ(*index.find("ABC1"), 2);
}

TEST(NameIndexTest, SameNameComparesLengthAndEveryByte) {
  EXPECT_TRUE(sameName("", ""));
  EXPECT_TRUE(sameName("ABCDEFGHIJ", "ABCDEFGHIJ"));
  EXPECT_FALSE(sameName("ABCDE", "ABCDEF"));
  for (std::size_t length = 1; length <= 12; ++length) {
    std::string a(length, 'x');
    for (std::size_t position = 0; position < length; ++position) {
      std::string b = a;
      b[position] = 'y';
      EXPECT_FALSE(sameName(a, b)) << length << " " << position;
    }
  }
}

}  // namespace
}  // namespace tornvel
