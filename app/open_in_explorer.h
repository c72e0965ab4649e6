// The file manager started on a folder or a web address, for Explore and
// About's link alike.
#pragma once

#include <string>

#include "platform/notifier.h"
#include "platform/shell_launcher.h"

namespace tavrel {

// Starts "explorer.exe" with `target` as its one quoted argument and returns
// at once; a launch that fails is reported with the stop icon.
void openInExplorer(ShellLauncher& shell, Notifier& notifier, const std::string& target, ShowStyle style);

}  // namespace tavrel
