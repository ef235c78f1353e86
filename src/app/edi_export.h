#pragma once

namespace vantor {

class Session;

// "Genera EDI": builds the EDI text from the header and log screens, saves it into the program
// folder and shows where. A date that cannot be converted or a file that cannot be written is
// reported in a box, and the save message says that the log was not saved; the log buffer keeps
// its contacts.
void exportEdi(Session& session);

}  // namespace vantor
