#include "sim/simulator.h"

#include <atomic>
#include <list>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "sim/fault_book.h"
#include "sim/journal.h"
#include "sim/recorder.h"
#include "sim/session.h"
#include "sim/socket_io.h"

namespace ejscope::sim {

void identity::set_firmware_date(int year, int month, int day) {
  static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* name = months[(month >= 1 && month <= 12 ? month : 1) - 1];
  char text[32];
  std::snprintf(text, sizeof text, "%d%s%02d", day, name, year % 100);
  datecs_firmware = text;
  std::snprintf(text, sizeof text, "%s %2d %04d", name, day, year);
  kelvora_firmware = text;
}

struct simulator::impl {
  struct client {
    std::thread thread;
    std::atomic<bool> done{false};
  };

  explicit impl(config c)
      : settings(std::move(c)),
        tape(journal::parse(settings.tape_text)),
        records(settings.record_file, settings.keep_requests) {}

  void accept_loop(register_protocol protocol, int listener) {
    while (wait_readable(listener, stop, -1) == wait_result::readable) {
      const int fd = accept_client(listener);
      if (fd < 0) continue;
      records.connection();
      std::lock_guard lock(clients_mutex);
      reap_finished();
      auto& c = clients.emplace_back(std::make_unique<client>());
      c->thread = std::thread([this, protocol, fd, done = &c->done] {
        try {
          run_session(fd, session_env{protocol, settings, tape, faults, records, stop});
        } catch (const std::exception&) {
          // Out of memory inside one session: that connection ends, the others go on.
        }
        close_socket(fd);
        done->store(true);
      });
    }
  }

  // Joins the sessions that have ended, so that a long run holds no dead threads.
  void reap_finished() {
    for (auto it = clients.begin(); it != clients.end();) {
      if ((*it)->done.load()) {
        (*it)->thread.join();
        it = clients.erase(it);
      } else {
        ++it;
      }
    }
  }

  config settings;
  journal tape;
  fault_book faults;
  recorder records;
  stop_signal stop;
  int listeners[2] = {-1, -1};
  std::thread acceptors[2];
  std::mutex clients_mutex;
  std::list<std::unique_ptr<client>> clients;
  bool started = false;
};

simulator::simulator(config cfg) : impl_(std::make_unique<impl>(std::move(cfg))) {}

simulator::~simulator() { stop(); }

ports simulator::start() {
  if (impl_->started) throw std::runtime_error("the simulator was started already");
  impl_->started = true;
  ports bound;
  impl_->listeners[0] = listen_loopback(impl_->settings.datecs_port, bound.datecs);
  try {
    impl_->listeners[1] = listen_loopback(impl_->settings.kelvora_port, bound.kelvora);
  } catch (...) {
    close_socket(impl_->listeners[0]);
    impl_->listeners[0] = -1;
    throw;
  }
  impl_->acceptors[0] = std::thread([this] { impl_->accept_loop(register_protocol::datecs, impl_->listeners[0]); });
  impl_->acceptors[1] = std::thread([this] { impl_->accept_loop(register_protocol::kelvora, impl_->listeners[1]); });
  return bound;
}

void simulator::stop() {
  impl_->stop.raise();
  for (std::thread& acceptor : impl_->acceptors) {
    if (acceptor.joinable()) acceptor.join();
  }
  for (int& listener : impl_->listeners) {
    close_socket(listener);
    listener = -1;
  }
  std::lock_guard lock(impl_->clients_mutex);
  for (auto& c : impl_->clients) c->thread.join();
  impl_->clients.clear();
}

void simulator::add_fault(const fault_rule& rule) { impl_->faults.add(rule); }
void simulator::set_random_faults(const random_faults& storm) { impl_->faults.set_storm(storm); }
void simulator::clear_faults() { impl_->faults.clear(); }
int simulator::faults_injected() const { return impl_->faults.injected(); }
std::vector<fault_kind> simulator::injected_kinds() const { return impl_->faults.injected_kinds(); }
std::vector<recorded_request> simulator::requests() const { return impl_->records.requests(); }
std::vector<printed_range> simulator::printed() const { return impl_->records.printed(); }
int simulator::connections_accepted() const { return impl_->records.connections(); }
void simulator::clear_records() { impl_->records.clear(); }
const journal& simulator::tape() const { return impl_->tape; }
const config& simulator::settings() const { return impl_->settings; }

}  // namespace ejscope::sim
