// One PC of a club station without a window, for the tests of the shared contest across
// processes: the program's session, its journal and its network on a data folder of its own,
// driven by lines on standard input as an operator would work it.
//
//   vantor_station_probe FOLDER STATION HUB BAND
//
//   log CALL LOCATOR   the contact typed and inserted on the band's log screen
//   export             "Genera EDI" (the files go into FOLDER/edi); answers "esportato"
//   dump               every band log's records, "BAND|RECORD" a line, then "fine"
//   quit               ends the program as "Chiudi" does
//
// Between the lines the program polls its network every 20 ms, as the windows' live update does.

#include <poll.h>
#include <unistd.h>

#include <iostream>
#include <sstream>
#include <string>

#include "app/club_network.h"
#include "support/journal_run.h"

namespace {

using namespace vantor;

void dump(Session& session) {
  LogForm& log = session.log();
  for (std::size_t index = 0; index < log.bandCount(); ++index) {
    LogDocument& document = log.bandAt(index).document();
    for (std::size_t line = 0; line < document.lines().size(); ++line) {
      if (document.lines()[line].isRecord()) {
        std::cout << log.bandAt(index).band() << '|' << document.lineText(line) << '\n';
      }
    }
  }
  std::cout << "fine" << std::endl;
}

// One command; false once the program ends.
bool obey(testing::ProgramRun& run, const std::string& line) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  if (command == "log") {
    std::string call;
    std::string locator;
    words >> call >> locator;
    run.logContact(call, locator);
  } else if (command == "export") {
    run.act([&] { run.session.log().exportButton.press(); });
    std::cout << "esportato" << std::endl;
  } else if (command == "dump") {
    dump(run.session);
  } else if (command == "quit") {
    return false;
  }
  return true;
}

// The lines of standard input as they come, the network polled while none does.
void serve(testing::ProgramRun& run) {
  std::string pending;
  for (;;) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (::poll(&input, 1, 20) > 0) {
      char bytes[4096];
      const ssize_t read = ::read(STDIN_FILENO, bytes, sizeof bytes);
      if (read <= 0) {
        return;
      }
      pending.append(bytes, static_cast<std::size_t>(read));
      for (std::size_t end = pending.find('\n'); end != std::string::npos;
           end = pending.find('\n')) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!obey(run, line)) {
          return;
        }
      }
    }
    run.session.pollNetwork();
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 5) {
    std::cerr << "uso: vantor_station_probe CARTELLA STAZIONE HUB BANDA\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  testing::ProgramRun run(folder);
  if (!run.started) {
    return 1;
  }
  run.session.setProgramFolder(folder);
  run.session.keepNetworkFolder(folder / "rete");
  NetworkSettings settings;
  settings.station = argv[2];
  settings.hubAddress = argv[3];
  run.session.configureNetwork(settings, {});
  if (!run.session.logShown()) {
    run.openLog();
    run.act([&] { run.session.header().bandList.pickText(argv[4]); });
  }
  std::cout << "pronto" << std::endl;
  serve(run);
  run.act([&] { run.session.close(); });
  return 0;
}
