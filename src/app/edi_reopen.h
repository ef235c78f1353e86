#pragma once

#include <filesystem>
#include <span>

namespace vantor {

class Session;

// Opens the log of an EDI file, as "vantor FILE.edi" does at start-up: the header screen takes
// the station and contest data (the contest, band and category picked as the operator picks
// them), the log screen the contacts, the statistics and the next serial number, and then the
// program goes on as "Avanti -->" does. A file that cannot be read or is no EDI file is reported
// in a box; one with lines the program cannot place asks first, naming them. Nothing changes
// before the operator agreed.
//
// Several files are the logs of one station in one contest, one band each: the first is opened as
// a file alone is, each other into the log of its band, and the first file's band is shown. They
// are all read and checked first, and one that cannot be read, is of another station or contest,
// of a band the contest does not have or of the band of another file opens none of them.
void reopenEdi(Session& session, std::span<const std::filesystem::path> paths);
inline void reopenEdi(Session& session, const std::filesystem::path& path) {
  reopenEdi(session, std::span(&path, 1));
}

}  // namespace vantor
