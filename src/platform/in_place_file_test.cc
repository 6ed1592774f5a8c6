#include "platform/in_place_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace tornvel {
namespace {

using State = InPlaceFile::State;

// A pipe gets nothing until the end, then the whole text; finishing again
// writes nothing more.
TEST(InPlaceFileTest, WritesOnlyAtTheEnd) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
  {
    InPlaceFile file;
    EXPECT_EQ(file.state(), State::kClosed);
    ASSERT_TRUE(file.open("/dev/fd/" + std::to_string(ends[1])));
    EXPECT_EQ(file.state(), State::kGathering);
    file.write("one\n");
    file.write("two\n");
    char byte = 0;
    EXPECT_EQ(::read(ends[0], &byte, 1), -1);
    EXPECT_TRUE(file.finish());
    EXPECT_EQ(file.state(), State::kWritten);
    file.write("three\n");
    EXPECT_TRUE(file.finish());
  }
  ::close(ends[1]);
  char text[32] = {};
  EXPECT_EQ(::read(ends[0], text, sizeof text), 8);
  EXPECT_EQ(std::string(text), "one\ntwo\n");
  ::close(ends[0]);
}

}  // namespace
}  // namespace tornvel
#endif
