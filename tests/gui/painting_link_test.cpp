// The link that keeps the windows painted: the same waits and reads as the
// link inside it, cut into slices with a paint between them.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "ui/painting_link.h"

namespace ejscope::testing {
namespace {

// A link whose data becomes readable after a number of readiness polls.
class polled_link final : public gateway_link {
 public:
  int ready_after_polls = -1;  // -1: never
  bool open_ = true;
  std::vector<int> waits;      // every wait_readable's milliseconds
  int reads = 0;
  int timeout = 0;

  void set_host(const std::string&) override {}
  void set_port(std::uint16_t) override {}
  void set_timeout_ms(int ms) override { timeout = ms; }
  void open() override { open_ = true; }
  void close() override { open_ = false; }
  bool is_open() const override { return open_; }
  std::size_t write(const void*, std::size_t count) override { return count; }
  std::size_t read(void* buffer, std::size_t max) override {
    ++reads;
    if (!ready() || max == 0) return 0;
    static_cast<char*>(buffer)[0] = 'R';
    return 1;
  }
  bool wait_readable(int ms) override {
    waits.push_back(ms);
    if (!open_) return false;
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return ready();
  }

 private:
  bool ready() const {
    return ready_after_polls >= 0 && static_cast<int>(waits.size()) > ready_after_polls;
  }
};

TEST(PaintingLink, ALongWaitIsCutIntoSlicesWithPaintsBetween) {
  polled_link inner;
  int paints = 0;
  ui::painting_link link(inner, [&] { ++paints; });
  EXPECT_FALSE(link.wait_readable(230));
  EXPECT_GE(inner.waits.size(), 2u);
  int asked = 0;
  for (int ms : inner.waits) {
    EXPECT_LE(ms, ui::painting_link::slice_ms);
    asked += ms;
  }
  EXPECT_LE(asked, 230);  // never longer than the wait it stands for
  EXPECT_EQ(paints, static_cast<int>(inner.waits.size()) - 1);
}

TEST(PaintingLink, ReadyDataEndsTheWaitAndIsReadAtOnce) {
  polled_link inner;
  inner.ready_after_polls = 2;
  int paints = 0;
  ui::painting_link link(inner, [&] { ++paints; });
  link.set_timeout_ms(1000);
  EXPECT_EQ(inner.timeout, 1000);
  char byte = 0;
  EXPECT_EQ(link.read(&byte, 1), 1u);
  EXPECT_EQ(byte, 'R');
  EXPECT_EQ(inner.waits.size(), 3u);
  EXPECT_EQ(paints, 2);
}

TEST(PaintingLink, AReadThatTimesOutGivesNothingWithoutReadingTheInnerLink) {
  polled_link inner;
  ui::painting_link link(inner, [] {});
  link.set_timeout_ms(120);
  char byte = 0;
  EXPECT_EQ(link.read(&byte, 1), 0u);
  EXPECT_EQ(inner.reads, 0);
}

TEST(PaintingLink, AClosedLinkAnswersAtOnceLikeTheInnerOne) {
  polled_link inner;
  inner.open_ = false;
  int paints = 0;
  ui::painting_link link(inner, [&] { ++paints; });
  char byte = 0;
  EXPECT_EQ(link.read(&byte, 1), 0u);
  EXPECT_EQ(inner.reads, 1);
  EXPECT_FALSE(link.wait_readable(500));
  EXPECT_EQ(inner.waits, std::vector<int>{500});
  EXPECT_EQ(paints, 0);
}

}  // namespace
}  // namespace ejscope::testing
