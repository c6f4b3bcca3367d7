// Walk + sort + render of generated tapes of 1,000, 10,000 and 100,000
// documents: documents per second, and the peak of heap memory the three
// steps take beside the tape text (counted through operator new and
// pugixml's allocator), as a multiple of the tape's size.
//
//   build/bench/render_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "tape/tape_walker.h"
#include "render/render_pass.h"
#include "tape/number_map.h"
#include "text/cp1251.h"

namespace {

std::atomic<long long> heap_now{0};
std::atomic<long long> heap_peak{0};

void* counted_alloc(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p != nullptr) {
    const long long now = heap_now += static_cast<long long>(malloc_usable_size(p));
    long long peak = heap_peak.load();
    while (now > peak && !heap_peak.compare_exchange_weak(peak, now)) {
    }
  }
  return p;
}

void counted_free(void* p) {
  if (p == nullptr) return;
  heap_now -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}

// A register's day: receipts of one to six items with their taxes and
// payments, now and then a return, a cancelled receipt or a cash-in, and a
// Z-report with all four sections after every forty documents.
std::string generated_tape(int documents) {
  std::mt19937 random(static_cast<unsigned>(documents));
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const std::string names[] = {"Хліб пшеничний", "Молоко 2,5% 0,9 л", "Кава мелена натуральна смажена, пакет 250 г",
                               "Цукор", "Сир твердий ваговий", "Вода мінеральна 1,5 л"};
  std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  int receipt_no = 0, z_no = 0;
  for (int di = 1; di <= documents; ++di) {
    const std::string stamp = "202401" + std::to_string(10 + di % 18) + "1" + std::to_string(di % 10) + "3000";
    xml += "<DAT FN=\"3000012345\" TN=\"ПН 123456789012\" ZN=\"KV40001234\" DI=\"" + std::to_string(di) +
           "\" DT=\"0\" V=\"1\">";
    if (di % 40 == 0) {
      xml += "<Z NO=\"" + std::to_string(++z_no) + "\">";
      xml += "<TXS TX=\"1\" TS=\"20230101000000\" TXPR=\"20\" TXI=\"220252\" TXO=\"1623\" SMI=\"1321510\" SMO=\"9740\"/>";
      xml += "<TXS TX=\"2\" TS=\"20230101000000\" TXPR=\"7\" TXI=\"428\" DTPR=\"5\" DTI=\"300\" SMI=\"6536\" SMO=\"0\"/>";
      xml += "<M T=\"0\" NM=\"ГОТІВКА\" SMI=\"24990\" SMO=\"9740\"/><M T=\"2\" NM=\"КАРТКА\" SMI=\"53156\" SMO=\"0\"/>";
      xml += "<IO T=\"0\" NM=\"ГОТІВКА\" SMI=\"50000\" SMO=\"40000\" SMT=\"25250\"/><NC NI=\"38\" NO=\"1\"/></Z>";
    } else {
      const int kind = pick(0, 19);
      const int type = kind == 0 ? 1 : kind == 1 ? 2 : 0;
      xml += "<C T=\"" + std::to_string(type) + "\" CN=\"1\" ON=\"Петренко\">";
      int n = 0, total = 0;
      if (type == 2) {
        xml += "<I N=\"" + std::to_string(++n) + "\" T=\"0\" NM=\"ГОТІВКА\" SM=\"50000\"/>";
      } else {
        for (int items = pick(1, 6); items > 0; --items) {
          const int price = pick(100, 50000), quantity = pick(0, 3) * 1000;
          const int sum = quantity == 0 ? price : price * quantity / 1000;
          total += sum;
          xml += "<P N=\"" + std::to_string(++n) + "\" C=\"1001\" CD=\"4820000000011\" NM=\"" + names[pick(0, 5)] +
                 "\" SM=\"" + std::to_string(sum) + "\"" +
                 (quantity ? " Q=\"" + std::to_string(quantity) + "\" PRC=\"" + std::to_string(price) + "\"" : "") +
                 " TX=\"" + std::to_string(pick(1, 2)) + "\"/>";
        }
      }
      xml += "<E N=\"" + std::to_string(++n) + "\" NO=\"" + std::to_string(++receipt_no) + "\" SM=\"" +
             std::to_string(total) + "\" TS=\"" + stamp + "\" CS=\"1\" VD=\"" + (kind == 2 ? "1" : "0") + "\" NS=\"" +
             std::to_string(z_no + 1) + "\"><TX TX=\"1\" TXPR=\"20\" TXSM=\"" + std::to_string(total / 6) +
             "\"/></E>";
      if (type != 2) {
        xml += "<M N=\"" + std::to_string(++n) + "\" T=\"0\" NM=\"ГОТІВКА\" SM=\"" + std::to_string(total + 100) +
               "\" RM=\"100\"/>";
      }
      xml += "</C>";
    }
    xml += "<TS>" + stamp + "</TS></DAT><MAC DI=\"" + std::to_string(di) + "\" NT=\"1\">MTAx</MAC>\r\n";
  }
  xml += "</RQ>\r\n";
  return ejscope::text::utf8_to_cp1251(xml);
}

void walk_sort_render(benchmark::State& state) {
  const int documents = static_cast<int>(state.range(0));
  const std::string tape = generated_tape(documents);
  ejscope::render_settings settings;
  settings.document_type = ejscope::document_types::check_and_z;
  settings.error_log_path = "/dev/null";
  long long lines = 0;
  long long peak_extra = 0;
  if (tape.size() > ejscope::max_tape_bytes) {
    state.SkipWithError("the generated tape is larger than a tape may be");
    return;
  }
  for (auto _ : state) {
    const long long before = heap_now.load();
    heap_peak = before;
    {
      ejscope::rq store;
      ejscope::control walk;
      ejscope::walk_tape(walk, store, tape);
      ejscope::sort_documents(store);
      ejscope::sootv z_doc_map, fetched_z;
      std::vector<std::string> display;
      ejscope::render_documents(store, settings, "1", "2147483647", z_doc_map, fetched_z, display);
      lines = static_cast<long long>(display.size());
      benchmark::DoNotOptimize(display.data());
    }
    peak_extra = std::max(peak_extra, heap_peak.load() - before);
  }
  state.counters["docs_per_s"] =
      benchmark::Counter(static_cast<double>(documents), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["tape_MB"] = static_cast<double>(tape.size()) / 1e6;
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["peak_MB"] = static_cast<double>(peak_extra) / 1e6;
  state.counters["peak_x_tape"] = static_cast<double>(peak_extra) / static_cast<double>(tape.size());
}

BENCHMARK(walk_sort_render)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

// Every allocation of the process is counted; pugixml's DOM goes through the same count.
void* operator new(std::size_t size) {
  if (void* p = counted_alloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { counted_free(p); }
void operator delete[](void* p) noexcept { counted_free(p); }
void operator delete(void* p, std::size_t) noexcept { counted_free(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_free(p); }

int main(int argc, char** argv) {
  pugi::set_memory_management_functions(counted_alloc, counted_free);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
