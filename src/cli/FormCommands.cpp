// template application, form fill application (on the form writer).
#include "cli/Session.h"

namespace xinghe::cli {

void addFormCommands(CLI::App&, Session&) {}

}  // namespace xinghe::cli
