#include "contest/log_document.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include "contest/contact_rules.h"
#include "contest/contact_time.h"
#include "form/text.h"

namespace vantor {

namespace {

// A record line holds at least its date, its time and the separators of its fields.
constexpr std::size_t kShortestRecord = 6 + 4 + (kQsoRecordFieldCount - 1);
// Touched lines beyond this many keep their identities by their place alone.
constexpr std::size_t kMostMatchedLines = 64;
// The locators whose distance a log keeps: some 300 KB.
constexpr std::size_t kMostMeasuredLocators = 4096;
// The most bytes one change of the new-square marks spans: a log of old marks wrong on every line
// is made right in a few hundred changes, not in one for each of its lines, each of which would
// move the text behind it.
constexpr std::size_t kWidestMarkChange = 16 * 1024;

bool endsLine(std::string_view text, std::size_t end) {
  return end >= kLineEnd.size() && text.substr(end - kLineEnd.size(), kLineEnd.size()) == kLineEnd;
}

std::uint16_t hashOf(std::string_view normalized) {
  return static_cast<std::uint16_t>(std::hash<std::string_view>{}(normalized));
}

// Calls `visit(line, start)` for each line of a region that starts a line: every line ended by
// CR LF, and the text behind the last one when the region runs to the end of the log.
template <typename Visit>
void forEachRegionLine(std::string_view region, bool lastLine, Visit visit) {
  std::size_t from = 0;
  for (auto end = region.find(kLineEnd); end != std::string_view::npos;
       end = region.find(kLineEnd, from)) {
    visit(region.substr(from, end - from), from);
    from = end + kLineEnd.size();
  }
  if (lastLine) {
    visit(region.substr(from), from);
  }
}

// The factor "Auto x2 Sicilia" gave a contact's points over its distance: 4 or 2 when the points
// are that many times the distance, else 1.
double appliedFactor(std::int32_t distance, std::string_view points) {
  for (const double factor : {4.0, 2.0}) {
    if (distance >= 0 && formatNumber(distance * factor) == points) {
      return factor;
    }
  }
  return 1;
}

// A record's line without its line end.
std::string recordText(const Contact& contact) {
  std::string record = contact.line();
  record.resize(record.size() - kLineEnd.size());
  return record;
}

SquareMark squareMarkOf(std::string_view field) {
  if (field.empty()) {
    return SquareMark::None;
  }
  return field == kNewSquareMark ? SquareMark::New : SquareMark::Other;
}

std::vector<std::string_view> linesOf(std::string_view region, bool lastLine) {
  std::vector<std::string_view> lines;
  forEachRegionLine(region, lastLine,
                    [&lines](std::string_view line, std::size_t) { lines.push_back(line); });
  return lines;
}

}  // namespace

// The old lines a change touched, [first, last], and where they ended before and end now.
struct LogDocument::Region {
  std::size_t first = 0;
  std::size_t last = 0;
  std::size_t start = 0;
  std::size_t newEnd = 0;
  bool lastLine = false;
};

LogDocument::LogDocument(Field& buffer) : m_buffer(buffer) {
  m_buffer.onChange([this] {
    follow();
    if (m_listener) {
      m_listener();
    }
  });
}

void LogDocument::setHome(std::string_view locator) {
  if (m_homeSet && locator == m_home) {
    return;
  }
  m_homeSet = true;
  m_home = locator;
  m_homePoint.reset();
  m_measured.clear();
  if (isValidLocator(m_home)) {
    m_homePoint = locatorToPoint(preparedLocator(m_home));
  }
  m_remeasure = true;
}

std::span<const LogLine> LogDocument::lines() {
  ensureCurrent();
  settleShift();
  return m_lines;
}

std::string_view LogDocument::lineText(std::size_t line) {
  ensureCurrent();
  const std::string_view text = m_buffer.text();
  const std::size_t start = startOf(line);
  const std::size_t end =
      line + 1 < m_lines.size() ? startOf(line + 1) - kLineEnd.size() : text.size();
  return text.substr(start, end - start);
}

std::size_t LogDocument::lineAt(std::size_t offset) {
  ensureCurrent();
  return lineHolding(offset);
}

// The last line starting at or before `offset`.
std::size_t LogDocument::lineHolding(std::size_t offset) const {
  std::size_t low = 0;
  std::size_t high = m_lines.size();
  while (high - low > 1) {
    const std::size_t middle = low + (high - low) / 2;
    (startOf(middle) <= offset ? low : high) = middle;
  }
  return low;
}

std::size_t LogDocument::startOf(std::size_t line) const {
  return m_lines[line].start + (line >= m_shiftFrom ? m_shift : 0);
}

// The lines behind the last change take the move it left pending.
void LogDocument::settleShift() {
  for (std::size_t line = m_shiftFrom; line < m_lines.size(); ++line) {
    m_lines[line].start += m_shift;
  }
  m_shiftFrom = kNoShift;
  m_shift = 0;
}

std::optional<std::size_t> LogDocument::lineOf(ContactId id) {
  ensureCurrent();
  if (id != 0 && m_lastRead < m_lines.size() && m_lines[m_lastRead].id == id) {
    return m_lastRead;
  }
  const auto found = std::find_if(m_lines.begin(), m_lines.end(),
                                  [id](const LogLine& line) { return line.id == id; });
  if (id == 0 || found == m_lines.end()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(found - m_lines.begin());
}

std::optional<Contact> LogDocument::contactAt(std::size_t line) {
  ensureCurrent();
  if (line >= m_lines.size() || !m_lines[line].isRecord()) {
    return std::nullopt;
  }
  auto contact = Contact::read(lineText(line));
  contact->id = m_lines[line].id;
  m_lastRead = line;
  contact->sicilyFactor = appliedFactor(m_lines[line].distance, contact->points);
  if (const auto frequency = m_frequencies.find(contact->id); frequency != m_frequencies.end()) {
    contact->frequencyHz = frequency->second;
  }
  return contact;
}

std::vector<std::size_t> LogDocument::recordsOf(std::string_view call) {
  ensureCurrent();
  const std::string normalized = normalizedCall(call);
  const std::uint16_t hash = hashOf(normalized);
  std::vector<std::size_t> found;
  for (std::size_t line = 0; line < m_lines.size(); ++line) {
    if (m_lines[line].isRecord() && m_lines[line].callHash == hash &&
        normalizedCall(contactAt(line)->call) == normalized) {
      found.push_back(line);
    }
  }
  return found;
}

const CallIndex& LogDocument::calls() {
  ensureCurrent();
  return m_calls;
}

const Score& LogDocument::score() {
  ensureCurrent();
  return m_score;
}

Statistics LogDocument::statistics() {
  ensureCurrent();
  Statistics statistics;
  statistics.contacts = m_score.contacts();
  statistics.points = m_score.points(m_lines);
  statistics.squares = m_score.squares();
  if (statistics.contacts == 0) {
    return statistics;
  }
  statistics.total = formatNumber(statistics.points);
  statistics.average = formatNumber(*m_score.average(m_lines));
  if (const auto odx = m_score.odxLine()) {
    const auto fields = readQsoRecord(lineText(*odx));
    statistics.odxCall = (*fields)[qso::call];
    statistics.odxLocator = (*fields)[qso::locator];
    statistics.odxDistance = formatNumber(m_lines[*odx].distance);
  }
  return statistics;
}

bool LogDocument::opensSquare(std::string_view locator) {
  const auto square = squareOf(locator);
  return square && !score().worked(*square);
}

std::size_t LogDocument::contactsWithin(std::int64_t now, int minutes) {
  ensureCurrent();
  return m_minutes.within(now, minutes);
}

ContactId LogDocument::append(const Contact& contact) {
  const std::string& text = m_buffer.text();
  std::string line = contact.line();
  if (!text.empty() && !text.ends_with(kLineEnd)) {
    line.insert(0, kLineEnd);
  }
  m_buffer.append(line);
  ensureCurrent();
  const ContactId id = m_lines[m_lines.size() - 2].id;
  if (contact.frequencyHz != 0) {
    m_frequencies[id] = contact.frequencyHz;
  }
  return id;
}

ContactId LogDocument::insert(std::size_t line, const Contact& contact) {
  ensureCurrent();
  if (line + 1 >= m_lines.size()) {
    return append(contact);
  }
  const TextEdit edit{startOf(line), 0, contact.line()};
  m_buffer.applyEdits({&edit, 1});
  ensureCurrent();
  const ContactId id = m_lines[line].id;
  if (contact.frequencyHz != 0) {
    m_frequencies[id] = contact.frequencyHz;
  }
  return id;
}

void LogDocument::rewrite(std::size_t line, const Contact& contact) {
  const TextEdit edit{startOf(line), lineText(line).size(), recordText(contact)};
  m_buffer.applyEdits({&edit, 1});
}

void LogDocument::remove(std::size_t line) {
  ensureCurrent();
  const std::size_t start = startOf(line);
  const std::size_t end = line + 1 < m_lines.size() ? startOf(line + 1) : m_buffer.text().size();
  const TextEdit edit{start, end - start, {}};
  m_buffer.applyEdits({&edit, 1});
}

void LogDocument::markDuplicates(std::string_view call,
                                 const std::function<std::string(const Contact&)>& pointsOf) {
  const std::vector<std::size_t> records = recordsOf(call);
  for (std::size_t index = 0; index < records.size(); ++index) {
    const bool duplicate = index > 0;
    Contact contact = *contactAt(records[index]);
    if (contact.isDuplicate() != duplicate) {
      contact.markDuplicate(duplicate, duplicate ? std::string() : pointsOf(contact));
      rewrite(records[index], contact);
    }
  }
}

void LogDocument::markNewSquares(std::size_t from) {
  ensureCurrent();
  // Changes of up to a quarter of the text each: a change of most of it would be read as a new
  // text, whose records would take new identities.
  const std::size_t widest = std::min(kWidestMarkChange, m_buffer.text().size() / 4);
  std::vector<bool> worked(kSquareCount);
  std::vector<TextEdit> edits;
  for (std::size_t line = lineAt(from); line < m_lines.size(); ++line) {
    const LogLine& at = m_lines[line];
    const bool opens = at.isContact() && at.square != kNoSquare && !worked[at.square];
    if (opens) {
      worked[at.square] = true;
    }
    if (at.isRecord() && at.squareMark != (opens ? SquareMark::New : SquareMark::None)) {
      addSquareMark(edits, line, opens, widest);
    }
  }
  m_buffer.applyEdits(edits);
}

// The record of `line` with its mark made right, joined to the last edit, with the lines between
// as they stand, while that edit spans at most `widest` bytes.
void LogDocument::addSquareMark(std::vector<TextEdit>& edits, std::size_t line, bool opens,
                                std::size_t widest) {
  Contact contact = *contactAt(line);
  contact.newSquare = std::string(opens ? kNewSquareMark : "");
  const std::size_t start = startOf(line);
  const std::size_t end = start + lineText(line).size();
  if (edits.empty() || end - edits.back().at > widest) {
    edits.push_back({start, end - start, recordText(contact)});
    return;
  }
  TextEdit& last = edits.back();
  const std::size_t lastEnd = last.at + last.removed;
  last.inserted.append(m_buffer.text(), lastEnd, start - lastEnd);
  last.inserted += recordText(contact);
  last.removed = end - last.at;
}

void LogDocument::follow() {
  const Field::Change& change = m_buffer.lastChange();
  if (m_readAt != change.rewritesBefore || !change.removedKept) {
    rebuild();
    return;
  }
  // A change of most of the text is read as a new text, with the index sized for it at once.
  if (change.inserted > m_buffer.text().size() / 2 + kShortestRecord) {
    rebuildKeepingIdentities(change);
    return;
  }
  followChange(change);
  m_readAt = m_buffer.rewrites();
}

void LogDocument::ensureCurrent() {
  if (m_readAt != m_buffer.rewrites()) {
    rebuild();
  } else if (m_remeasure) {
    remeasure();
  }
}

// The home changed: each record is measured again from it, its line and identity kept.
void LogDocument::remeasure() {
  m_remeasure = false;
  for (std::size_t line = 0; line < m_lines.size(); ++line) {
    if (m_lines[line].isRecord() && !m_lines[line].duplicate) {
      const auto fields = readQsoRecord(lineText(line));
      m_lines[line].distance = distanceOf((*fields)[qso::locator]);
    }
  }
  m_score.reset(m_lines);
}

void LogDocument::rebuild() {
  const std::string_view text = m_buffer.text();
  const auto lineEnds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  m_calls.clear(std::min(lineEnds + 1, text.size() / kShortestRecord + 1));
  m_minutes.clear();
  m_lines.clear();
  m_lines.shrink_to_fit();
  m_lines.reserve(lineEnds + 1);
  readRegion(m_lines, text, 0, true);
  m_shiftFrom = kNoShift;
  m_shift = 0;
  m_score.reset(m_lines);
  m_readAt = m_buffer.rewrites();
  m_remeasure = false;
}

// The records keep their identities as a change of a few lines would keep them: a line left as
// it stood, or each line of a text that kept its number of lines (the marks of a short log).
void LogDocument::rebuildKeepingIdentities(const Field::Change& change) {
  const std::string_view text = m_buffer.text();
  std::string oldText(text.substr(0, change.at));
  oldText += change.removed;
  oldText += text.substr(change.at + change.inserted);
  const std::vector<LogLine> old = std::move(m_lines);
  rebuild();
  keepIdentities(old, linesOf(oldText, true), m_lines, linesOf(text, true));
}

// The touched lines are read again: their records leave the index and the score, those of the
// lines standing there now enter them, and the lines behind move by what the change added.
void LogDocument::followChange(const Field::Change& change) {
  const std::string_view text = m_buffer.text();
  const Region region = touchedRegion(change);
  const std::string_view newText = text.substr(region.start, region.newEnd - region.start);
  std::vector<LogLine> added;
  readRegion(added, newText, region.start, region.lastLine);
  const auto first = m_lines.begin() + static_cast<std::ptrdiff_t>(region.first);
  const auto last = m_lines.begin() + static_cast<std::ptrdiff_t>(region.last) + 1;
  const std::size_t removedCount = region.last + 1 - region.first;
  std::vector<LogLine> removed;
  // Lines that held no record (the empty last line an insertion writes behind) leave nothing.
  if (std::any_of(first, last, [](const LogLine& line) { return line.isRecord(); })) {
    removed.assign(first, last);
    const std::size_t changeEnd = change.at + change.inserted;
    std::string oldText(text.substr(region.start, change.at - region.start));
    oldText += change.removed;
    oldText += text.substr(changeEnd, region.newEnd - changeEnd);
    countOut(oldText);
    keepIdentities(removed, linesOf(oldText, region.lastLine), added,
                   linesOf(newText, region.lastLine));
  }
  // The move of the lines behind stays pending while the changes follow each other in one line,
  // as typing does: the lines of a long log are not all moved for each key.
  const bool continues = m_shiftFrom == region.last + 1;
  if (!continues) {
    settleShift();
  }
  replaceLines(region.first, removedCount, added);
  m_shiftFrom = region.first + added.size();
  m_shift += change.inserted - change.removed.size();
  m_score.replace(m_lines, region.first, removed, removedCount, added.size());
}

// The lines behind move only when the count of lines changed, once.
void LogDocument::replaceLines(std::size_t first, std::size_t count,
                               const std::vector<LogLine>& added) {
  const auto at = m_lines.begin() + static_cast<std::ptrdiff_t>(first);
  const std::size_t kept = std::min(count, added.size());
  std::copy_n(added.begin(), kept, at);
  if (added.size() > count) {
    m_lines.insert(at + static_cast<std::ptrdiff_t>(kept),
                   added.begin() + static_cast<std::ptrdiff_t>(kept), added.end());
  } else {
    m_lines.erase(at + static_cast<std::ptrdiff_t>(kept), at + static_cast<std::ptrdiff_t>(count));
  }
}

LogDocument::Region LogDocument::touchedRegion(const Field::Change& change) const {
  const std::string_view text = m_buffer.text();
  const std::size_t delta = change.inserted - change.removed.size();
  const std::size_t oldSize = text.size() - delta;
  const auto oldEnd = [this, oldSize](std::size_t line) {
    return line + 1 < m_lines.size() ? startOf(line + 1) : oldSize;
  };
  Region region{.first = lineHolding(change.at),
                .last = lineHolding(change.at + change.removed.size())};
  while (region.last + 1 < m_lines.size() && !endsLine(text, oldEnd(region.last) + delta)) {
    ++region.last;
  }
  region.start = startOf(region.first);
  region.newEnd = oldEnd(region.last) + delta;
  region.lastLine = region.last + 1 == m_lines.size();
  return region;
}

void LogDocument::countOut(std::string_view oldText) {
  forEachLine(oldText, [this](std::string_view line) {
    if (const auto fields = readQsoRecord(line)) {
      m_calls.count(normalizedCall((*fields)[qso::call]), -1);
      countMinute(*fields, -1);
    }
  });
}

// The contacts by minute count a record that is no duplicate and has a real date and time.
void LogDocument::countMinute(const QsoFields& fields, int step) {
  if (isDuplicateMark(fields[qso::duplicate])) {
    return;
  }
  if (const auto minute = recordMinute(fields[qso::date], fields[qso::time])) {
    m_minutes.count(*minute, step);
  }
}

void LogDocument::readRegion(std::vector<LogLine>& lines, std::string_view text, std::size_t start,
                             bool lastLine) {
  forEachRegionLine(text, lastLine, [&](std::string_view line, std::size_t at) {
    lines.push_back(readLine(line, start + at));
  });
}

// A record whose line stands unchanged among the touched ones keeps its identity, and so does
// each record of a change that replaced as many lines as it touched, place by place.
void LogDocument::keepIdentities(std::span<const LogLine> removed,
                                 const std::vector<std::string_view>& removedTexts,
                                 std::span<LogLine> added,
                                 const std::vector<std::string_view>& addedTexts) {
  std::vector<bool> kept(removed.size());
  std::vector<bool> matched(added.size());
  const bool fewLines = removed.size() <= kMostMatchedLines && added.size() <= kMostMatchedLines;
  for (std::size_t to = 0; fewLines && to < added.size(); ++to) {
    for (std::size_t from = 0; added[to].isRecord() && from < removed.size(); ++from) {
      if (!kept[from] && removed[from].isRecord() && removedTexts[from] == addedTexts[to]) {
        added[to].id = removed[from].id;
        kept[from] = matched[to] = true;
        break;
      }
    }
  }
  for (std::size_t at = 0; removed.size() == added.size() && at < added.size(); ++at) {
    if (!matched[at] && !kept[at] && added[at].isRecord() && removed[at].isRecord()) {
      added[at].id = removed[at].id;
    }
  }
}

LogLine LogDocument::readLine(std::string_view line, std::size_t start) {
  LogLine read{.start = start};
  const auto fields = readQsoRecord(line);
  if (!fields) {
    return read;
  }
  const std::string call = normalizedCall((*fields)[qso::call]);
  m_calls.count(call, 1);
  read.id = ++m_lastId;
  read.callHash = hashOf(call);
  read.duplicate = isDuplicateMark((*fields)[qso::duplicate]);
  read.points = numericValue((*fields)[qso::points]);
  read.distance = read.duplicate ? -1 : distanceOf((*fields)[qso::locator]);
  read.square = squareOf((*fields)[qso::locator]).value_or(kNoSquare);
  read.squareMark = squareMarkOf((*fields)[qso::newSquare]);
  countMinute(*fields, 1);
  return read;
}

std::optional<Course> LogDocument::courseTo(std::string_view locator) const {
  if (!m_homePoint || !isValidLocator(locator)) {
    return std::nullopt;
  }
  return courseBetween(*m_homePoint, locatorToPoint(preparedLocator(locator)));
}

// A log holds many contacts in the same few squares: a locator measured once is not measured
// again, up to kMostMeasuredLocators of them.
std::int32_t LogDocument::distanceOf(std::string_view locator) {
  if (!m_homePoint || locator.size() > sizeof(std::uint64_t)) {
    return m_homePoint ? distanceFromHome(locator) : -1;
  }
  std::uint64_t key = 0;
  std::memcpy(&key, locator.data(), locator.size());
  if (const auto known = m_measured.find(key); known != m_measured.end()) {
    return known->second;
  }
  const std::int32_t distance = distanceFromHome(locator);
  if (m_measured.size() < kMostMeasuredLocators) {
    m_measured.emplace(key, distance);
  }
  return distance;
}

std::int32_t LogDocument::distanceFromHome(std::string_view locator) const {
  const auto course = courseTo(locator);
  return course ? static_cast<std::int32_t>(countedDistance(course->distance)) : -1;
}

}  // namespace vantor
