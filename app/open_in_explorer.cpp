#include "app/open_in_explorer.h"

namespace tavrel {

void openInExplorer(ShellLauncher& shell, Notifier& notifier, const std::string& target, ShowStyle style) {
    if (std::string error = shell.launch("explorer.exe \"" + target + "\"", style); !error.empty())
        notifier.message("The file manager could not be started.\n" + error, Icon::Stop);
}

}  // namespace tavrel
