// A Kelvora register that never stops sending yet never finishes its reply
// (one SYN byte per read, for ever): the receive phase ends by its time-out
// and the command ends without a reply. A silent register is asked again at
// most max_retry_count times, whatever the settings file says.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "protocol/reply_record.h"
#include "fake_gateway_link.h"
#include "kelvora/driver.h"

namespace ejscope::kelvora {
namespace {

class trickling_link : public testing::fake_gateway_link {
 public:
  std::size_t read(void* buffer, std::size_t max) override {
    if (max == 0) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ++reads;
    std::memset(buffer, 0x16, 1);
    return 1;
  }
  bool wait_readable(int) override { return true; }
  int reads = 0;
};

class quiet_box : public message_box {
 public:
  void show(const std::string&, const std::string&) override {}
  bool ask_yes_no(const std::string&, const std::string&) override { return false; }
};

class still_clock : public clock {
 public:
  std::tm local_now() override { return std::tm{}; }
  void sleep_ms(int) override {}
};

TEST(KelvoraTrickle, EndlessSynBytesEndTheCommandWithoutAReply) {
  trickling_link link;
  link.open();
  quiet_box box;
  still_clock clk;
  const timeouts limits = timeouts{}.scaled(600);  // 100 ms stream time-out
  driver d(link, box, clk, limits);
  d.set_retry_count(1);
  const RetData& r = d.execute(0x80, "418257;");
  EXPECT_NE(r.flags & result_flag::no_reply, 0u);
  EXPECT_EQ(r.count, 0);
  // Each exchange reads for one stream time-out at most, about 100 reads a
  // command at 1 ms each; without the bound it would read for ever.
  EXPECT_LT(link.reads, 2000);
}

TEST(KelvoraTrickle, RepeatsOfASilentRegisterAreBounded) {
  for (int asked : {-5, 0, 3, INT_MAX}) {
    testing::fake_gateway_link link;  // nothing scripted: every wait times out
    link.open();
    quiet_box box;
    still_clock clk;
    driver d(link, box, clk, timeouts{}.scaled(600));
    d.set_retry_count(asked);
    EXPECT_NE(d.execute(0x80, "418257;").flags & result_flag::no_reply, 0u) << asked;
    EXPECT_EQ(link.writes().size(), 1u + static_cast<std::size_t>(std::clamp(asked, 0, driver::max_retry_count)))
        << asked;
  }
}

}  // namespace
}  // namespace ejscope::kelvora
