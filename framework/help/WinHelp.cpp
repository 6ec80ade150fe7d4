#include "WinHelp.h"

// Placeholder until the help engine exists: every request succeeds and shows nothing.
bool WinHelp(QWidget*, const char*, unsigned int, unsigned long) {
    return true;
}
