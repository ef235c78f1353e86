#pragma once

namespace vantor::platform {

// Large blocks (the log and the copies made of it on the way to the disk or to the screen, each
// megabytes long at 100,000 contacts) are mapped apart and handed back to the system when freed.
// The C library otherwise raises its bar for that whenever such a block is freed; later ones then
// come from the common heap, and what they leave when freed stays counted in the program's memory.
// A reopened 100,000-contact log peaked at 80 MiB that way instead of 62. Called first thing by
// the program and by its benchmarks, so both run alike.
void keepLargeBlocksApart();

}  // namespace vantor::platform
