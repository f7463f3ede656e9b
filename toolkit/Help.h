// The program's help: a help file of topics shown in a help window.
#pragma once

#include <string>

namespace toolkit {

// Sets the help file whose topics HelpJump and HelpContext show. A bare file name is
// looked up beside the executable and in the installed program data.
void SetHelpFile(const std::string& fileName);
const std::string& HelpFile();

// Shows the topic with the identifier `topic`.
void HelpJump(const std::string& topic);
// Shows the topic with the help context number `context`.
void HelpContext(int context);

}  // namespace toolkit
