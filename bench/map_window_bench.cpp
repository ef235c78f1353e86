// The map window with a long log: its full redraw and the insertion with the map open.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "contest/contact.h"
#include "contest/serial_number.h"
#include "contest_texts.h"
#include "geo/locator.h"
#include "gui/application.h"
#include "gui/log_window.h"
#include "gui/map_canvas.h"
#include "gui/map_window.h"
#include "log/log_form.h"
#include "map/coastlines.h"
#include "map/map_model.h"
#include "support/window_driver.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

int contacts(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

// A plain generator of the same numbers in every run.
class Numbers {
 public:
  std::uint32_t next(std::uint32_t below) {
    m_state = m_state * 1664525u + 1013904223u;
    return (m_state >> 8) % below;
  }

 private:
  std::uint32_t m_state = 12345;
};

// The locator of a place `east` and `north` subsquares from JN81GD's field corner.
std::string locatorAt(int east, int north) {
  const int field = 'J' - 'A' + east / 240;
  const int fieldNorth = 'N' - 'A' + north / 240;
  std::string locator{char('A' + field),          char('A' + fieldNorth),
                      char('0' + east / 24 % 10), char('0' + north / 24 % 10),
                      char('A' + east % 24),      char('A' + north % 24)};
  return locator;
}

std::string contactLine(int index, const std::string& locator) {
  vantor::Contact contact;
  contact.date = std::string("261207");
  contact.time = std::string("1432");
  contact.call = vantor::bench::callOf(index);
  contact.modeCode = std::string("1");
  contact.rstSent = contact.rstReceived = std::string("59");
  contact.serialSent = contact.serialReceived =
      vantor::serialNumberText(index % vantor::kLastSerialNumber + 1);
  contact.locator = locator;
  contact.markDuplicate(false, std::to_string(100 + index % 900));
  return contact.line();
}

// A contest's log: the stations in 1,500 locators of fields JN and KN.
std::string typicalLines(int count) {
  Numbers numbers;
  std::vector<std::string> locators;
  for (int i = 0; i < 1500; ++i) {
    locators.push_back(
        locatorAt(static_cast<int>(numbers.next(480)), static_cast<int>(numbers.next(240))));
  }
  std::string lines;
  for (int i = 0; i < count; ++i) {
    lines += contactLine(i, locators[numbers.next(static_cast<std::uint32_t>(locators.size()))]);
  }
  return lines;
}

// The worst case: every contact in a locator of its own, all in view, every square in view worked.
std::string worstCaseLines(int count) {
  Numbers numbers;
  std::string lines;
  for (int i = 0; i < count; ++i) {
    lines += contactLine(
        i, locatorAt(static_cast<int>(numbers.next(480)), static_cast<int>(numbers.next(480))));
  }
  return lines;
}

class MappedWindows : public vantor::testing::RunningProgram {
 public:
  MappedWindows(const std::string& lines, bool mapOpen) : RunningProgram({2026, 12, 7, 14, 32}) {
    dialogs.recording = false;
    openLog({.locator = "jn81gd"});
    form().logBuffer().setText(lines);
    if (mapOpen) {
      application.showMap();
      application.mapWindow()->resize(kWidth, kHeight);
    }
    application.syncViews();
    QApplication::processEvents();
  }
  vantor::LogForm& form() { return session().log(); }
};

// The map drawn whole as after a correction: the log read again and every spot, square, grid and
// coast line and mark drawn (the coasts as the window projected them when it opened).
void drawFresh(benchmark::State& state, const std::string& lines) {
  MappedWindows windows(lines, false);
  const auto coast = vantor::readCoastlines(vantor::kCoastlineFolder, 'l');
  vantor::MapModel model(windows.form());
  vantor::gui::MapCanvas canvas(model, coast ? &*coast : nullptr);
  canvas.resize(kWidth, kHeight);
  benchmark::DoNotOptimize(canvas.drawWhole().bits());
  for (auto _ : state) {
    benchmark::DoNotOptimize(canvas.drawWhole().bits());
  }
  state.counters["coast"] = coast ? 1 : 0;
}

void GuiMapFullRedraw(benchmark::State& state) {
  drawFresh(state, typicalLines(contacts(state)));
}
BENCHMARK(GuiMapFullRedraw)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

void GuiMapFullRedrawWorstCase(benchmark::State& state) {
  drawFresh(state, worstCaseLines(contacts(state)));
}
BENCHMARK(GuiMapFullRedrawWorstCase)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The plainest map: each record's locator measured with the calculator and drawn as a square
// where its distance and bearing put it.
void PlainMapRedraw(benchmark::State& state) {
  const std::string lines = worstCaseLines(contacts(state));
  const vantor::GeoPoint home = vantor::locatorToPoint("JN81GD");
  const double kmPerPixel = 2 * vantor::MapView::kHomeReach / kHeight;
  for (auto _ : state) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    std::size_t start = 0;
    while (start < lines.size()) {
      const std::size_t end = lines.find("\r\n", start);
      const auto fields =
          vantor::splitQsoRecord(std::string_view(lines).substr(start, end - start));
      start = end + 2;
      const vantor::Course course =
          vantor::courseBetween(home, vantor::locatorToPoint((*fields)[vantor::qso::locator]));
      const double angle = course.bearing * 3.14159265 / 180;
      painter.fillRect(
          QRectF(kWidth / 2.0 + course.distance * std::sin(angle) / kmPerPixel - 2,
                 kHeight / 2.0 - course.distance * std::cos(angle) / kmPerPixel - 2, 4, 4),
          Qt::blue);
    }
  }
}
BENCHMARK(PlainMapRedraw)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// One click on "Inserisci" with the windows brought up to date and painted, the map's among them
// when it is open: into a square worked already (typical), or into a square of its own.
void insertWith(benchmark::State& state, bool mapOpen, bool newSquares) {
  MappedWindows windows(typicalLines(contacts(state)), mapOpen);
  auto* insert = windows.log<QPushButton>("Command1");
  int next = contacts(state);
  int square = 0;
  for (auto _ : state) {
    state.PauseTiming();
    windows.form().serialSentField.setText("002");
    windows.form().callsignField.setText(vantor::bench::callOf(next++));
    // The 200 squares of fields JO and KO, north of the log's, each new.
    const std::string locator =
        newSquares ? locatorAt(square % 20 * 24 + 12, 240 + square / 20 % 10 * 24 + 12) : "JN81GD";
    ++square;
    windows.form().locatorField.setText(locator);
    windows.application.syncViews();
    QApplication::processEvents();
    state.ResumeTiming();
    insert->click();
    QApplication::processEvents();
  }
}

void GuiInsertionWithMapClosed(benchmark::State& state) {
  insertWith(state, false, false);
}
BENCHMARK(GuiInsertionWithMapClosed)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

void GuiInsertionWithMapOpen(benchmark::State& state) {
  insertWith(state, true, false);
}
BENCHMARK(GuiInsertionWithMapOpen)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

void GuiInsertionWithMapOpenNewSquares(benchmark::State& state) {
  insertWith(state, true, true);
}
BENCHMARK(GuiInsertionWithMapOpenNewSquares)
    ->Apply(vantor::bench::logSizes)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace
