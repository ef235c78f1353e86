#pragma once

#include <filesystem>

namespace vantor {

class Session;

// Opens the log of an EDI file, as "vantor FILE.edi" does at start-up: the header screen takes
// the station and contest data (the contest, band and category picked as the operator picks
// them), the log screen the contacts, the statistics and the next serial number, and then the
// program goes on as "Avanti -->" does. A file that cannot be read or is no EDI file is reported
// in a box; one with lines the program cannot place asks first, naming them. Nothing changes
// before the operator agreed.
void reopenEdi(Session& session, const std::filesystem::path& path);

}  // namespace vantor
