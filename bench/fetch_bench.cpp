// Retrieval speed: 10,000 receipts from the in-process simulator on
// loopback, assembled in packet mode and in fragment mode through each
// protocol. Reports documents per second and round trips per document (the
// requests the simulator received: A7h frames or packets).
//   build/fetch_bench [--benchmark_filter=Packets]
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "window/connection_core.h"
#include "window/connection_environment.h"
#include "window/journal_window.h"
#include "retrieval/session_journal_commands.h"
#include "sim/simulator.h"
#include "tests/unit/connection_fakes.h"
#include "tests/unit/retrieval_fakes.h"

namespace {

using namespace ejscope;

constexpr int document_count = 10000;
// The synthetic tape has a Z-report after every nine receipts; the bench asks
// receipts 1 ... document_count, so the tape holds a ninth more documents.
constexpr int tape_documents = document_count + document_count / 9 + 1;

const std::string& tape() {
  static const std::string text = sim::make_tape(tape_documents);
  return text;
}

// One simulator and one connected run of the program over it.
struct fetch_run {
  explicit fetch_run(sim::register_protocol p, bool packet) : simulator(config(packet)) {
    const sim::ports ports = simulator.start();
    folder = std::filesystem::temp_directory_path() / "ejscope_fetch_bench";
    std::filesystem::create_directories(folder);
    request.set_temp_xml_path(folder / "temp.xml");
    core.logic.set_base_folder(folder);
    core.logic.start();
    core.logic.edit_address("127.0.0.1");
    core.logic.choose_protocol(static_cast<int>(p));
    core.logic.choose_identifier_kind(0);
    core.logic.edit_identifier(simulator.settings().register_identity.dev_id);
    core.logic.set_port_override(ports.of(p));
    core.logic.toggle_connection();
    if (core.logic.state() != connection_state::connected || core.logic.packet_mode() != packet)
      throw std::runtime_error("the simulator was not identified as expected");
  }

  static sim::config config(bool packet) {
    sim::config cfg;
    cfg.datecs_port = 0;
    cfg.kelvora_port = 0;
    cfg.tape_text = tape();
    if (!packet) cfg.register_identity.set_firmware_date(2015, 11, 1);
    return cfg;
  }

  sim::simulator simulator;
  std::filesystem::path folder;
  testing::recording_view main_view;
  testing::recording_wait_window wait;
  testing::recording_message_box messages;
  connection_core core{main_view, wait, messages, timeouts{}};
  session_journal_commands commands{core.session};
  testing::recording_request_view view;
  journal_window request{view, messages, connection_environment(core.logic, core.link, commands, timeouts{})};
};

void fetch(benchmark::State& state, sim::register_protocol p, bool packet) {
  fetch_run run(p, packet);
  std::size_t round_trips = 0;
  for (auto _ : state) {
    run.request.empty_model();
    run.simulator.clear_records();
    if (packet) {
      run.request.assemble_by_packets(1, document_count, 1);
    } else {
      run.request.assemble_by_fragments(1, document_count, 1);
    }
    round_trips += run.simulator.requests().size();
    if (run.request.xml_lines().size() != document_count + 3) state.SkipWithError("documents missing");
  }
  state.counters["docs/s"] = benchmark::Counter(document_count, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["round_trips/doc"] =
      static_cast<double>(round_trips) / static_cast<double>(state.iterations()) / document_count;
}

void BM_DatecsPackets(benchmark::State& s) { fetch(s, sim::register_protocol::datecs, true); }
void BM_KelvoraPackets(benchmark::State& s) { fetch(s, sim::register_protocol::kelvora, true); }
void BM_DatecsFragments(benchmark::State& s) { fetch(s, sim::register_protocol::datecs, false); }
void BM_KelvoraFragments(benchmark::State& s) { fetch(s, sim::register_protocol::kelvora, false); }

BENCHMARK(BM_DatecsPackets)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_KelvoraPackets)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_DatecsFragments)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_KelvoraFragments)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
