// The fault storm: runs of several requests each (by numbers of every
// document type and by dates, so that the caches are used) against the
// in-process simulator, which injects faults drawn at random per run on its
// replies. Every request must end within a bound computed from the time-outs
// and leave the model, the caches and the display sound:
//  - the display is the offline rendering of the documents the model holds,
//    or the request ended with a clear message (the failure lines, the
//    register's error, the incomplete-documents line);
//  - every document the model holds is one the register served, and
//    documents held before a request are still held after it;
//  - a request that ended without any such message holds every document of
//    its range;
//  - nothing is marked fetched that the model does not hold.
// EJSCOPE_STORM_RUNS sets the runs per mode; EJSCOPE_STORM_SEED replays one
// seed (its failure names it and the mode to filter on). Seeds that once
// broke an invariant are replayed after the runs of their mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "integration/retrieval_session.h"
#include "tape/tape_walker.h"
#include "render/render_pass.h"
#include "window/journal_window_texts.h"
#include "sim/register_commands.h"

namespace ejscope {
namespace {

using testing::retrieval_session;
using testing::sim_harness;
using steady = std::chrono::steady_clock;

struct storm_mode {
  sim::register_protocol protocol;
  bool packet;
  std::uint64_t first_seed;  // seeds of the mode: first_seed, first_seed + 1, ...
  std::vector<std::uint64_t> replayed_seeds = {};
};

std::string mode_name(const storm_mode& m) {
  return std::string(m.protocol == sim::register_protocol::datecs ? "Datecs" : "Kelvora") +
         (m.packet ? "Packets" : "Fragments");
}

constexpr int tape_documents = 24;  // Z-reports are documents 10 and 20 (Z numbers 1 and 2)
constexpr int default_runs = 30;
constexpr int kelvora_retries = 1;  // the settings file's default "Reply"

// Time-outs cut so that a silent register costs a fraction of a second.
// The stream waits stay well above loopback latency under the sanitizers:
// a reply that came after its time-out would be read as the reply of the
// next request. The packet exchange waits stream_ms for a reply's first byte.
timeouts storm_timeouts(const storm_mode& m) {
  timeouts t = timeouts{}.scaled(1000);
  t.stream_ms = m.packet ? 100 : 50;
  t.packet_rest_ms = 150;
  return t;
}

// Every fault of the replies; the handshake ones are left to the
// connection tests, slow_sender and endless_stream to the limits tests.
const std::vector<sim::fault_kind>& storm_kinds() {
  using k = sim::fault_kind;
  static const std::vector<sim::fault_kind> kinds = {
      k::syn_before, k::syn_inside,  k::stray_byte, k::short_len,        k::nak,
      k::bad_checksum, k::other_command, k::kelvora_error, k::bad_crc, k::stream_stops,
      k::split,      k::silence,     k::close_connection, k::garbage, k::oversized_packet,
      k::length_past_end};
  return kinds;
}

std::optional<long long> env_number(const char* name) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (*end != '\0') return std::nullopt;
  return v;
}

std::string hhmm(int minute_of_day) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", minute_of_day / 60 % 24, minute_of_day % 60);
  return text;
}

// The request a run makes next.
enum class action { by_numbers, by_dates, look_up_and_by_dates, empty_model };

class FaultStorm : public ::testing::TestWithParam<storm_mode> {
 protected:
  void run(std::uint64_t seed);

 private:
  struct run_state;
  void request(run_state& s, std::mt19937_64& rng);
  void check(run_state& s, action what, int first, int last, const std::vector<const sim::journal_document*>& asked,
             steady::duration took, std::size_t requests_before, int faults_before);
  int failures() const {
    return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
  }

 protected:
  // How the requests of the storm ended: whole, with incomplete documents,
  // with the failure lines, with the register's error; and the faults.
  struct tally {
    int whole = 0, incomplete = 0, failed = 0, register_error = 0, faults = 0;
  } tally_;
};

struct FaultStorm::run_state {
  run_state(sim_harness& h, retrieval_session& r, const storm_mode& m, const timeouts& t)
      : sim(h), session(r), mode(m), limits(t) {}
  sim_harness& sim;
  retrieval_session& session;
  storm_mode mode;
  timeouts limits;
  std::multiset<int> held;  // document numbers the model held after the last request
  std::size_t fragments_per_document = 1;  // fragments or packets of the longest document
};

// ---- what the model holds ---------------------------------------------------

std::vector<int> held_numbers(const rq& store) {
  std::vector<int> numbers;
  for (const auto& [slot, d] : store.dats)
    if (slot < store.doc_index) numbers.push_back(truncate_number(d.DI));
  return numbers;
}

// The offline rendering of the served texts of the documents the model
// holds, in the model's order, over the same range and settings.
// The served documents by their DI, the number the model holds them by.
std::map<int, const sim::journal_document*> by_di(const sim::journal& tape) {
  std::map<int, const sim::journal_document*> docs;
  for (const auto& d : tape.documents()) docs.emplace(d.number, &d);
  return docs;
}

std::vector<std::string> offline_rendering(const sim::journal& tape, const std::vector<int>& numbers,
                                           retrieval_session& session) {
  const auto docs = by_di(tape);
  std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?><RQ V=\"1\">";
  for (int n : numbers) text += docs.at(n)->text;
  text += "</RQ>";
  rq store;
  control walk;
  walk_tape(walk, store, text);
  render_settings settings;
  settings.document_type = session.view.type;
  const identification_state& id = session.main().identification();
  settings.header = register_header{{id.header_lines.begin(), id.header_lines.end()}, id.header_last};
  settings.colvo_flag = session.main().colvo_flag();
  sootv z_doc_map, fetched_z;
  std::vector<std::string> lines;
  render_documents(store, settings, session.view.first, session.view.last, z_doc_map, fetched_z, lines);
  return lines;
}

std::string joined(const std::vector<int>& numbers) {
  std::string out;
  for (int n : numbers) out += (out.empty() ? "" : ", ") + std::to_string(n);
  return out;
}

// ---- one run ------------------------------------------------------------------

void FaultStorm::run(std::uint64_t seed) {
  const storm_mode m = GetParam();
  std::mt19937_64 rng(seed * 0x9E3779B97F4A7C15ull + 1);
  const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

  sim::config cfg = testing::sim_test_config(sim::make_tape(tape_documents));
  cfg.fragment_bytes = static_cast<std::size_t>(pick(60, 400));
  cfg.packet_bytes = static_cast<std::size_t>(pick(150, 1080));
  if (!m.packet) cfg.register_identity.set_firmware_date(2015, 11, 1);
  sim_harness sim(cfg);
  const timeouts limits = storm_timeouts(m);
  retrieval_session session(sim, m.protocol, "storm_" + mode_name(m), limits);
  ASSERT_TRUE(session.connect());
  ASSERT_EQ(session.main().packet_mode(), m.packet);

  run_state s(sim, session, m, limits);
  std::size_t longest = 0;
  for (const auto& doc : sim.tape().documents()) longest = std::max(longest, doc.text.size());
  const std::size_t per_part =
      m.packet ? cfg.packet_bytes : sim::fragment_capacity(m.protocol, cfg.fragment_bytes);
  s.fragments_per_document = (longest + per_part - 1) / per_part;

  // The faults of this run: a few kinds, at a rate of their own.
  sim::random_faults storm;
  storm.seed = seed;
  storm.probability = std::uniform_real_distribution<double>(0.02, 0.12)(rng);
  std::vector<sim::fault_kind> kinds = storm_kinds();
  std::shuffle(kinds.begin(), kinds.end(), rng);
  kinds.resize(static_cast<std::size_t>(pick(2, 6)));
  storm.kinds = kinds;
  storm.interval_ms = 2;
  sim.sim().set_random_faults(storm);

  std::string kind_names;
  for (auto k : kinds) kind_names += std::string(kind_names.empty() ? "" : "+") + sim::fault_name(k);
  SCOPED_TRACE("faults " + kind_names + " p=" + std::to_string(storm.probability));

  const int requests = pick(4, 6);
  for (int i = 0; i < requests; ++i) {
    const int before = failures();
    request(s, rng);
    if (failures() != before) return;  // the first broken invariant says enough about this seed
  }
}

void FaultStorm::request(run_state& s, std::mt19937_64& rng) {
  const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  retrieval_session& session = s.session;
  const int roll = pick(0, 99);
  const action what = roll < 60   ? action::by_numbers
                      : roll < 85 ? action::by_dates
                      : roll < 95 ? action::look_up_and_by_dates
                                  : action::empty_model;
  int first = 0;
  int last = 0;
  int type = pick(0, 3);
  if (what == action::by_numbers) {
    if (type == 0) {
      first = pick(1, 3);
      last = first + pick(0, 1);
    } else {
      first = pick(1, tape_documents);
      last = first + pick(0, 6);
    }
    session.view.type = type;
    session.view.first = std::to_string(first);
    session.view.last = std::to_string(last);
  } else if (what != action::empty_model) {
    // Document k is dated 01.03.2016 08:00 + 10·k minutes.
    const int a = pick(1, tape_documents);
    const int b = std::min(tape_documents + 1, a + pick(0, 6));
    session.view.start_date = session.view.end_date = "01.03.16";
    session.view.start_time = hhmm(8 * 60 + 10 * a - 5);
    session.view.end_time = hhmm(8 * 60 + 10 * b + 5);
    type = session.view.type = pick(1, 3);
    const auto digits = [](std::string t) { return "20160301" + t.erase(2, 1); };
    const auto period = s.sim.tape().period(digits(session.view.start_time), digits(session.view.end_time));
    first = period ? period->first : 1;
    last = period ? period->second : 0;
  }
  // The documents the register holds for the request.
  const std::vector<const sim::journal_document*> asked =
      s.sim.tape().range(type == 0 && what == action::by_numbers ? sim::kind_z_report : sim::kind_document, first, last);
  SCOPED_TRACE("request " + std::to_string(static_cast<int>(what)) + " type " + std::to_string(type) + " " +
               std::to_string(first) + ".." + std::to_string(last));

  const std::size_t requests_before = s.sim.sim().requests().size();
  const int faults_before = s.sim.sim().faults_injected();
  const auto start = steady::now();
  switch (what) {
    case action::by_numbers: session.request().fetch_by_numbers(); break;
    case action::look_up_and_by_dates: session.request().look_up_period_numbers(); [[fallthrough]];
    case action::by_dates: session.request().fetch_by_period(); break;
    case action::empty_model:
      session.main().choose_protocol(static_cast<int>(s.mode.protocol));
      s.held.clear();
      return;
  }
  check(s, what, first, last, asked, steady::now() - start, requests_before, faults_before);
}

// ---- the invariants -------------------------------------------------------------

void FaultStorm::check(run_state& s, action what, int first, int last,
                       const std::vector<const sim::journal_document*>& asked, steady::duration took,
                       std::size_t requests_before, int faults_before) {
  const journal_window& r = s.session.request();
  const sim::journal& tape = s.sim.tape();
  const auto all_requests = s.sim.sim().requests();
  const auto kinds = s.sim.sim().injected_kinds();
  const int faults = static_cast<int>(kinds.size()) - faults_before;
  const bool register_said_no =
      std::find(kinds.begin() + faults_before, kinds.end(), sim::fault_kind::kelvora_error) != kinds.end();

  // The numbers the request may ask: a Z-report number stands for one document.
  const int numbers = std::max(0, last - first + 1) + 2;
  const std::size_t per_number = s.fragments_per_document + 2;
  const std::size_t most_exchanges =
      4 + static_cast<std::size_t>(numbers) * per_number * (s.mode.protocol == sim::register_protocol::kelvora ? 1 + kelvora_retries : 1);
  const std::size_t exchanges = all_requests.size() - requests_before;
  EXPECT_LE(exchanges, most_exchanges) << "the request did not stay within its exchanges";

  // Time: a clean exchange is quick; a fault costs at most the waits of one
  // command gone wrong (Datecs: both attempts and a reconnect; Kelvora: the
  // first wait and the receive phase, once more repeated; a packet: its
  // stream wait and the rest of the packet). Generous: a hang, not speed.
  const timeouts& t = s.limits;
  const long long slice = t.datecs_slice_ms + 1;
  const long long worst_fault =
      s.mode.packet ? t.stream_ms + t.packet_rest_ms
      : s.mode.protocol == sim::register_protocol::datecs
          ? 6 * 60 * slice + 3 * t.stream_ms
          : (1 + kelvora_retries) * (4 * 60 * (t.kelvora_slice_ms + 1) + 50 * t.stream_ms + t.resend_pause_ms);
  const long long bound_ms = 3000 + static_cast<long long>(most_exchanges) * 30 + 2 * faults * worst_fault;
  const long long took_ms = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
  EXPECT_LE(took_ms, bound_ms) << "the request outlived its time-outs (" << faults << " faults)";

  // Every document held is one the register served; nothing held is lost.
  const std::vector<int> held = held_numbers(r.model());
  const std::multiset<int> held_now(held.begin(), held.end());
  const auto served = by_di(tape);
  for (int n : held) ASSERT_EQ(served.count(n), 1u) << "the model holds document " << n;
  for (int n : s.held) EXPECT_EQ(held_now.count(n) >= 1, true) << "document " << n << " was lost";

  // Only whole served documents reach the XML text.
  const auto& xml = r.xml_lines();
  for (std::size_t i = 2; i < xml.size(); ++i) {
    if (i + 1 == xml.size() && xml[i] == "</RQ>") break;
    const bool whole = std::any_of(tape.documents().begin(), tape.documents().end(),
                                   [&](const auto& d) { return d.text == xml[i]; });
    EXPECT_TRUE(whole) << "a cut or foreign document text in the XML: " << xml[i].substr(0, 80);
  }

  tally_.faults += faults;
  switch (r.outcome()) {
    case request_outcome::done: ++(r.incomplete().empty() ? tally_.whole : tally_.incomplete); break;
    case request_outcome::failed: ++tally_.failed; break;
    default: ++tally_.register_error; break;
  }

  // The display.
  const auto& display = r.display();
  switch (r.outcome()) {
    case request_outcome::done: {
      std::vector<std::string> expected = offline_rendering(tape, held, s.session);
      if (!r.incomplete().empty()) expected.push_back(request_texts::incomplete_documents() + joined(r.incomplete()));
      EXPECT_EQ(display, expected);
      if (!r.incomplete().empty()) {
        EXPECT_FALSE(s.session.view.incomplete_reports.empty());
      }
      break;
    }
    case request_outcome::failed:
      ASSERT_GE(display.size(), 2u);
      EXPECT_EQ(display[display.size() - 2], request_texts::failure_structure());
      EXPECT_EQ(display.back(), request_texts::failure_try_other());
      break;
    case request_outcome::register_error:
      ASSERT_FALSE(display.empty());
      EXPECT_EQ(display[0].rfind(request_texts::register_error_line(), 0), 0u);
      EXPECT_NE(what, action::by_numbers);
      break;
    default: ADD_FAILURE() << "the request ended as " << static_cast<int>(r.outcome());
  }

  // A request that ended without a word holds its whole range (unless the
  // register itself said a document is not there).
  if (r.outcome() == request_outcome::done && r.incomplete().empty() && !register_said_no) {
    for (const sim::journal_document* d : asked) {
      EXPECT_GE(held_now.count(d->number), 1u) << "document " << d->number << " silently missing";
    }
  }

  // Nothing is marked fetched that the model does not hold.
  const auto marked_held = [&](int kind, int n) {
    const sim::journal_document* d = tape.find(kind, n);
    return d == nullptr || held_now.count(d->number) != 0;
  };
  for (int n = -1; n <= tape_documents + 10; ++n) {
    if (r.fetched_docs().contains(n)) {
      EXPECT_TRUE(marked_held(sim::kind_document, n)) << "fetched_docs " << n;
    }
    if (r.fetched_z().contains(n)) {
      EXPECT_TRUE(marked_held(sim::kind_z_report, n)) << "fetched_z " << n;
    }
  }
  for (int kind : {sim::kind_z_report, sim::kind_document}) {
    const interval& ranges = r.fetched_ranges(kind);
    for (int i = 1; i <= ranges.count(); ++i)
      for (int n = std::max(ranges.at(i).lo, -1); n <= std::min(ranges.at(i).hi, tape_documents + 10); ++n)
        EXPECT_TRUE(marked_held(kind, n)) << "fetched_ranges(" << kind << ") " << n;
  }
  s.held = held_now;
}

TEST_P(FaultStorm, EveryInvariantHolds) {
  const storm_mode m = GetParam();
  const std::string name = mode_name(m);
  const auto one_seed = env_number("EJSCOPE_STORM_SEED");
  const long long runs = one_seed ? 1 : std::max(1LL, env_number("EJSCOPE_STORM_RUNS").value_or(default_runs));
  std::vector<std::uint64_t> seeds;
  for (long long i = 0; i < runs; ++i)
    seeds.push_back(one_seed ? static_cast<std::uint64_t>(*one_seed) : m.first_seed + static_cast<std::uint64_t>(i));
  if (!one_seed) seeds.insert(seeds.end(), m.replayed_seeds.begin(), m.replayed_seeds.end());
  for (const std::uint64_t seed : seeds) {
    SCOPED_TRACE("storm seed " + std::to_string(seed) + " (replay: EJSCOPE_STORM_SEED=" + std::to_string(seed) +
                 " integration_tests --gtest_filter='Modes/FaultStorm.EveryInvariantHolds/" + name + "')");
    run(seed);
  }
  std::printf("%s: %zu runs, requests: %d whole, %d with incomplete documents, %d failed, %d register errors; %d faults\n",
              name.c_str(), seeds.size(), tally_.whole, tally_.incomplete, tally_.failed, tally_.register_error, tally_.faults);
}

INSTANTIATE_TEST_SUITE_P(Modes, FaultStorm,
                         // 1095, 2246: a short LEN cut the period reply's last number, which was asked.
                         ::testing::Values(storm_mode{sim::register_protocol::datecs, false, 1000, {1095}},
                                           storm_mode{sim::register_protocol::datecs, true, 2000, {2246}},
                                           storm_mode{sim::register_protocol::kelvora, false, 3000},
                                           storm_mode{sim::register_protocol::kelvora, true, 4000}),
                         [](const ::testing::TestParamInfo<storm_mode>& info) { return mode_name(info.param); });

}  // namespace
}  // namespace ejscope
