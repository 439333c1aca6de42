// The application title (UTF-8): the text of the taskbar button, the title
// of the wizard's questions and the caption of a problem report without a title of
// its own. "Setuvane" at start; the settings of the package replace it.
#pragma once

#include <functional>
#include <string>

namespace setuvane {

const std::string& ApplicationTitle();

// Sets the title and tells the listener (the main window, which shows it).
void SetApplicationTitle(std::string title);

// The one listener; an empty function removes it.
void SetApplicationTitleListener(std::function<void(const std::string&)> listener);

}  // namespace setuvane
