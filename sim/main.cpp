// ejscope-sim: a remote-access gateway with one register behind it, on
// 127.0.0.1, for trying the program and its tests without a real register.
#include <CLI/CLI.hpp>
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/journal.h"
#include "sim/simulator.h"
#include "text/cp1251.h"

#ifndef EJSCOPE_SOURCE_DIR
#define EJSCOPE_SOURCE_DIR "."
#endif

namespace {

// A tape this large would take the XML parser several times its size in memory.
constexpr std::streamoff max_tape_bytes = 512LL << 20;

// Reads the whole file; false with the reason in `problem` otherwise.
bool read_tape(const std::string& path, std::string& text, std::string& problem) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    problem = "cannot read the tape " + path;
    return false;
  }
  if (in.tellg() > max_tape_bytes) {
    problem = "the tape " + path + " is larger than 512 MiB";
    return false;
  }
  in.seekg(0);
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ejscope;
  CLI::App app{"A register behind a remote-access gateway, on 127.0.0.1 (Datecs and Kelvora protocols, packet exchange)"};
  sim::config cfg;
  std::string tape_path = std::string(EJSCOPE_SOURCE_DIR) + "/samples/tape.xml";
  int synthetic = 0;
  std::string firmware_date;
  std::vector<std::string> header_lines;
  std::vector<std::string> faults;
  app.add_option("--port-datecs", cfg.datecs_port, "Port of the Datecs register (0 = any free port)")
      ->capture_default_str();
  app.add_option("--port-kelvora", cfg.kelvora_port, "Port of the Kelvora register (0 = any free port)")
      ->capture_default_str();
  app.add_option("--tape", tape_path, "Tape XML file to serve (windows-1251)")->capture_default_str();
  app.add_option("--synthetic", synthetic, "Serve a synthetic tape of N documents instead of the file")
      ->check(CLI::Range(1, 10000000));
  app.add_option("--dev-id", cfg.register_identity.dev_id, "Device identifier (9 characters)")->capture_default_str();
  app.add_option("--fiscal", cfg.register_identity.fiscal_number, "Fiscal number")->capture_default_str();
  app.add_option("--password", cfg.register_identity.password, "Access password of the Kelvora commands")
      ->capture_default_str();
  app.add_option("--firmware-date", firmware_date, "Firmware date YYYY-MM-DD (before 2015-12-04: fragment mode)");
  app.add_option("--header", header_lines, "Header lines of the register (repeat the option; UTF-8)");
  app.add_option("--fault", faults,
                 "Fault to inject: kind[,cmd=A7][,proto=datecs|kelvora][,skip=N][,times=N|-1][,param=N]"
                 "[,interval=MS][,text=T][,handshake=1], or random,seed=N,p=0.1[,kinds=a+b]");
  app.add_option("--fragment-bytes", cfg.fragment_bytes, "Document bytes per A7h fragment")->capture_default_str();
  app.add_option("--packet-bytes", cfg.packet_bytes, "Document bytes per reply packet")->capture_default_str();
  app.add_option("--record", cfg.record_file, "Append every request received and every print to this file");
  CLI11_PARSE(app, argc, argv);

  if (!firmware_date.empty()) {
    int year = 0, month = 0, day = 0;
    if (std::sscanf(firmware_date.c_str(), "%4d-%2d-%2d", &year, &month, &day) != 3 || month < 1 || month > 12 ||
        day < 1 || day > 31) {
      std::cerr << "ejscope-sim: --firmware-date must be YYYY-MM-DD\n";
      return 2;
    }
    cfg.register_identity.set_firmware_date(year, month, day);
  }
  if (app.count("--header") > 0) {
    cfg.register_identity.header_lines.clear();
    for (const std::string& line : header_lines) cfg.register_identity.header_lines.push_back(text::utf8_to_cp1251(line));
  }
  if (synthetic > 0) {
    cfg.tape_text = sim::make_tape(synthetic);
  } else if (std::string problem; !read_tape(tape_path, cfg.tape_text, problem)) {
    std::cerr << "ejscope-sim: " << problem << "\n";
    return 2;
  }
  cfg.keep_requests = false;

  // The signals are taken by sigwait below; every thread started after this inherits the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  try {
    sim::simulator simulator(cfg);
    for (const std::string& text : faults) {
      const sim::parsed_fault fault = sim::parse_fault(text);
      if (fault.rule) simulator.add_fault(*fault.rule);
      if (fault.storm) simulator.set_random_faults(*fault.storm);
    }
    const sim::ports ports = simulator.start();
    std::cout << "datecs port " << ports.datecs << "\nkelvora port " << ports.kelvora << "\n"
              << simulator.tape().size() << " documents" << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    simulator.stop();
    std::cout << "stopped" << std::endl;
  } catch (const std::exception& error) {
    std::cerr << "ejscope-sim: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
