// What CreateListButton does: asks where to save the list of the folder that
// the folder browser shows, writes it and reports the outcome in the status.
#pragma once

#include <string>

namespace listing {

void CreateListCommand();

// The text after the last "." of the path's last component, up to a double
// quote; empty when that component has no ".". Letter case is kept.
std::string ExtensionOf(const std::string& path);

} // namespace listing
