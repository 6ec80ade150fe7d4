// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpFileName.h"

namespace {

constexpr std::string_view kHelpExtension = ".HLP";

// Position where the file name starts: just after the last '/', or 0.
std::size_t FileNameStart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// Position of the '.' that starts the extension of the file name, or npos.
// Leading dots belong to the name itself, so ".tarvin" has no extension.
std::size_t ExtensionStart(std::string_view fileName) {
    const std::size_t firstOther = fileName.find_first_not_of('.');
    if (firstOther == std::string_view::npos)
        return std::string_view::npos;
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos || dot < firstOther ? std::string_view::npos : dot;
}

} // namespace

std::string HelpFilePathFor(std::string_view executablePath) {
    const std::size_t nameStart = FileNameStart(executablePath);
    const std::size_t dot = ExtensionStart(executablePath.substr(nameStart));
    std::string helpPath(executablePath.substr(
        0, dot == std::string_view::npos ? executablePath.size() : nameStart + dot));
    helpPath += kHelpExtension;
    return helpPath;
}
