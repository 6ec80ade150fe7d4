// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Puts the framework's own accessible interfaces in front of the toolkit's:
// one-line edit fields (CAccessibleLineEdit) and announcers (CAnnouncer, as a
// notification). Once per process; later calls do nothing.
void InstallAccessibleFactory();
