#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "contest/call_index.h"
#include "contest/contact.h"
#include "contest/contact_minutes.h"
#include "contest/log_line.h"
#include "contest/score.h"
#include "form/field.h"
#include "geo/locator.h"

namespace vantor {

// A log's statistics as the screen shows them and the file claims them; every text empty while
// the log holds no contact.
struct Statistics {
  std::size_t contacts = 0;
  double points = 0;
  std::string total;
  std::string average;
  std::string odxCall;
  std::string odxLocator;
  std::string odxDistance;
  // The squares the contacts are in.
  std::size_t squares = 0;
};

// A band log: the log buffer's text as lines, each line that has the QSO record's shape a contact
// with its identity. The text stays the operator's (a line that is no record stays as it is
// typed); the document reads each change of it into its lines, the call index and the score, and
// then tells its one listener. Every change the program makes to the log goes through it.
class LogDocument {
 public:
  explicit LogDocument(Field& buffer);
  LogDocument(const LogDocument&) = delete;
  LogDocument& operator=(const LogDocument&) = delete;

  // What runs after each change of the log, once the lines, the index and the score follow it.
  void onChange(std::function<void()> listener) { m_listener = std::move(listener); }
  // Contacts are measured from this locator; a new one has them all measured again when next
  // asked.
  void setHome(std::string_view locator);

  // The course from the home locator to a valid locator.
  [[nodiscard]] std::optional<Course> courseTo(std::string_view locator) const;
  // The lines, the last one the text behind the last CR LF (empty when the text ends a line).
  [[nodiscard]] std::span<const LogLine> lines();
  // A line's text without its line end.
  [[nodiscard]] std::string_view lineText(std::size_t line);
  // The line the byte at `offset` stands in.
  [[nodiscard]] std::size_t lineAt(std::size_t offset);
  [[nodiscard]] std::optional<std::size_t> lineOf(ContactId id);
  // The record of a line with its identity; nothing for a line that is no record.
  [[nodiscard]] std::optional<Contact> contactAt(std::size_t line);
  // The lines of the records of a call, compared as normalizedCall, in the log's order.
  [[nodiscard]] std::vector<std::size_t> recordsOf(std::string_view call);

  [[nodiscard]] const CallIndex& calls();
  [[nodiscard]] const Score& score();
  [[nodiscard]] Statistics statistics();
  // Whether a contact in `locator` would be the first of its square in the log: a valid locator
  // whose square no contact is in yet.
  [[nodiscard]] bool opensSquare(std::string_view locator);
  // The contacts whose records give a moment in the `minutes` minutes that end with the minute
  // `now` (see minuteOf), that one included.
  [[nodiscard]] std::size_t contactsWithin(std::int64_t now, int minutes);

  // Adds the contact's record on a line of its own at the end, keeping its frequency; its
  // identity.
  ContactId append(const Contact& contact);
  // Puts the contact's record on a line of its own before the line `line` (at the end when it is
  // the last, the text behind the last line end); its identity.
  ContactId insert(std::size_t line, const Contact& contact);
  // Writes the record's line anew; the contact keeps its identity.
  void rewrite(std::size_t line, const Contact& contact);
  // Takes the line out with its line end.
  void remove(std::size_t line);
  // The records of `call` as a correction leaves them: the first in the log is the contact, worth
  // `pointsOf(contact)` when it was a duplicate, and every later one a duplicate.
  void markDuplicates(std::string_view call,
                      const std::function<std::string(const Contact&)>& pointsOf);
  // The records' new-square marks made right: the first contact of each square in the log's order
  // carries kNewSquareMark, every other record nothing. Only the lines whose mark is wrong are
  // written, known from their LogLine; those near each other in one change. Only the lines from
  // the byte `from` on are the log's records (those before are an earlier export's header).
  void markNewSquares(std::size_t from = 0);

 private:
  struct Region;

  void follow();
  void ensureCurrent();
  void rebuild();
  void rebuildKeepingIdentities(const Field::Change& change);
  void remeasure();
  void followChange(const Field::Change& change);
  [[nodiscard]] Region touchedRegion(const Field::Change& change) const;
  void replaceLines(std::size_t first, std::size_t count, const std::vector<LogLine>& added);
  [[nodiscard]] std::size_t lineHolding(std::size_t offset) const;
  [[nodiscard]] std::size_t startOf(std::size_t line) const;
  void settleShift();
  void countOut(std::string_view oldText);
  void countMinute(const QsoFields& fields, int step);
  void addSquareMark(std::vector<TextEdit>& edits, std::size_t line, bool opens,
                     std::size_t widest);
  void readRegion(std::vector<LogLine>& lines, std::string_view text, std::size_t start,
                  bool lastLine);
  static void keepIdentities(std::span<const LogLine> removed,
                             const std::vector<std::string_view>& removedTexts,
                             std::span<LogLine> added,
                             const std::vector<std::string_view>& addedTexts);
  [[nodiscard]] LogLine readLine(std::string_view line, std::size_t start);
  [[nodiscard]] std::int32_t distanceOf(std::string_view locator);
  [[nodiscard]] std::int32_t distanceFromHome(std::string_view locator) const;

  Field& m_buffer;
  std::function<void()> m_listener;
  std::vector<LogLine> m_lines;
  CallIndex m_calls;
  Score m_score;
  ContactMinutes m_minutes;
  std::string m_home;
  bool m_homeSet = false;
  // The home changed since the lines were measured.
  bool m_remeasure = false;
  std::optional<GeoPoint> m_homePoint;
  // Distances by locator (its bytes as one number).
  std::unordered_map<std::uint64_t, std::int32_t> m_measured;
  // The buffer's rewrites the lines were read at: a change they did not follow (a journal
  // restore) has them read again when next asked.
  std::optional<std::uint64_t> m_readAt;
  ContactId m_lastId = 0;
  // The rig's frequency of each contact logged with one, by identity (identities are never
  // reused, so a record taken out leaves nothing that could name another).
  std::unordered_map<ContactId, std::int64_t> m_frequencies;
  // The lines from `m_shiftFrom` on start `m_shift` bytes later than they say (modulo 2^64, so a
  // text that shrank moves them back).
  static constexpr std::size_t kNoShift = std::numeric_limits<std::size_t>::max();
  std::size_t m_shiftFrom = kNoShift;
  std::size_t m_shift = 0;
  // The line of the contact read last: a correction finds the contact it opened there at once.
  std::size_t m_lastRead = 0;
};

}  // namespace vantor
