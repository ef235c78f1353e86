#include "app/session.h"

#include <cstdio>

#include "app/club_network.h"
#include "app/edi_export.h"
#include "app/journal.h"
#include "contest/contact_rules.h"
#include "geo/bearing_form.h"
#include "header/header_form.h"
#include "known/known_stations.h"
#include "log/contact_form.h"
#include "log/log_form.h"
#include "station/station_link.h"

namespace vantor {

void RecordedDialogs::showMessage(const Message& message) {
  m_session.recordBeforeBox();
  m_boxes.showMessage(message);
}

bool RecordedDialogs::ask(const std::string& question, Answer byDefault) {
  m_session.recordBeforeBox();
  return m_boxes.askYesNo(question, byDefault);
}

Session::Session(const Clock& clock, Dialogs& dialogs, Screens& screens)
    : m_clock(clock),
      m_boxes(dialogs),
      m_dialogs(*this, dialogs),
      m_screens(screens),
      m_header(std::make_unique<HeaderForm>(clock, m_dialogs, headerLinks())) {
  m_header->start();
}

namespace {

// A header date (DD/MM/YYYY) as a contact's date, or empty when it is none.
std::string contestDay(std::string_view headerDate) {
  std::string day = logDateFromStartDate(headerDate).value_or(std::string());
  return isRealDate(day) ? day : std::string();
}

}  // namespace

// The program's screen flow: what each choice on the header screen does to the log screen, where
// "Avanti -->" leads, and what the log screen's buttons and distances come from.
HeaderLinks Session::headerLinks() {
  return HeaderLinks{
      .offerSicilyDoubling = [this](bool offered) { log().offerSicilyDoubling(offered); },
      .askReceivedSerial = [this](bool asked) { log().askReceivedSerial(asked); },
      .applyBand =
          [this](const std::string& band, std::string_view code) {
            closeContact();
            log().logBand(band, code);
          },
      .changeContest = [this] { return changeContest(); },
      .proceed =
          [this](const std::string& homeLocator, const std::string& logDate) {
            bearing().setHomeLocator(homeLocator);
            log().proceed(logDate);
            showLog();
            log().focusCall();
          },
      .close = [this] { close(); },
  };
}

LogLinks Session::logLinks() {
  return LogLinks{
      .distanceTo = [this](const std::string& locator) { return bearing().distanceTo(locator); },
      .homeLocator = [this] { return bearing().homeLocatorField.text(); },
      .back = [this] { showHeader(); },
      .close = [this] { close(); },
      .exportLog = [this] { exportEdi(*this); },
      .correctContact = [this](const Contact& contact) { correctContact(contact); },
      .offeredBands = [this] { return header().bandList.items(); },
      .pickBand = [this](const std::string& band) { header().bandList.pickText(band); },
      .turnAntenna =
          [this](int bearing) {
            if (m_station) {
              m_station->turnTo(bearing);
            }
          },
      .stopAntenna =
          [this] {
            if (m_station) {
              m_station->stopRotator();
            }
          },
      .contestDays =
          [this] {
            return ContestDays{contestDay(header().startDateField.text()),
                               contestDay(header().endDateField.text())};
          },
      .knownCalls =
          [this](const std::string& fragment, std::size_t limit) {
            return m_known ? m_known->callsHolding(fragment, limit) : std::vector<std::string>();
          },
      .knownLocators =
          [this](const std::string& call) {
            std::vector<std::string> locators;
            if (m_known) {
              for (KnownLocator& known : m_known->locatorsOf(call)) {
                locators.push_back(std::move(known.locator));
              }
            }
            return locators;
          },
  };
}

void Session::keepKnownStations(const KnownPlaces& places) {
  m_known = std::make_unique<KnownStations>(places);
}

void Session::startKnownStations() {
  if (m_known) {
    const DateTime now = m_clock.utcNow();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day,
                  now.hour, now.minute, now.second);
    m_known->start(stamp);
  }
}

void Session::learnStations(const std::filesystem::path& file) {
  if (m_known) {
    m_known->learnEdiFile(file);
  }
}

ContactLinks Session::contactLinks() {
  return ContactLinks{
      .courseTo = [this](std::string_view locator) { return log().document().courseTo(locator); },
      .apply =
          [this](const ContactCorrection& correction) {
            bool applied = false;
            apply([&] { applied = log().correct(correction); });
            return applied;
          },
      .remove = [this](ContactId id) { apply([&] { log().removeContact(id); }); },
      .close = [this] { closeContact(); },
  };
}

Session::~Session() = default;

HeaderForm& Session::header() {
  return *m_header;
}

LogForm& Session::log() {
  if (!m_log) {
    m_log = std::make_unique<LogForm>(m_clock, m_dialogs, logLinks());
  }
  return *m_log;
}

BearingForm& Session::bearing() {
  if (!m_bearing) {
    m_bearing = std::make_unique<BearingForm>(m_dialogs, [this] { closeBearing(); });
  }
  return *m_bearing;
}

void Session::showLog() {
  static_cast<void>(log());
  m_logShown = true;
  m_screens.showLog();
}

void Session::showHeader() {
  m_screens.showHeader();
}

void Session::correctContact(const Contact& contact) {
  ClubStation* club = m_network ? m_network->club() : nullptr;
  if (const std::string owner = club ? club->ownerOf(log().band(), contact.id) : std::string();
      !owner.empty()) {
    m_dialogs.showMessage(Message{ownedElsewhere(contact.call, owner, "correggerlo o eliminarlo")});
    return;
  }
  closeContact();
  m_contact = std::make_unique<ContactForm>(m_dialogs, contact, log().serialReceivedField.visible(),
                                            contactLinks());
  // The view lets the window of the screen closed before go first, then the screen goes.
  m_screens.showContact();
  m_closedContact.reset();
}

void Session::closeContact() {
  if (m_contact) {
    m_screens.closeContact();
    m_closedContact = std::move(m_contact);
  }
}

void Session::configureStation(const StationSettings& settings, bool tell) {
  m_stationSettings = settings;
  if (!m_station && (settings.rig.configured() || settings.rotator.configured())) {
    m_station = std::make_unique<StationLink>();
  }
  if (m_station) {
    m_station->configure(settings);
  }
  if (tell) {
    log().expectStation(settings);
  }
}

void Session::pollStation() {
  if (m_log && m_station && !m_ended &&
      m_log->showStation(m_station->reading(), m_stationSettings)) {
    recordBeforeBox();
  }
}

void Session::apply(const std::function<void()>& change) {
  change();
  recordBeforeBox();
  m_screens.syncViews();
}

bool Session::close() {
  if (m_ended) {
    return true;
  }
  if (m_log && m_log->hasUnsavedContacts() &&
      !m_dialogs.askYesNo(
          "Il LOG contiene contatti non salvati in un file EDI. Uscire comunque?")) {
    return false;
  }
  // The forms stay alive until the session ends, so a window that is still handling the event
  // that closed it never reaches a destroyed field.
  m_ended = true;
  if (m_journal != nullptr) {
    m_journal->finish();
  }
  m_screens.closeAll();
  return true;
}

bool Session::changeContest() {
  if (!m_log || !m_log->holdsContacts()) {
    return true;
  }
  if (!m_dialogs.askYesNo("Il LOG contiene contatti: cambiare contest?")) {
    return false;
  }
  closeContact();
  if (m_journal != nullptr) {
    m_journal->setContestAside();
  }
  m_log->startNewContest();
  m_recordTallies.clear();
  return true;
}

bool Session::recordChanges() {
  if (m_ended) {
    return false;
  }
  if (m_network) {
    m_network->takeOperatorChanges();
  }
  if (m_journal != nullptr) {
    m_journal->record();
  }
  if (m_network) {
    m_network->send();
  }
  return m_journal != nullptr && m_journal->hasPending();
}

void Session::configureNetwork(const NetworkSettings& settings, std::function<void()> wakeUp) {
  if (m_network && m_network->settings() == settings) {
    return;
  }
  m_network.reset();
  if (!settings.station.empty()) {
    m_network = std::make_unique<ClubNetwork>(*this, m_networkFolder, settings, std::move(wakeUp));
  }
}

void Session::pollNetwork() {
  if (m_network && !m_ended) {
    m_network->poll();
  }
}

void Session::syncRecordedChanges() {
  if (m_journal != nullptr) {
    m_journal->syncPending();
  }
}

void Session::recordBeforeBox() {
  recordChanges();
  syncRecordedChanges();
}

void Session::closeBearing() {
  m_bearing.reset();
}

}  // namespace vantor
