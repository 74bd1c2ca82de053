#pragma once

namespace velmaro {

// The text velmaro-find prints for --help.
const char* FindHelpText();

} // namespace velmaro
