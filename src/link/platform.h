#pragma once
// What the core needs from the windows around it. The desktop application,
// the command line and the tests each implement these; every text is
// windows-1251 bytes.
#include <atomic>
#include <ctime>
#include <string>

namespace ejscope {

// The wait window: a countdown label and the abort button "Прервать".
class wait_window {
 public:
  virtual ~wait_window() = default;
  virtual void show() = 0;
  virtual void hide() = 0;
  // The countdown text such as "3 : 59".
  virtual void set_countdown(const std::string& text) = 0;
  // Repaint and let pending user-interface events run.
  virtual void process_events() = 0;

  bool abort_requested() const { return abort_.load(); }
  void request_abort() { abort_.store(true); }
  void clear_abort() { abort_.store(false); }

 private:
  std::atomic<bool> abort_{false};
};

// Modal message boxes.
class message_box {
 public:
  virtual ~message_box() = default;
  virtual void show(const std::string& text, const std::string& caption = {}) = 0;
  // True only for the answer Yes.
  virtual bool ask_yes_no(const std::string& text, const std::string& caption) = 0;
};

// Local time and pauses.
class clock {
 public:
  virtual ~clock() = default;
  virtual std::tm local_now() = 0;
  virtual void sleep_ms(int ms) = 0;
};

// The real clock of the process.
class system_clock final : public clock {
 public:
  std::tm local_now() override;
  void sleep_ms(int ms) override;
};

}  // namespace ejscope
