// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The help file of a program is named after its executable. Only the file name
// is looked at, never the folders: an extension (the part from the name's last
// '.', when that '.' is not among the name's leading dots) is replaced by
// ".HLP", and a name without one gets ".HLP" appended. Folders are separated
// by '/'.
//   /opt/tarvin-1.0/bin/tarvin  ->  /opt/tarvin-1.0/bin/tarvin.HLP
//   /x/prog.exe                 ->  /x/prog.HLP
std::string HelpFilePathFor(std::string_view executablePath);
