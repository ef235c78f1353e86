#include <cmath>
#include <string>
#include <utility>

#include "form/text.h"
#include "log/log_form.h"
#include "station/band_plan.h"

// The log screen's rig and rotator: what they report, shown live, and the antenna turned.

namespace vantor {

namespace {

// What the rig's and the rotator's fields show while the device does not answer.
constexpr std::string_view kLost = "scollegato";

}  // namespace

void LogForm::expectStation(const StationSettings& settings) {
  m_tellRigProblem = settings.rig.configured();
  m_tellRotatorProblem = settings.rotator.configured();
}

bool LogForm::showStation(const StationReading& reading, const StationSettings& settings) {
  showRig(reading.rig, settings);
  showRotator(reading.rotator);
  return takeRigMode(reading.rig);
}

// A device not answering shows so in its field, and just after it was set up its problem is
// told once; true when it answers, and its field is then the caller's to write.
bool LogForm::showLinkState(Field& field, LinkState state, const std::string& problem,
                            bool& tellProblem) {
  switch (state) {
    case LinkState::Off:
      field.clear();
      return false;
    case LinkState::Lost:
      field.setText(kLost);
      if (std::exchange(tellProblem, false) && !problem.empty()) {
        tell(problem);
      }
      return false;
    case LinkState::Connected:
      break;
  }
  tellProblem = false;
  return true;
}

// A frequency outside the band logged is shown on yellow: the contact would be in another band.
void LogForm::showRig(const RigReading& rig, const StationSettings& settings) {
  m_frequencyHz = 0;
  frequencyField.setBackground(colors::white);
  if (!showLinkState(frequencyField, rig.state, rig.problem, m_tellRigProblem)) {
    return;
  }
  m_frequencyHz = onAirFrequency(settings, bandField.text(), rig.frequencyHz);
  frequencyField.setText(frequencyText(m_frequencyHz));
  if (outsideBand(bandField.text(), m_frequencyHz)) {
    frequencyField.setBackground(colors::yellow);
  }
}

// The rig's mode is picked as the operator would pick it, once each time it changes.
bool LogForm::takeRigMode(const RigReading& rig) {
  if (rig.state != LinkState::Connected || rig.mode == m_rigMode) {
    return false;
  }
  m_rigMode = rig.mode;
  if (findMode(rig.mode) == nullptr || modeList.text() == rig.mode) {
    return false;
  }
  modeList.pickText(rig.mode);
  return true;
}

void LogForm::showRotator(const RotatorReading& rotator) {
  m_rotatorAnswers =
      showLinkState(headingField, rotator.state, rotator.problem, m_tellRotatorProblem);
  if (m_rotatorAnswers) {
    m_heading = rotator.azimuth;
    const long degrees = std::lround(rotator.azimuth);
    headingField.setText(std::to_string(((degrees % 360) + 360) % 360));
  }
}

// The locator typed comes first; with none, the contact at the log's caret.
std::optional<int> LogForm::antennaTarget() {
  LogDocument& document = measuredDocument();
  std::string locator = locatorField.text();
  if (charCount(locator) != 6) {
    const auto contact = document.contactAt(document.lineAt(logBuffer().caret()));
    locator = contact ? contact->locator : std::string();
  }
  const auto course = document.courseTo(locator);
  return course ? std::optional<int>(course->bearing) : std::nullopt;
}

std::optional<double> LogForm::antennaHeading() const {
  return m_rotatorAnswers ? std::optional<double>(m_heading) : std::nullopt;
}

bool LogForm::turnAntennaTo(int bearing) {
  if (m_rotatorAnswers) {
    m_links.turnAntenna(bearing);
  }
  return m_rotatorAnswers;
}

void LogForm::turnAntenna() {
  if (!m_rotatorAnswers) {
    tell(kRotatorAbsent);
    return;
  }
  if (const auto bearing = antennaTarget()) {
    turnAntennaTo(*bearing);
  } else {
    tell("Scrivere un locatore valido, o scegliere un contatto nel LOG, per puntare l'antenna");
  }
}

}  // namespace vantor
