#pragma once

// The output rate a terminal is set to, as a number (TCGETS2), whether it was
// set by a B-constant or as a custom rate; -1 when it cannot be read.
long LineOutputSpeed(int fd);
